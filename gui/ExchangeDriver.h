#pragma once
// Runs one core exchange on the GUI thread: its connect and sends go to a
// QTcpSocket, one single-shot QTimer wakes it at the exchange's next
// deadline, and the socket's events (connected, readable, error, closed) go
// back to it. Status texts, progress, messages and the end are passed on
// as signals. Nothing here blocks or sleeps.
//
// Unsent bytes stay in the socket's write buffer and go out as it becomes
// writable; a write error while some are still waiting is reported to the
// exchange as a failed send. A close hands over what was already written
// before the connection goes.
#include "QtText.h"
#include "common/MessageSink.h"
#include "transfer/ExchangeRunner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <utility>
#include <vector>

class QTcpSocket;
class QTimer;

namespace vantor::gui {

class ExchangeDriver : public QObject, public transfer::ExchangeRunner {
    Q_OBJECT
public:
    // start() starts the exchange, pump() carries out what a button press
    // on the exchange asked for, cancel() ends it when the user closes the
    // window (the socket goes with it).
    explicit ExchangeDriver(transfer::Exchange& exchange, QObject* parent = nullptr);
    ~ExchangeDriver() override;

    // The wire log so far: one line per frame or connection event.
    const std::vector<std::string>& wireLog() const { return lines_.lines(); }

signals:
    void statusChanged(const QString& text);
    void progressChanged(int minimum, int maximum, int position);
    // `ending`: the exchange finishes with this event; windows close first
    // and show the message after.
    void message(const vantor::Message& message, bool ending);
    void connected();
    void finished(bool success, const QString& resultText);
    // A request went to the socket (for a window's own progress display).
    void frameSent(int bytes);
    // The exchange handled an event and its actions were carried out: the
    // moment to read its state (lists, fields).
    void eventHandled();

protected:
    int64_t nowMs() const override { return clock_.elapsed(); }
    void openConnection(const transfer::ConnectAction& target) override;
    bool write(transfer::ByteView bytes) override;
    bool closeConnection() override;
    void showStatus(const std::string& text) override { emit statusChanged(shown(text)); }
    void showProgress(const transfer::ProgressAction& p) override {
        emit progressChanged(p.minimum, p.maximum, p.position);
    }
    void showMessage(const Message& m, bool ending) override { messages_.emplace_back(m, ending); }
    void ended(const transfer::FinishedAction&) override { endedNow_ = true; }
    void connectionMade() override { emit connected(); }
    void afterPump() override;

private:
    void onError();

    transfer::WireLines lines_;
    QTcpSocket* socket_;
    QTimer* wake_;
    QElapsedTimer clock_;
    bool connecting_ = false;
    bool closing_ = false;
    bool peerGone_ = false;
    std::vector<std::pair<Message, bool>> messages_;
    bool endedNow_ = false;
    bool reporting_ = false; // inside the eventHandled signal
};

} // namespace vantor::gui
