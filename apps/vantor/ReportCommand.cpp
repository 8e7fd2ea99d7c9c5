// 调试报告: gathers what the gateway answers through the window's exchange
// driver, has the core write the page and saves it as HTML or PDF.
#include "DeviceCommands.h"

#include "ExchangeDriver.h"
#include "FileChooser.h"
#include "QtMessageSink.h"
#include "QtText.h"

#include "common/AtomicFile.h"
#include "services/CommissioningReport.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTextDocument>

using namespace vantor;

namespace {

struct ReportCommand {
    Q_DECLARE_TR_FUNCTIONS(ReportCommand)
};

// Runs one exchange to its end on the GUI thread (the event loop keeps the
// window painting) as the report's exchange runner.
std::vector<Message> runInWindow(transfer::Exchange& exchange, const std::function<bool()>& done) {
    std::vector<Message> messages;
    gui::ExchangeDriver driver(exchange);
    QEventLoop loop;
    QObject::connect(&driver, &gui::ExchangeDriver::message,
                     [&](const Message& m, bool) { messages.push_back(m); });
    QObject::connect(&driver, &gui::ExchangeDriver::finished, &loop, &QEventLoop::quit);
    QObject::connect(&driver, &gui::ExchangeDriver::eventHandled, [&] {
        if (!driver.isFinished() && done())
            driver.cancel();
    });
    driver.start();
    if (!driver.isFinished())
        loop.exec();
    return messages;
}

// The page is laid out in memory and written like every other file: beside
// the target, then renamed over it.
bool savePdf(const QString& path, const QString& html, std::string* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(VT_DATA("调试报告"));
        QTextDocument page;
        page.setHtml(html);
        page.print(&writer);
    }
    const QByteArray& bytes = buffer.data();
    return writeFileAtomically(path.toStdString(), std::string_view(bytes.constData(), bytes.size()), error);
}

} // namespace

void runReportCommand(QWidget* parent, const model::CVantorDoc& doc, const QString& projectPath) {
    const QFileInfo project(projectPath);
    const QString name = projectPath.isEmpty() ? QString(VT_DATA("无标题")) : project.fileName();
    const QString proposed = projectPath.isEmpty()
                                 ? QString("report.html")
                                 : project.dir().filePath(project.completeBaseName() + ".html");
    const QString path = gui::chooseSaveFile(parent, ReportCommand::tr("调试报告"), proposed,
                                             "HTML (*.html);;PDF (*.pdf)", "html");
    if (path.isEmpty())
        return;

    gui::QtMessageSink sink(parent);
    if (!projectPath.isEmpty() && QFileInfo(path).canonicalFilePath() == project.canonicalFilePath()) {
        sink.error(services::kReportOverProject);
        return;
    }
    std::optional<services::ReportDevice> device;
    if (sink.question(ReportCommand::tr("调试报告").toStdString(), services::reportGatewayQuestion(doc.IP))) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        device = services::visitGateway(doc, {doc.IP, std::nullopt, services::kModbusPort}, runInWindow);
        QApplication::restoreOverrideCursor();
    }

    const std::string html = services::commissioningReport(
        doc, name.toStdString(), QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString(),
        device);
    if (path.endsWith(".pdf", Qt::CaseInsensitive)) {
        std::string error;
        if (!savePdf(path, QString::fromStdString(html), &error))
            sink.error(error);
        return;
    }
    std::string error;
    if (!writeFileAtomically(path.toStdString(), html, &error))
        sink.error(error);
}
