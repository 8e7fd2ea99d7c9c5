#include "ExchangeDriver.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace vantor::gui {

using namespace vantor::transfer;

ExchangeDriver::ExchangeDriver(Exchange& exchange, QObject* parent)
    : QObject(parent), ExchangeRunner(exchange, &lines_), socket_(new QTcpSocket(this)),
      wake_(new QTimer(this)) {
    clock_.start();
    wake_->setSingleShot(true);
    connect(wake_, &QTimer::timeout, this, [this] { advanceTo(nowMs()); });
    connect(socket_, &QTcpSocket::connected, this, [this] {
        connecting_ = false;
        socketConnected(true);
    });
    connect(socket_, &QTcpSocket::readyRead, this, [this] {
        const QByteArray data = socket_->readAll();
        if (!data.isEmpty())
            socketReceived(
                ByteView(reinterpret_cast<const uint8_t*>(data.constData()), std::size_t(data.size())));
    });
    connect(socket_, &QTcpSocket::errorOccurred, this, &ExchangeDriver::onError);
    connect(socket_, &QTcpSocket::disconnected, this, [this] {
        if (!closing_ && !connecting_ && !std::exchange(peerGone_, true))
            socketClosedByPeer();
    });
}

ExchangeDriver::~ExchangeDriver() {
    // The socket is a child and goes with us; nothing more must reach the
    // exchange from its last signals.
    socket_->disconnect(this);
    socket_->abort();
}

void ExchangeDriver::openConnection(const ConnectAction& target) {
    connecting_ = true;
    closing_ = peerGone_ = false;
    socket_->connectToHost(QString::fromStdString(target.host), static_cast<quint16>(target.port));
}

bool ExchangeDriver::write(ByteView bytes) {
    if (socket_->state() != QAbstractSocket::ConnectedState)
        return false; // left to the exchange's reply timer, as a failed send is
    socket_->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    emit frameSent(static_cast<int>(bytes.size()));
    return true;
}

bool ExchangeDriver::closeConnection() {
    if (socket_->state() == QAbstractSocket::UnconnectedState)
        return false;
    closing_ = true;
    connecting_ = false;
    // Hand the last request to the system before the connection goes (the
    // restart after a download, say).
    if (socket_->state() == QAbstractSocket::ConnectedState)
        socket_->flush();
    socket_->disconnectFromHost();
    return true;
}

void ExchangeDriver::afterPump() {
    if (auto wait = untilDeadline())
        wake_->start(static_cast<int>(std::min<int64_t>(*wait, INT_MAX)));
    else
        wake_->stop();
    for (const auto& [m, ending] : std::exchange(messages_, {}))
        emit message(m, ending);
    if (std::exchange(endedNow_, false))
        emit finished(result()->success, shown(result()->resultText));
    // A handler may pump (to carry out what it queued); that pump's own
    // end is not reported to it again, or the two would call each other
    // without end. The handler sees the state once its pump returns.
    if (!reporting_) {
        reporting_ = true;
        emit eventHandled();
        reporting_ = false;
    }
}

void ExchangeDriver::onError() {
    const std::string reason = socket_->errorString().toStdString();
    if (std::exchange(connecting_, false)) {
        socket_->abort();
        socketConnected(false, reason);
    } else if (!closing_ && !peerGone_ && socket_->error() != QAbstractSocket::RemoteHostClosedError) {
        // An orderly close comes as the disconnected signal. Bytes still
        // waiting to go make this a failed send.
        peerGone_ = true;
        const bool unsent = socket_->bytesToWrite() > 0;
        socket_->abort();
        note("error: " + reason);
        unsent ? socketSendFailed() : socketClosedByPeer({});
    }
}

} // namespace vantor::gui
