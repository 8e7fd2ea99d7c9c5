#pragma once
// What every device window of the programs shares: the exchange it runs
// through an ExchangeDriver, the connecting box, and the end: messages that
// come with the end of the exchange are shown after the window has closed,
// followed by the result box, as the gateway dialogs always did; messages
// while the exchange goes on are shown at once.
#include "ExchangeDriver.h"
#include "GatewayPorts.h"
#include "common/MessageSink.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

class QLabel;
class QProgressBar;

namespace vantor::gui {
class ConnectingBox;
}

class DeviceDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceDialog(QWidget* parent = nullptr);
    ~DeviceDialog() override;

    bool exchangeFinished() const { return driver_ && driver_->isFinished(); }
    bool succeeded() const { return exchangeFinished() && driver_->result()->success; }
    QString resultText() const;
    // Messages kept for after the window closed.
    const std::vector<vantor::Message>& endMessages() const { return endMessages_; }
    // Whether the exchange ended with this message.
    bool endedWith(const std::string& text) const;
    vantor::gui::ExchangeDriver* driver() const { return driver_; }
    vantor::gui::ConnectingBox* connectingBox() const { return box_; }

    // After the window closed: its end messages, then the result box.
    void showOutcome(QWidget* parent);
    // The text of the window's status line (empty without one).
    QString statusText() const;

public slots:
    void reject() override;

protected:
    // Runs `exchange` (owned by the subclass, alive as long as the window).
    // With `withBox` the connecting box shows the status text until the
    // connection is made or fails.
    void runExchange(vantor::transfer::Exchange& exchange, bool withBox);
    // A new run replaces the driver of a finished one.
    // The window's status line and progress bar, if it has them: the
    // exchange's status texts and progress go there by default.
    void showStatusIn(QLabel* label) { statusLabel_ = label; }
    void showProgressIn(QProgressBar* bar) { progressBar_ = bar; }
    // The windows' progress bar: named "progress" (the name tests find it
    // by), from 0 to `maximum`, standing at 0.
    QProgressBar* newProgressBar(int maximum);
    virtual void onStatus(const QString& text);
    virtual void onProgress(int minimum, int maximum, int position);
    virtual void onConnectedToGateway() {}
    virtual void onEventHandled() {}
    // Default: the window closes.
    virtual void onExchangeFinished(bool success, const QString& resultText);
    // Shows the end messages now (the window stays) and forgets them.
    void showEndMessagesNow();
    // Shows the wire log of the running (or last) exchange.
    void showWireLog();

private:
    vantor::gui::ExchangeDriver* driver_ = nullptr;
    vantor::gui::ConnectingBox* box_ = nullptr;
    std::vector<vantor::Message> endMessages_;
    bool boxStarted_ = false;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
};
