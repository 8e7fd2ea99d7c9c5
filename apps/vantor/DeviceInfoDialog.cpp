#include "DeviceInfoDialog.h"

#include "DeviceCommands.h"
#include "QtText.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace vantor;

namespace {
QLineEdit* readOnly(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setMinimumWidth(220);
    return e;
}
} // namespace

DeviceInfoDialog::DeviceInfoDialog(QWidget* parent, const std::string& model,
                                   const services::DeviceInfoSettings& settings)
    : DeviceDialog(parent) {
    setObjectName("dialogMaster");
    setWindowTitle(tr("主站信息"));
    exchange_ = std::make_unique<services::DeviceInfoExchange>(model, settings);
    id_ = readOnly(this, "id1072");
    version_ = readOnly(this, "version1069");
    state_ = readOnly(this, "state1071");
    build_ = readOnly(this, "build1073");
    mac1_ = readOnly(this, "mac1070");
    mac2_ = readOnly(this, "mac1074");
    serial_ = readOnly(this, "serial1095");
    const auto bg = services::kRunStateBackground;
    QPalette p = state_->palette();
    p.setColor(QPalette::Base, QColor(bg.r, bg.g, bg.b));
    state_->setPalette(p);
    state_->setAutoFillBackground(true);

    auto* copy = new QPushButton(tr("复制"), this);
    copy->setObjectName("button1096");
    connect(copy, &QPushButton::clicked, this, &DeviceInfoDialog::copySerialNumber);
    auto* serialRow = new QHBoxLayout;
    serialRow->addWidget(serial_, 1);
    serialRow->addWidget(copy);

    auto* form = new QFormLayout;
    form->addRow(tr("设备ID:"), id_);
    form->addRow(tr("设备版本:"), version_);
    form->addRow(tr("固件编译时间:"), build_);
    form->addRow(tr("运行状态:"), state_);
    form->addRow("MAC1:", mac1_);
    form->addRow("MAC2:", mac2_);
    form->addRow(tr("序列号:"), serialRow);
    auto* note = new QLabel(gui::shown(services::DeviceInfoExchange::kEmptyNote), this);
    note->setObjectName("note");
    note->setWordWrap(true);
    auto* close = new QPushButton(tr("确定"), this);
    connect(close, &QPushButton::clicked, this, &DeviceInfoDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceInfoDialog::start() {
    runExchange(*exchange_, true);
}

QLineEdit* DeviceInfoDialog::field(const char* objectName) const {
    return findChild<QLineEdit*>(objectName);
}

void DeviceInfoDialog::copySerialNumber() {
    QGuiApplication::clipboard()->setText(serial_->text());
}

void DeviceInfoDialog::onEventHandled() {
    if (!exchange_->identified())
        return;
    const auto& f = exchange_->fields();
    auto set = [](QLineEdit* e, const std::string& text) { e->setText(QString::fromStdString(text)); };
    set(id_, f.deviceId);
    set(version_, f.version);
    set(build_, f.buildTime);
    set(mac1_, f.mac1);
    set(mac2_, f.mac2);
    state_->setText(gui::shown(f.runState.text));
    if (f.runState.colour) {
        QPalette p = state_->palette();
        p.setColor(QPalette::Text, QColor(f.runState.colour->r, f.runState.colour->g, f.runState.colour->b));
        state_->setPalette(p);
    }
    set(serial_, f.serialNumber);
}

void DeviceInfoDialog::onExchangeFinished(bool success, const QString& resultText) {
    // Read once: the fields stay until the user closes the window.
    if (!success)
        DeviceDialog::onExchangeFinished(success, resultText);
}

void runGatewayInfoCommand(QWidget* parent, model::CVantorDoc& doc) {
    services::DeviceInfoSettings settings;
    settings.host = doc.IP;
    settings.accessPort = doc.accessPort;
    settings.portOverride = accessPortOverride();
    DeviceInfoDialog dialog(parent, doc.modelName(), settings);
    QTimer::singleShot(0, &dialog, &DeviceInfoDialog::start);
    dialog.exec();
    dialog.showOutcome(parent);
}
