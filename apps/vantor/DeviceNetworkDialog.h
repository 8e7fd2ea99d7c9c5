#pragma once
// 网络参数设置: connects (connecting box), then lets the user enter the
// gateway's IP, mask, default gateway and MODBUS TCP port and press
// "下载配置"; the run of the network-parameter exchange advances the
// progress bar, and its result box follows the window's close.
#include "DeviceDialog.h"
#include "IpAddressEdit.h"

#include "services/NetworkParamsExchange.h"

#include <memory>

class QLineEdit;
class QProgressBar;
class QPushButton;

class DeviceNetworkDialog : public DeviceDialog {
    Q_OBJECT
public:
    DeviceNetworkDialog(QWidget* parent, vantor::model::CVantorDoc& doc);

    void start();
    // "下载配置": checks the fields (messages at once) and starts the run.
    void download();

    vantor::gui::IpAddressEdit* ipEdit() const { return ip_; }
    vantor::gui::IpAddressEdit* maskEdit() const { return mask_; }
    vantor::gui::IpAddressEdit* gatewayEdit() const { return gateway_; }
    QLineEdit* portEdit() const { return port_; }
    vantor::services::NetworkParamsExchange& exchange() { return *exchange_; }

private:
    std::unique_ptr<vantor::services::NetworkParamsExchange> exchange_;
    vantor::gui::IpAddressEdit* ip_;
    vantor::gui::IpAddressEdit* mask_;
    vantor::gui::IpAddressEdit* gateway_;
    QLineEdit* port_;
    QProgressBar* progress_;
    QPushButton* send_;
};
