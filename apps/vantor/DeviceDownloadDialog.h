#pragma once
// The download window (配置下载): the busy animation, the status text of
// the download exchange and a progress bar over the frames it sends; it
// closes itself when the exchange ends, and its caller then shows the
// messages and the result box ("下 载 完 毕!" or "下 载 失 败！...").
#include "DeviceDialog.h"

#include "transfer/DownloadExchange.h"

#include <memory>

class QLabel;
class QProgressBar;

namespace vantor::gui {
class AnimatedPicture;
}

class DeviceDownloadDialog : public DeviceDialog {
    Q_OBJECT
public:
    DeviceDownloadDialog(QWidget* parent, const std::string& model,
                         vantor::transfer::ConfigurationBlocks blocks,
                         const vantor::transfer::DownloadSettings& settings);

    // Opens the connection (call with the window shown or about to be).
    void start();

    int progressValue() const;
    int progressMaximum() const;
    vantor::transfer::DownloadExchange& exchange() { return *exchange_; }
    vantor::gui::AnimatedPicture* picture() const { return picture_; }

public slots:
    // However the window ends, the animation stops with it.
    void done(int result) override;

protected:
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    std::unique_ptr<vantor::transfer::DownloadExchange> exchange_;
    vantor::gui::AnimatedPicture* picture_;
    QLabel* status_;
    QProgressBar* progress_;
};

// Runs the download window modally with blocks already checked, then shows
// its outcome. True when the download completed.
bool runDownloadDialog(QWidget* parent, const std::string& model,
                       vantor::transfer::ConfigurationBlocks blocks,
                       const vantor::transfer::DownloadSettings& settings);
