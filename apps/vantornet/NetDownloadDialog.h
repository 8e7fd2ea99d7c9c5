#pragma once
// 配置下载: VantorNet's download window. It compiles the project it is
// opened for (images A and B; a refused check shows its message and the
// window does not open), then lets the user connect to the gateway (device
// IP and 端口), download over the download exchange of the core and
// disconnect, also during a download (which that ends without a result).
// A refused connection keeps the window open; a download ends it, and its
// result box ("下载完毕！" or "下 载 失 败！...") follows.
#include "DeviceDialog.h"

#include "net/CVantorNetDoc.h"
#include "net/NetDownloadExchange.h"

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vantor::gui {
class AnimatedPicture;
class IpAddressEdit;
} // namespace vantor::gui

class NetDownloadDialog : public DeviceDialog {
    Q_OBJECT
public:
    // The project's rev_allow follows the exchange's requests and replies.
    NetDownloadDialog(vantor::net::CVantorNetDoc& project, QWidget* parent = nullptr);
    ~NetDownloadDialog() override;

    // False when a compile check refused the project: exec() then returns
    // at once and nothing can be downloaded.
    bool compiled() const { return images_.has_value(); }
    int exec() override;

    // The buttons' actions (also reachable by clicking them).
    void pressConnect();
    void pressDownload();

    // The pause before acting on a reply, the fieldbus tick and the reply
    // timeout of the next connection (the defaults are the gateway's).
    void setTimings(int paceMs, int tickMs, int replyTimeoutMs);

    vantor::net::NetDownloadExchange* exchange() const { return exchange_.get(); }
    vantor::gui::AnimatedPicture* picture() const { return picture_; }

public slots:
    // However the window ends, the animation stops with it.
    void done(int result) override;

protected:
    void onEventHandled() override;
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    // Buttons, their texts and the animation as the exchange's phase says.
    void refresh();

    std::string model_;
    int workMode_ = 0;
    int* revAllow_;
    std::optional<vantor::net::NetImages> images_;
    // The gateway's defaults, with the times setTimings gave.
    vantor::net::NetDownloadSettings settings_;
    std::unique_ptr<vantor::net::NetDownloadExchange> exchange_;

    vantor::gui::IpAddressEdit* ip_;
    QLineEdit* port_;
    QPushButton* connect_;
    QPushButton* download_;
    QPushButton* close_;
    QProgressBar* progress_;
    QLabel* status_;
    vantor::gui::AnimatedPicture* picture_;
};
