#include "DeviceAccessDialog.h"

#include "DeviceCommands.h"
#include "QtMessageSink.h"

#include "services/AccessParams.h"
#include "transfer/Exchange.h"
#include "transfer/GatewayAddress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vantor;

DeviceAccessDialog::DeviceAccessDialog(QWidget* parent, model::CVantorDoc& doc, const QString& startDirectory)
    : QDialog(parent), doc_(doc), directory_(startDirectory) {
    setObjectName("dialogIpsetDlg");
    setWindowTitle(tr("访问参数设置"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    ip_ = new gui::IpAddressEdit(QString::fromStdString(doc.IP), this);
    ip_->setObjectName("ip1031");
    auto* form = new QFormLayout;
    form->addRow(tr("访问IP地址:"), ip_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DeviceAccessDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DeviceAccessDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceAccessDialog::accept() {
    const QString address = ip_->complete();
    if (!transfer::gatewayHostAddress(address.toStdString())) {
        // The device windows connect to this address: one no gateway can
        // have (empty, 0.x.x.x, multicast, broadcast) is not stored.
        gui::QtMessageSink(this).error(transfer::Exchange::kAccessIpWrong);
        return;
    }
    std::string error;
    if (!services::applyAccessIp(doc_, address.toStdString(), directory_.toStdString(), &error)) {
        // The project has the address; only the file for the next project
        // could not be written.
        gui::QtMessageSink(this).error(error);
    }
    QDialog::accept();
}

void runAccessParamsCommand(QWidget* parent, model::CVantorDoc& doc, const QString& startDirectory) {
    DeviceAccessDialog dialog(parent, doc, startDirectory);
    dialog.exec();
}
