#include "DeviceNetworkDialog.h"

#include "DeviceCommands.h"
#include "QtMessageSink.h"

#include "model/GatewayCatalogue.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace vantor;

namespace {
gui::IpAddressEdit* ipField(QWidget* parent, const char* name) {
    auto* e = new gui::IpAddressEdit(parent);
    e->setObjectName(name);
    return e;
}
} // namespace

DeviceNetworkDialog::DeviceNetworkDialog(QWidget* parent, model::CVantorDoc& doc) : DeviceDialog(parent) {
    setObjectName("dialogIpSet");
    setWindowTitle(tr("网络参数设置"));
    exchange_ = std::make_unique<services::NetworkParamsExchange>(doc);
    if (auto port = accessPortOverride())
        exchange_->setPortOverride(*port);

    auto* eth1 = new QGroupBox("ETH1", this);
    ip_ = ipField(eth1, "ip1031");
    mask_ = ipField(eth1, "mask1035");
    gateway_ = ipField(eth1, "gateway1038");
    port_ = new QLineEdit(eth1);
    port_->setObjectName("port1041");
    auto* f1 = new QFormLayout(eth1);
    const QString labels[] = {tr("IP地址:"), tr("子网掩码:"), tr("默认网关:"), tr("端口:")};
    f1->addRow(labels[0], ip_);
    f1->addRow(labels[1], mask_);
    f1->addRow(labels[2], gateway_);
    f1->addRow(labels[3], port_);

    // The second port's fields are never read: the gateway gives it the
    // first port's settings.
    auto* eth2 = new QGroupBox("ETH2", this);
    auto* f2 = new QFormLayout(eth2);
    const char* names[] = {"ip1032", "mask1036", "gateway1039", "port1043"};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* e = i < 3 ? ipField(eth2, names[i]) : new QLineEdit(eth2);
        e->setObjectName(names[i]);
        f2->addRow(labels[i], e);
    }
    eth2->setEnabled(false);

    const auto fields = exchange_->initialFields();
    ip_->setText(QString::fromStdString(fields.ip));
    mask_->setText(QString::fromStdString(fields.mask));
    gateway_->setText(QString::fromStdString(fields.gateway));
    port_->setText(QString::fromStdString(fields.portText));

    progress_ = newProgressBar(100);
    showProgressIn(progress_);
    send_ = new QPushButton(tr("下载配置"), this);
    send_->setObjectName("button1022");
    auto* close = new QPushButton(tr("取消"), this);
    connect(send_, &QPushButton::clicked, this, &DeviceNetworkDialog::download);
    connect(close, &QPushButton::clicked, this, &DeviceNetworkDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(eth1);
    groups->addWidget(eth2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(send_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceNetworkDialog::start() {
    runExchange(*exchange_, true);
}

void DeviceNetworkDialog::download() {
    // The fields show the complete addresses that are sent.
    services::NetworkSettings fields{ip_->complete().toStdString(), mask_->complete().toStdString(),
                                     gateway_->complete().toStdString(), port_->text().toStdString()};
    gui::QtMessageSink sink(this);
    exchange_->download(fields, sink);
    if (driver())
        driver()->pump();
}

void runNetworkParamsCommand(QWidget* parent, model::CVantorDoc& doc) {
    if (!doc.hasMaster()) {
        gui::QtMessageSink(parent).error(DeviceNetworkDialog::tr("请添加主站").toStdString());
        return;
    }
    if (!model::gatewayModel(doc.modelName()).has(model::FeatureNetworkParams))
        return; // the EtherNet/IP gateway's settings are not made here
    DeviceNetworkDialog dialog(parent, doc);
    QTimer::singleShot(0, &dialog, &DeviceNetworkDialog::start);
    dialog.exec();
    dialog.showOutcome(parent);
}
