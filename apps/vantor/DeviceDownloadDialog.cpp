#include "DeviceDownloadDialog.h"

#include "AnimatedPicture.h"
#include "ConnectingBox.h"
#include "DeviceCommands.h"
#include "QtMessageSink.h"

#include "transfer/DownloadCommand.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace vantor;

DeviceDownloadDialog::DeviceDownloadDialog(QWidget* parent, const std::string& model,
                                           transfer::ConfigurationBlocks blocks,
                                           const transfer::DownloadSettings& settings)
    : DeviceDialog(parent) {
    setObjectName("dialog170");
    setWindowTitle(tr("配置下载"));
    // Requests: device state, RTU block, the chunks, restart.
    int frames = 3 + static_cast<int>(transfer::chunkCount(blocks.fieldbus.size()));
    if (blocks.hasEip)
        frames += static_cast<int>(transfer::chunkCount(blocks.eip.size()));
    exchange_ = std::make_unique<transfer::DownloadExchange>(model, std::move(blocks), settings);

    picture_ = new gui::AnimatedPicture(this);
    picture_->setObjectName("picture1016");
    picture_->loadFromFile(gui::busyAnimationPath());
    status_ = new QLabel(this);
    status_->setObjectName("status1020");
    status_->setMinimumWidth(320);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    progress_ = newProgressBar(frames);
    showStatusIn(status_);

    auto* ok = new QPushButton(tr("确定"), this);
    auto* cancel = new QPushButton(tr("取消"), this);
    auto* log = new QPushButton(tr("通信记录"), this);
    ok->setObjectName("okButton");
    cancel->setObjectName("cancelButton");
    log->setObjectName("wireLogButton");
    // The window closes itself with the result, so 确定 has nothing to
    // confirm; it would otherwise stop the download half-way without a word.
    // 取消 ends the window at any time; the gateway keeps what it has
    // received.
    ok->setEnabled(false);
    connect(cancel, &QPushButton::clicked, this, &DeviceDownloadDialog::reject);
    connect(log, &QPushButton::clicked, this, &DeviceDownloadDialog::showWireLog);

    auto* top = new QHBoxLayout;
    top->addWidget(picture_, 0, Qt::AlignVCenter);
    top->addSpacing(12);
    top->addWidget(status_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(log);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceDownloadDialog::start() {
    picture_->draw();
    runExchange(*exchange_, false);
    connect(driver(), &gui::ExchangeDriver::frameSent, this,
            [this] { progress_->setValue(std::min(progress_->maximum(), progress_->value() + 1)); });
}

int DeviceDownloadDialog::progressValue() const {
    return progress_->value();
}

int DeviceDownloadDialog::progressMaximum() const {
    return progress_->maximum();
}

void DeviceDownloadDialog::onExchangeFinished(bool success, const QString& resultText) {
    picture_->stop();
    DeviceDialog::onExchangeFinished(success, resultText);
}

void DeviceDownloadDialog::done(int result) {
    picture_->stop();
    DeviceDialog::done(result);
}

bool runDownloadDialog(QWidget* parent, const std::string& model, transfer::ConfigurationBlocks blocks,
                       const transfer::DownloadSettings& settings) {
    DeviceDownloadDialog dialog(parent, model, std::move(blocks), settings);
    QTimer::singleShot(0, &dialog, &DeviceDownloadDialog::start);
    dialog.exec();
    // The core's own text, not the one shown.
    const bool ok =
        dialog.succeeded() && dialog.driver()->result()->resultText == transfer::DownloadExchange::kDone;
    dialog.showOutcome(parent);
    return ok;
}

void runDownloadCommand(QWidget* parent, model::CVantorDoc& doc) {
    gui::QtMessageSink sink(parent);
    auto blocks = transfer::prepareDownload(doc, sink);
    if (!blocks)
        return;
    transfer::DownloadSettings settings;
    settings.host = doc.IP;
    settings.accessPort = doc.accessPort;
    settings.portOverride = accessPortOverride();
    runDownloadDialog(parent, doc.modelName(), std::move(*blocks), settings);
}
