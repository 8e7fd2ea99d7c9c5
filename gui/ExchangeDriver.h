#pragma once
// Runs one core exchange on the GUI thread: its connect and sends go to a
// QTcpSocket, each of its timers is a single-shot QTimer carrying the token
// it was armed with, and the socket's events (connected, readable, error,
// closed) go back to the exchange. Status texts, progress, messages and the
// end are passed on as signals. Nothing here blocks or sleeps.
//
// Unsent bytes stay in the socket's write buffer and go out as it becomes
// writable; a write error while some are still waiting is reported to the
// exchange as a failed send. A close hands over what was already written
// before the connection goes.
#include "common/MessageSink.h"
#include "transfer/Exchange.h"
#include "transfer/WireLog.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

class QTcpSocket;
class QTimer;

namespace vantor::gui {

class ExchangeDriver : public QObject {
    Q_OBJECT
public:
    explicit ExchangeDriver(transfer::Exchange& exchange, QObject* parent = nullptr);
    ~ExchangeDriver() override;

    // Starts the exchange.
    void start();
    // Carries out what the exchange asked for since the last event: call it
    // after driving the exchange directly (a button press).
    void pump();
    // The user closes the window: the exchange ends and the socket goes.
    void cancel();

    transfer::Exchange& exchange() { return ex_; }
    bool isFinished() const { return result_.has_value(); }
    const std::optional<transfer::FinishedAction>& result() const { return result_; }

    // The wire log so far: one line per frame or connection event.
    const QStringList& wireLog() const { return log_; }

    // The longest gap the GUI thread was seen busy while this exchange ran,
    // measured by a 4 ms heartbeat timer (0 until measured).
    void measureStalls(bool on);
    int longestStallMs() const { return longestStall_; }

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

private:
    void carryOut();
    void onConnected();
    void onReadyRead();
    void onError();
    void onDisconnected();
    void onTimer(int id);
    void note(const QString& text);
    void frame(transfer::WireDirection direction, transfer::ByteView bytes);

    transfer::Exchange& ex_;
    QTcpSocket* socket_;
    std::map<int, QTimer*> timers_;
    std::map<int, uint64_t> tokens_;
    bool connecting_ = false;
    bool closing_ = false;
    bool peerGone_ = false;
    std::optional<transfer::FinishedAction> result_;
    QElapsedTimer clock_;
    QStringList log_;
    QTimer* heartbeat_ = nullptr;
    QElapsedTimer lastBeat_;
    int longestStall_ = 0;
};

} // namespace vantor::gui
