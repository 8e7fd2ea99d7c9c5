#pragma once
// 访问参数设置: the access IP at which the PC reaches the gateway; OK keeps
// it in the project and in IP/ETHOption.xml below the start-up directory.
#include "IpAddressEdit.h"
#include "model/CVantorDoc.h"

#include <QDialog>

class QLineEdit;

class DeviceAccessDialog : public QDialog {
    Q_OBJECT
public:
    DeviceAccessDialog(QWidget* parent, vantor::model::CVantorDoc& doc, const QString& startDirectory);

    vantor::gui::IpAddressEdit* ipEdit() const { return ip_; }

public slots:
    void accept() override;

private:
    vantor::model::CVantorDoc& doc_;
    QString directory_;
    vantor::gui::IpAddressEdit* ip_;
};
