// 调试报告: gathers what the gateway answers through the window's exchange
// driver, has the core write the page and saves it as HTML or PDF.
#include "DeviceCommands.h"

#include "ExchangeDriver.h"
#include "FileChooser.h"
#include "QtMessageSink.h"

#include "model/GatewayCatalogue.h"
#include "model/ProjectFile.h"
#include "services/CommissioningReport.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

using namespace vantor;

namespace {

// Runs one exchange to its end on the GUI thread (the event loop keeps the
// window painting); `onEvent` may end it early. Returns its messages.
std::vector<Message> runToEnd(transfer::Exchange& exchange, const std::function<void()>& onEvent = {}) {
    std::vector<Message> messages;
    gui::ExchangeDriver driver(exchange);
    QEventLoop loop;
    QObject::connect(&driver, &gui::ExchangeDriver::message,
                     [&](const Message& m, bool) { messages.push_back(m); });
    QObject::connect(&driver, &gui::ExchangeDriver::finished, &loop, &QEventLoop::quit);
    if (onEvent)
        QObject::connect(&driver, &gui::ExchangeDriver::eventHandled, [&] {
            if (!driver.isFinished())
                onEvent();
        });
    driver.start();
    if (!driver.isFinished())
        loop.exec();
    return messages;
}

services::ReportDevice visitGateway(const model::CVantorDoc& doc) {
    services::ReportDevice device;
    device.host = doc.IP;
    if (!doc.hasMaster()) {
        device.failure = services::kReportNoGateway;
        return device;
    }
    const std::string& modelName = doc.modelName();
    {
        services::DeviceInfoExchange exchange(modelName, {doc.IP, doc.accessPort, std::nullopt});
        const auto messages = runToEnd(exchange);
        services::recordIdentity(device, exchange, messages);
    }
    if (!device.identified)
        return device;
    const auto* gateway = model::findGatewayModel(modelName);
    if (!gateway || !gateway->has(model::FeatureSlaveState)) {
        device.stateFailure = services::kReportNoStates;
        return device;
    }
    services::SlaveStateExchange exchange(modelName, {doc.IP, services::kModbusPort});
    const auto messages = runToEnd(exchange, [&] {
        if (exchange.cycles() >= 1)
            exchange.cancel();
    });
    services::recordStates(device, exchange, messages);
    return device;
}

bool savePdf(const QString& path, const QString& html) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle("调试报告");
        QTextDocument page;
        page.setHtml(html);
        page.print(&writer);
    }
    return file.commit();
}

} // namespace

void runReportCommand(QWidget* parent, const model::CVantorDoc& doc, const QString& projectPath) {
    const QFileInfo project(projectPath);
    const QString name = projectPath.isEmpty() ? QString("无标题") : project.fileName();
    const QString proposed = projectPath.isEmpty()
                                 ? QString("report.html")
                                 : project.dir().filePath(project.completeBaseName() + ".html");
    const QString path =
        gui::chooseSaveFile(parent, "调试报告", proposed, "HTML (*.html);;PDF (*.pdf)", "html");
    if (path.isEmpty())
        return;

    gui::QtMessageSink sink(parent);
    std::optional<services::ReportDevice> device;
    if (sink.question("调试报告", services::reportGatewayQuestion(doc.IP))) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        device = visitGateway(doc);
        QApplication::restoreOverrideCursor();
    }

    const std::string html = services::commissioningReport(
        doc, name.toStdString(), QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString(),
        device);
    if (path.endsWith(".pdf", Qt::CaseInsensitive)) {
        if (!savePdf(path, QString::fromStdString(html)))
            sink.error("写文件时产生错误");
        return;
    }
    std::string error;
    if (!model::writeFileAtomically(path.toStdString(), html, &error))
        sink.error(error);
}
