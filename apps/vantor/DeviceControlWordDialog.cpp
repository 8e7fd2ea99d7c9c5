#include "DeviceControlWordDialog.h"

#include "QtMessageSink.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vantor;

DeviceControlWordDialog::DeviceControlWordDialog(QWidget* parent,
                                                 const services::ControlWordSettings& settings,
                                                 int displayAddress, uint16_t value)
    : DeviceDialog(parent), settings_(settings), address_(displayAddress) {
    setObjectName("dialogSlaveCtlSet");
    setWindowTitle(tr("控制字设置"));
    auto* caption = new QLabel(tr("控制字地址: %1").arg(displayAddress), this);
    caption->setObjectName("address");
    edit_ = new QLineEdit(QString::fromStdString(services::ControlWordExchange::initialText(value)), this);
    edit_->setObjectName("edit1082");
    edit_->setMaxLength(8);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("控制字:  0x"), this));
    row->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DeviceControlWordDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DeviceControlWordDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceControlWordDialog::accept() {
    if (driver() && !driver()->isFinished())
        return; // a write is under way
    gui::QtMessageSink sink(this);
    auto value = services::ControlWordExchange::parseValue(edit_->text().toStdString(), sink);
    if (!value)
        return;
    connected_ = false;
    exchange_ = std::make_unique<services::ControlWordExchange>(address_, *value, settings_);
    runExchange(*exchange_, false);
}

void DeviceControlWordDialog::onExchangeFinished(bool success, const QString& resultText) {
    if (success || !connected_ || endedWith(transfer::Exchange::kSendFailed)) {
        // Written, no connection at all, or the request could not be sent:
        // the window closes and the message follows.
        DeviceDialog::onExchangeFinished(success, resultText);
        return;
    }
    // Refused or unanswered: say so and stay for another try.
    showEndMessagesNow();
}
