#include "ExchangeDriver.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace vantor::gui {

using namespace vantor::transfer;

ExchangeDriver::ExchangeDriver(Exchange& exchange, QObject* parent)
    : QObject(parent), ex_(exchange), socket_(new QTcpSocket(this)) {
    clock_.start();
    connect(socket_, &QTcpSocket::connected, this, &ExchangeDriver::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &ExchangeDriver::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &ExchangeDriver::onError);
    connect(socket_, &QTcpSocket::disconnected, this, &ExchangeDriver::onDisconnected);
}

ExchangeDriver::~ExchangeDriver() {
    // The socket is a child and goes with us; nothing more must reach the
    // exchange from its last signals.
    socket_->disconnect(this);
    socket_->abort();
}

void ExchangeDriver::start() {
    ex_.start();
    carryOut();
}

void ExchangeDriver::pump() {
    carryOut();
}

void ExchangeDriver::cancel() {
    ex_.cancel();
    carryOut();
}

void ExchangeDriver::measureStalls(bool on) {
    if (!on) {
        delete heartbeat_;
        heartbeat_ = nullptr;
        return;
    }
    if (heartbeat_)
        return;
    heartbeat_ = new QTimer(this);
    heartbeat_->setTimerType(Qt::PreciseTimer);
    heartbeat_->setInterval(4);
    lastBeat_.start();
    connect(heartbeat_, &QTimer::timeout, this, [this] {
        const int late = static_cast<int>(lastBeat_.restart()) - heartbeat_->interval();
        longestStall_ = std::max(longestStall_, late);
    });
    heartbeat_->start();
}

void ExchangeDriver::note(const QString& text) {
    log_ << QString::fromStdString(formatWireNote(clock_.elapsed(), text.toStdString()));
}

void ExchangeDriver::frame(WireDirection direction, ByteView bytes) {
    log_ << QString::fromStdString(formatWireLine(direction, clock_.elapsed(), bytes));
}

void ExchangeDriver::carryOut() {
    std::vector<Message> messages;
    std::optional<FinishedAction> finished;
    for (auto& action : ex_.takeActions()) {
        if (auto* c = std::get_if<ConnectAction>(&action)) {
            note(QString("connect %1:%2").arg(QString::fromStdString(c->host)).arg(c->port));
            connecting_ = true;
            closing_ = false;
            peerGone_ = false;
            socket_->connectToHost(QString::fromStdString(c->host), static_cast<quint16>(c->port));
        } else if (auto* s = std::get_if<SendAction>(&action)) {
            if (socket_->state() != QAbstractSocket::ConnectedState) {
                // Left to the exchange's reply timer, as a failed send is.
                note("send without a connection");
                continue;
            }
            frame(WireDirection::Sent, s->bytes);
            socket_->write(reinterpret_cast<const char*>(s->bytes.data()),
                           static_cast<qint64>(s->bytes.size()));
            emit frameSent(static_cast<int>(s->bytes.size()));
        } else if (auto* t = std::get_if<StartTimerAction>(&action)) {
            QTimer*& timer = timers_[t->id];
            if (!timer) {
                timer = new QTimer(this);
                timer->setSingleShot(true);
                const int id = t->id;
                connect(timer, &QTimer::timeout, this, [this, id] { onTimer(id); });
            }
            tokens_[t->id] = t->token;
            timer->start(t->ms);
        } else if (auto* t = std::get_if<StopTimerAction>(&action)) {
            tokens_.erase(t->id);
            if (auto it = timers_.find(t->id); it != timers_.end())
                it->second->stop();
        } else if (std::holds_alternative<CloseAction>(action)) {
            if (socket_->state() != QAbstractSocket::UnconnectedState) {
                closing_ = true;
                connecting_ = false;
                note("close");
                // Hand the last request to the system before the connection
                // goes (the restart after a download, say).
                if (socket_->state() == QAbstractSocket::ConnectedState)
                    socket_->flush();
                socket_->disconnectFromHost();
            }
        } else if (auto* s = std::get_if<StatusAction>(&action)) {
            emit statusChanged(QString::fromStdString(s->text));
        } else if (auto* p = std::get_if<ProgressAction>(&action)) {
            emit progressChanged(p->minimum, p->maximum, p->position);
        } else if (auto* m = std::get_if<MessageAction>(&action)) {
            messages.push_back(m->message);
        } else if (auto* f = std::get_if<FinishedAction>(&action)) {
            finished = *f;
            result_ = *f;
        }
    }
    if (finished) {
        for (auto& t : timers_)
            t.second->stop();
        tokens_.clear();
        measureStalls(false);
    }
    for (const auto& m : messages)
        emit message(m, finished.has_value());
    if (finished)
        emit this->finished(finished->success, QString::fromStdString(finished->resultText));
    emit eventHandled();
}

void ExchangeDriver::onTimer(int id) {
    auto it = tokens_.find(id);
    if (it == tokens_.end())
        return;
    const uint64_t token = it->second;
    tokens_.erase(it);
    ex_.timerFired(id, token);
    carryOut();
}

void ExchangeDriver::onConnected() {
    connecting_ = false;
    note("connected");
    ex_.connected(true);
    emit connected();
    carryOut();
}

void ExchangeDriver::onReadyRead() {
    const QByteArray data = socket_->readAll();
    if (data.isEmpty())
        return;
    ByteView bytes(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<std::size_t>(data.size()));
    frame(WireDirection::Received, bytes);
    ex_.received(bytes);
    carryOut();
}

void ExchangeDriver::onError() {
    const auto error = socket_->error();
    if (connecting_) {
        connecting_ = false;
        note("connect failed: " + socket_->errorString());
        socket_->abort();
        ex_.connected(false);
        carryOut();
        return;
    }
    if (closing_ || peerGone_ || error == QAbstractSocket::RemoteHostClosedError)
        return; // the disconnected signal reports a close by the peer
    peerGone_ = true;
    note("error: " + socket_->errorString());
    const bool unsent = socket_->bytesToWrite() > 0;
    socket_->abort();
    if (unsent)
        ex_.sendFailed();
    else
        ex_.closedByPeer();
    carryOut();
}

void ExchangeDriver::onDisconnected() {
    if (closing_ || connecting_ || peerGone_)
        return;
    peerGone_ = true;
    note("closed by peer");
    ex_.closedByPeer();
    carryOut();
}

} // namespace vantor::gui
