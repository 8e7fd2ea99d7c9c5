#include "NetIpSetDialog.h"

#include "DataFiles.h"
#include "IpAddressEdit.h"
#include "QtMessageSink.h"
#include "QtText.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <variant>

using namespace vantor;
using vantor::gui::q;

namespace {

gui::IpAddressEdit* ipField(QWidget* parent, const char* name, const std::string& text) {
    auto* e = new gui::IpAddressEdit(q(text), parent);
    e->setObjectName(name);
    return e;
}

QLineEdit* portField(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setValidator(new QIntValidator(0, 65535, e));
    e->setMaximumWidth(90);
    return e;
}

// The address files live where the program writes its files.
std::string workingDirectory() {
    return vantor::gui::workDirectory().toStdString();
}
} // namespace

bool NetIpSetDialog::mayOpen(QWidget* parent) {
    // Opening the exchange is what reads the address files; it ends at once
    // (with its message) when the IP file is missing.
    net::NetIpSetExchange probe(workingDirectory());
    probe.start();
    gui::QtMessageSink sink(parent);
    for (const auto& action : probe.takeActions())
        if (const auto* m = std::get_if<transfer::MessageAction>(&action))
            sink.error(m->message.caption, m->message.text);
    return !probe.finished();
}

NetIpSetDialog::NetIpSetDialog(QWidget* parent, int* revAllow) : DeviceDialog(parent) {
    setObjectName("netIpSetDialog");
    setWindowTitle(tr("TCP/IP值修改"));
    exchange_ = std::make_unique<net::NetIpSetExchange>(workingDirectory(), net::kIpSetTickMs, revAllow);
    const net::IpSetFields initial;
    const int configPort = accessPortOverride().value_or(initial.configPort);

    auto* target = new QGroupBox(tr("连接下位IP"), this);
    connectIp_ = ipField(target, "connectIp", initial.connectIp);
    configPort_ = portField(target, "configPort", QString::number(configPort));
    connect_ = new QPushButton(tr("连接"), target);
    connect_->setObjectName("connectButton");
    auto* targetLayout = new QFormLayout(target);
    targetLayout->addRow("IP:", connectIp_);
    targetLayout->addRow(tr("配置端口:"), configPort_);
    targetLayout->addRow(connect_);

    auto* settings = new QGroupBox(tr("设置新IP"), this);
    newIp_ = ipField(settings, "newIp", initial.newIp);
    mask_ = ipField(settings, "mask", initial.mask);
    gateway_ = ipField(settings, "gateway", initial.gateway);
    port_ = portField(settings, "port", q(initial.port));
    download_ = new QPushButton(tr("下载配置"), settings);
    download_->setObjectName("downloadButton");
    auto* settingsLayout = new QFormLayout(settings);
    settingsLayout->addRow("IP:", newIp_);
    settingsLayout->addRow(tr("子网掩码:"), mask_);
    settingsLayout->addRow(tr("网关:"), gateway_);
    settingsLayout->addRow(tr("端口:"), port_);
    settingsLayout->addRow(download_);

    progress_ = newProgressBar(100);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    showStatusIn(status_);
    showProgressIn(progress_);
    auto* close = new QPushButton(tr("关闭"), this);
    close->setObjectName("closeButton");
    auto* log = new QPushButton(tr("通信记录"), this);
    log->setObjectName("wireLogButton");

    connect(connect_, &QPushButton::clicked, this, &NetIpSetDialog::pressConnect);
    connect(download_, &QPushButton::clicked, this, &NetIpSetDialog::pressDownload);
    connect(close, &QPushButton::clicked, this, &NetIpSetDialog::reject);
    connect(log, &QPushButton::clicked, this, &NetIpSetDialog::showWireLog);

    auto* groups = new QHBoxLayout;
    groups->addWidget(target, 0, Qt::AlignTop);
    groups->addWidget(settings);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(log);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Opening reads the address files and shows the address they keep.
    runExchange(*exchange_, false);
    refresh();
}

NetIpSetDialog::~NetIpSetDialog() = default;

int NetIpSetDialog::exec() {
    if (exchange_->finished())
        return Rejected;
    return DeviceDialog::exec();
}

void NetIpSetDialog::pushFields() {
    // The fields show the complete addresses that are connected to or sent.
    net::IpSetFields f;
    f.connectIp = connectIp_->complete().toStdString();
    f.configPort = configPort_->text().toInt();
    f.newIp = newIp_->complete().toStdString();
    f.mask = mask_->complete().toStdString();
    f.gateway = gateway_->complete().toStdString();
    f.port = port_->text().toStdString();
    exchange_->setFields(f);
}

void NetIpSetDialog::pressConnect() {
    pushFields();
    // A refused target shows its message at once; the window stays.
    exchange_->pressConnect();
    driver()->pump();
    refresh();
}

void NetIpSetDialog::pressDownload() {
    pushFields();
    // A refused field shows its message at once; the window stays.
    exchange_->pressDownload();
    driver()->pump();
    refresh();
}

void NetIpSetDialog::onEventHandled() {
    refresh();
}

void NetIpSetDialog::refresh() {
    const bool open = !exchange_->finished();
    connect_->setText(exchange_->connected() ? tr("断开") : tr("连接"));
    connect_->setEnabled(exchange_->connectEnabled());
    download_->setEnabled(open && exchange_->downloadEnabled());
}

void NetIpSetDialog::onExchangeFinished(bool success, const QString& resultText) {
    DeviceDialog::onExchangeFinished(success, resultText);
    showOutcome(parentWidget());
}
