#include "LoadDialog.h"

#include "ExchangeDriver.h"
#include "GatewayPorts.h"
#include "IpAddressEdit.h"
#include "Language.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "WireLogBox.h"

#include "editing/ComPropertiesForm.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vantor;
using vantor::gui::q;

namespace {
std::string s(const QString& q) {
    return q.toStdString();
}

template <std::size_t N> QComboBox* listOf(QWidget* parent, const std::array<std::string, N>& items) {
    auto* box = new QComboBox(parent);
    for (const auto& item : items)
        box->addItem(gui::shown(item));
    return box;
}

QLineEdit* numberField(QWidget* parent, const char* name, int min, int max) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setValidator(new QIntValidator(min, max, e));
    e->setMaximumWidth(90);
    return e;
}

gui::IpAddressEdit* ipField(QWidget* parent, const char* name) {
    auto* e = new gui::IpAddressEdit(parent);
    e->setObjectName(name);
    return e;
}
} // namespace

LoadDialog::LoadDialog(const QString& directory, QWidget* parent) : QDialog(parent) {
    setObjectName("VantorLoad");
    setWindowTitle("VantorLoad");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    exchange_ = std::make_unique<load::LoadExchange>(s(directory));

    deviceType_ = new QComboBox(this);
    deviceType_->setObjectName("deviceType");
    for (const char* name : load::kDeviceTypes)
        deviceType_->addItem(name);

    auto* target = new QGroupBox(tr("网关IP"), this);
    gatewayIp_ = ipField(target, "gatewayIp");
    configPort_ = numberField(target, "configPort", 1, 65535);
    connect_ = new QPushButton(tr("连接"), target);
    connect_->setObjectName("connect");
    auto* targetLayout = new QFormLayout(target);
    targetLayout->addRow("IP:", gatewayIp_);
    targetLayout->addRow(tr("配置端口:"), configPort_);
    targetLayout->addRow(connect_);

    auto* settings = new QGroupBox(tr("新设定IP"), this);
    newIp_ = ipField(settings, "newIp");
    mask_ = ipField(settings, "mask");
    gateway_ = ipField(settings, "gateway");
    modPort_ = numberField(settings, "modPort", 0, 65535);
    auto* settingsLayout = new QFormLayout(settings);
    settingsLayout->addRow("IP:", newIp_);
    settingsLayout->addRow(tr("子网掩码:"), mask_);
    settingsLayout->addRow(tr("网关:"), gateway_);
    settingsLayout->addRow(tr("MOD端口:"), modPort_);

    auto* com1 = new QGroupBox("COM1", this);
    com1_ = makePort(com1, "com1");
    auto* com2 = new QGroupBox("COM2", this);
    com2_ = makePort(com2, "com2");

    rtu_ = new QPushButton(tr("RTU设置"), this);
    rtu_->setObjectName("rtu");
    ip_ = new QPushButton(tr("IP设置"), this);
    ip_->setObjectName("ip");
    about_ = new QPushButton(tr("关于"), this);
    about_->setObjectName("about");
    // The language choice, named in both languages so that either reader
    // finds it.
    auto* language = new QPushButton(QString::fromUtf8(VT_DATA("语言 / Language")), this);
    language->setObjectName("language");
    language->setMenu(gui::makeLanguageMenu(this));
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);

    // The window menu's about entry: the dialog's context menu.
    auto* aboutAction = new QAction(tr("关于 VantorLoad(&A)..."), this);
    aboutAction->setObjectName("aboutAction");
    addAction(aboutAction);
    // The frames exchanged with the gateway so far, for diagnosing it.
    auto* logAction = new QAction(tr("通信记录"), this);
    logAction->setObjectName("wireLogAction");
    addAction(logAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("设备类型:"), this));
    typeRow->addWidget(deviceType_, 1);
    auto* groups = new QGridLayout;
    groups->addWidget(target, 0, 0);
    groups->addWidget(settings, 0, 1);
    groups->addWidget(com1, 1, 0);
    groups->addWidget(com2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rtu_);
    buttons->addWidget(ip_);
    buttons->addStretch(1);
    buttons->addWidget(language);
    buttons->addWidget(about_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(typeRow);
    layout->addLayout(groups);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    driver_ = new gui::ExchangeDriver(*exchange_, this);
    connect(driver_, &gui::ExchangeDriver::progressChanged, this,
            [this](int minimum, int maximum, int position) {
                progress_->setRange(minimum, maximum);
                progress_->setValue(position);
            });
    connect(driver_, &gui::ExchangeDriver::message, this, [this](const Message& m, bool) {
        gui::QtMessageSink sink(this);
        if (m.kind == MessageKind::Information)
            sink.information(m.caption, m.text);
        else
            sink.error(m.caption, m.text);
    });
    connect(driver_, &gui::ExchangeDriver::eventHandled, this, &LoadDialog::refresh);

    // The address files are read now; the fields start from the exchange's.
    driver_->start();
    load::LoadFields initial = exchange_->fields();
    if (auto port = accessPortOverride())
        initial.configPort = std::to_string(*port);
    fillFields(initial);
    pushFields();
    refresh();

    connect(connect_, &QPushButton::clicked, this, &LoadDialog::pressConnect);
    connect(rtu_, &QPushButton::clicked, this, &LoadDialog::pressRtu);
    connect(ip_, &QPushButton::clicked, this, &LoadDialog::pressIp);
    connect(about_, &QPushButton::clicked, this, &LoadDialog::showAbout);
    connect(aboutAction, &QAction::triggered, this, &LoadDialog::showAbout);
    connect(logAction, &QAction::triggered, this, [this] { gui::showWireLog(this, driver_->wireLog()); });
    connect(deviceType_, &QComboBox::currentIndexChanged, this, [this] {
        pushFields();
        refresh();
    });
    for (QLineEdit* e : {static_cast<QLineEdit*>(gatewayIp_), configPort_, static_cast<QLineEdit*>(newIp_),
                         static_cast<QLineEdit*>(mask_), static_cast<QLineEdit*>(gateway_), modPort_,
                         com1_.address, com2_.address})
        connect(e, &QLineEdit::textChanged, this, &LoadDialog::pushFields);
    for (QComboBox* c : {com1_.baud, com1_.parity, com1_.stop, com2_.baud, com2_.parity, com2_.stop})
        connect(c, &QComboBox::currentIndexChanged, this, &LoadDialog::pushFields);
}

LoadDialog::~LoadDialog() {
    // The driver goes before the exchange it drives.
    delete driver_;
    driver_ = nullptr;
}

LoadDialog::PortControls LoadDialog::makePort(QWidget* parent, const QString& prefix) {
    PortControls p{listOf(parent, editing::baudTexts()), listOf(parent, editing::parityTexts()),
                   listOf(parent, editing::stopTexts()), new QLineEdit(load::kDataBits, parent),
                   numberField(parent, "", 0, load::kMaxModbusAddress)};
    p.baud->setObjectName(prefix + "Baud");
    p.parity->setObjectName(prefix + "Parity");
    p.stop->setObjectName(prefix + "Stop");
    p.dataBits->setObjectName(prefix + "DataBits");
    p.dataBits->setReadOnly(true);
    p.dataBits->setMaximumWidth(90);
    p.address->setObjectName(prefix + "Address");
    auto* form = new QFormLayout(parent);
    form->addRow(tr("波特率:"), p.baud);
    form->addRow(tr("校验位:"), p.parity);
    form->addRow(tr("停止位:"), p.stop);
    form->addRow(tr("数据位:"), p.dataBits);
    form->addRow(tr("MOD地址:"), p.address);
    return p;
}

void LoadDialog::fillFields(const load::LoadFields& f) {
    filling_ = true;
    deviceType_->setCurrentIndex(f.deviceType);
    gatewayIp_->setText(q(f.gatewayIp));
    configPort_->setText(q(f.configPort));
    newIp_->setText(q(f.newIp));
    mask_->setText(q(f.mask));
    gateway_->setText(q(f.gateway));
    modPort_->setText(q(f.modPort));
    for (auto [controls, port] : {std::pair{&com1_, &f.com1}, std::pair{&com2_, &f.com2}}) {
        controls->baud->setCurrentIndex(port->baud);
        controls->parity->setCurrentIndex(port->parity);
        controls->stop->setCurrentIndex(port->stop);
        controls->address->setText(q(port->address));
    }
    filling_ = false;
}

void LoadDialog::pushFields() {
    if (filling_)
        return;
    load::LoadFields f;
    f.deviceType = deviceType_->currentIndex();
    f.gatewayIp = s(gatewayIp_->address());
    f.configPort = s(configPort_->text());
    f.newIp = s(newIp_->address());
    f.mask = s(mask_->address());
    f.gateway = s(gateway_->address());
    f.modPort = s(modPort_->text());
    for (auto [controls, port] : {std::pair{&com1_, &f.com1}, std::pair{&com2_, &f.com2}})
        *port = {controls->baud->currentIndex(), controls->parity->currentIndex(),
                 controls->stop->currentIndex(), s(controls->address->text())};
    exchange_->setFields(f);
}

void LoadDialog::refresh() {
    connect_->setText(gui::shown(exchange_->connectText()));
    connect_->setEnabled(exchange_->connectEnabled());
    rtu_->setEnabled(exchange_->actionsEnabled());
    ip_->setEnabled(exchange_->actionsEnabled());
    const bool com2 = exchange_->com2Enabled();
    for (QWidget* w : {static_cast<QWidget*>(com2_.baud), static_cast<QWidget*>(com2_.parity),
                       static_cast<QWidget*>(com2_.stop), static_cast<QWidget*>(com2_.address)})
        w->setEnabled(com2);
}

void LoadDialog::afterPress(bool (load::LoadExchange::*press)()) {
    // The fields show the complete addresses that are connected to or sent.
    for (gui::IpAddressEdit* e : {gatewayIp_, newIp_, mask_, gateway_})
        e->complete();
    pushFields();
    (exchange_.get()->*press)();
    driver_->pump();
}

void LoadDialog::pressConnect() {
    afterPress(&load::LoadExchange::pressConnect);
}

void LoadDialog::pressRtu() {
    afterPress(&load::LoadExchange::pressRtu);
}

void LoadDialog::pressIp() {
    afterPress(&load::LoadExchange::pressIp);
}

void LoadDialog::showAbout() {
    gui::QtMessageSink(this).information(tr("关于 VantorLoad").toStdString(), load::kAbout);
}

void LoadDialog::reject() {
    // The socket goes with the window.
    driver_->disconnect(this);
    driver_->cancel();
    QDialog::reject();
}
