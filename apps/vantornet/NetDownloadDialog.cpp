#include "NetDownloadDialog.h"

#include "AnimatedPicture.h"
#include "ConnectingBox.h"
#include "IpAddressEdit.h"
#include "QtMessageSink.h"

#include "net/NetCompiler.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vantor;
using Phase = net::NetDownloadExchange::Phase;

NetDownloadDialog::NetDownloadDialog(net::CVantorNetDoc& project, QWidget* parent)
    : DeviceDialog(parent), model_(project.modelName()), workMode_(project.GW_work_mode),
      revAllow_(&project.rev_allow) {
    setObjectName("netDownloadDialog");
    setWindowTitle(tr("配置下载"));
    gui::QtMessageSink sink(parent);
    images_ = net::compileNet(project, sink);

    ip_ = new gui::IpAddressEdit(QString::fromStdString(settings_.host), this);
    ip_->setObjectName("ip");
    port_ = new QLineEdit(QString::number(accessPortOverride().value_or(settings_.port)), this);
    port_->setObjectName("port");
    port_->setValidator(new QIntValidator(1, 65535, port_));
    port_->setMaximumWidth(90);
    connect_ = new QPushButton(tr("连接"), this);
    connect_->setObjectName("connectButton");
    download_ = new QPushButton(tr("下载"), this);
    download_->setObjectName("downloadButton");
    close_ = new QPushButton(tr("关闭"), this);
    close_->setObjectName("closeButton");
    auto* log = new QPushButton(tr("通信记录"), this);
    log->setObjectName("wireLogButton");
    progress_ = newProgressBar(100);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setMinimumWidth(260);
    // The line keeps its height while empty, so nothing moves as texts come.
    status_->setMinimumHeight(status_->fontMetrics().height());
    picture_ = new gui::AnimatedPicture(this);
    picture_->setObjectName("picture");
    picture_->loadFromFile(gui::busyAnimationPath());
    // Shown only while busy; its place is kept so nothing moves.
    QSizePolicy keepPlace = picture_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    picture_->setSizePolicy(keepPlace);
    picture_->hide();
    showStatusIn(status_);
    showProgressIn(progress_);

    connect(connect_, &QPushButton::clicked, this, &NetDownloadDialog::pressConnect);
    connect(download_, &QPushButton::clicked, this, &NetDownloadDialog::pressDownload);
    connect(close_, &QPushButton::clicked, this, &NetDownloadDialog::reject);
    connect(log, &QPushButton::clicked, this, &NetDownloadDialog::showWireLog);

    auto* address = new QGridLayout;
    address->addWidget(new QLabel(tr("设备IP:"), this), 0, 0);
    address->addWidget(ip_, 0, 1);
    address->addWidget(new QLabel(tr("端口:"), this), 1, 0);
    address->addWidget(port_, 1, 1, Qt::AlignLeft);
    auto* top = new QHBoxLayout;
    top->addLayout(address, 1);
    top->addSpacing(12);
    top->addWidget(picture_, 0, Qt::AlignCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(log);
    buttons->addStretch(1);
    buttons->addWidget(connect_);
    buttons->addWidget(download_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    refresh();
}

NetDownloadDialog::~NetDownloadDialog() = default;

int NetDownloadDialog::exec() {
    if (!compiled())
        return Rejected;
    return DeviceDialog::exec();
}

void NetDownloadDialog::setTimings(int paceMs, int tickMs, int replyTimeoutMs) {
    settings_.paceMs = paceMs;
    settings_.tickMs = tickMs;
    settings_.replyTimeoutMs = replyTimeoutMs;
}

void NetDownloadDialog::pressConnect() {
    if (!images_)
        return;
    if (exchange_ && !exchange_->finished() && exchange_->phase() != Phase::Disconnected) {
        // 断开, also during a download; while connecting the core refuses it.
        if (exchange_->pressDisconnect()) {
            driver()->pump();
            // A download stopped half-way has sent nothing whole: the bar
            // starts again with the next connection.
            progress_->setValue(0);
        }
        refresh();
        return;
    }
    // Each connection is a run of its own, with the address as entered now.
    net::NetDownloadSettings run = settings_;
    // The field shows the complete address that is connected to.
    run.host = ip_->complete().toStdString();
    run.port = port_->text().toInt();
    auto previous = std::move(exchange_);
    exchange_ = std::make_unique<net::NetDownloadExchange>(model_, workMode_, *images_, run, revAllow_);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    // The previous run's driver goes here, before its exchange.
    runExchange(*exchange_, false);
    refresh();
}

void NetDownloadDialog::pressDownload() {
    if (exchange_ && exchange_->pressDownload())
        driver()->pump();
    refresh();
}

void NetDownloadDialog::onEventHandled() {
    refresh();
}

void NetDownloadDialog::refresh() {
    const bool running = exchange_ && !exchange_->finished();
    const Phase phase = running ? exchange_->phase() : Phase::Disconnected;
    const bool linked = phase != Phase::Disconnected && phase != Phase::Connecting;
    connect_->setText(linked ? tr("断开") : tr("连接"));
    // Only 下载 is refused during a download: 断开 ends it.
    connect_->setEnabled(images_ && phase != Phase::Connecting && phase != Phase::Done);
    download_->setEnabled(running && exchange_->downloadEnabled());
    // Busy while connecting and while a download runs.
    const bool busy = phase == Phase::Connecting || (linked && phase != Phase::Connected);
    if (busy && !picture_->isPlaying())
        picture_->draw();
    else if (!busy && picture_->isPlaying())
        picture_->stop();
    // A stopped animation would stay on its last frame: hide it.
    picture_->setVisible(busy);
}

void NetDownloadDialog::onExchangeFinished(bool success, const QString& resultText) {
    picture_->stop();
    if (resultText.isEmpty()) {
        // The connection failed, or a request could not be sent ("连接失败...",
        // "发送失败"): the window stays, disconnected, for another try.
        showEndMessagesNow();
        refresh();
        return;
    }
    DeviceDialog::onExchangeFinished(success, resultText);
    showOutcome(parentWidget());
}

void NetDownloadDialog::done(int result) {
    picture_->stop();
    DeviceDialog::done(result);
}
