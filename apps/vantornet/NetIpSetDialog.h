#pragma once
// TCP/IP值修改: VantorNet's network settings. The status line shows the
// gateway address the address files (IP/ip.txt, IP/port.txt in the working
// directory) keep; group "连接下位IP" connects to the gateway's configuration
// port, group "设置新IP" sends the new IP, mask, default gateway and MODBUS
// TCP port with 下载配置. The core's exchange rewrites the address files
// only when the gateway acknowledges; the window then closes and its result
// box ("下载完毕！" or "下 载 失 败！") follows.
#include "DeviceDialog.h"

#include "net/NetIpSetExchange.h"

#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vantor::gui {
class IpAddressEdit;
}

class NetIpSetDialog : public DeviceDialog {
    Q_OBJECT
public:
    // Reads the address files of the working directory at once.
    // `revAllow`: the project's flag the exchange keeps (may be null).
    explicit NetIpSetDialog(QWidget* parent = nullptr, int* revAllow = nullptr);
    ~NetIpSetDialog() override;

    // Whether the window may open: the working directory must hold the IP
    // address file; otherwise "你选择了下载空文件！" is shown.
    static bool mayOpen(QWidget* parent);
    // Returns at once when opening already ended (the IP file was missing).
    int exec() override;

    // The buttons' actions (also reachable by clicking them).
    void pressConnect();
    void pressDownload();

    vantor::net::NetIpSetExchange& exchange() { return *exchange_; }

protected:
    void onEventHandled() override;
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    // The controls as they are now, handed to the exchange.
    void pushFields();
    void refresh();

    std::unique_ptr<vantor::net::NetIpSetExchange> exchange_;
    vantor::gui::IpAddressEdit* connectIp_;
    QLineEdit* configPort_;
    QPushButton* connect_;
    vantor::gui::IpAddressEdit* newIp_;
    vantor::gui::IpAddressEdit* mask_;
    vantor::gui::IpAddressEdit* gateway_;
    QLineEdit* port_;
    QPushButton* download_;
    QProgressBar* progress_;
    QLabel* status_;
};
