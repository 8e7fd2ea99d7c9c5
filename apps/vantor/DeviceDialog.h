#pragma once
// What every device window shares: the exchange it runs through an
// ExchangeDriver, the connecting box, and the end: messages that come with
// the end of the exchange are shown after the window has closed, followed
// by the result box, as the gateway dialogs always did; messages while the
// exchange goes on are shown at once.
//
// Ports: the configuration services use the access port (5032, 60000 for
// TRX-H-QMB6) and the MODBUS TCP services port 502. The environment
// variables VANTOR_ACCESS_PORT and VANTOR_MODBUS_PORT replace them, for a
// simulated gateway on unprivileged ports.
#include "ExchangeDriver.h"
#include "common/MessageSink.h"

#include <QDialog>
#include <QString>

#include <optional>
#include <vector>

namespace vantor::gui {
class ConnectingBox;
}

// The configuration port from VANTOR_ACCESS_PORT, if set to 1..65535.
std::optional<int> accessPortOverride();
// The MODBUS TCP port: VANTOR_MODBUS_PORT if set to 1..65535, else 502.
int modbusPort();

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

public slots:
    void reject() override;

protected:
    // Runs `exchange` (owned by the subclass, alive as long as the window).
    // With `withBox` the connecting box shows the status text until the
    // connection is made or fails.
    void runExchange(vantor::transfer::Exchange& exchange, bool withBox);
    // A new run replaces the driver of a finished one.
    virtual void onStatus(const QString& text) { (void)text; }
    virtual void onProgress(int minimum, int maximum, int position) {
        (void)minimum, (void)maximum, (void)position;
    }
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
};
