#include "BlockingDriver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace vantor::blocking {

using namespace vantor::transfer;

BlockingDriver::~BlockingDriver() {
    closeConnection();
}

void BlockingDriver::afterPump() {
    if (afterEvent && !isFinished() && !std::exchange(inAfterEvent_, true)) {
        afterEvent();
        pump();
        inAfterEvent_ = false;
    }
}

void BlockingDriver::openConnection(const ConnectAction& target) {
    // The exchanges connect to dotted addresses only (transfer::connectTarget).
    closeConnection();
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(target.port));
    if (::inet_pton(AF_INET, target.host.c_str(), &addr.sin_addr) == 1)
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    int one = 1;
    if (fd_ >= 0)
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    connecting_ = fd_ >= 0 && (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ||
                               errno == EINPROGRESS);
    // A failure is reported from the loop, never from inside the dispatch,
    // so the exchange sees its events in order.
    if (!connecting_) {
        closeConnection();
        connectFailed_ = true;
    }
}

bool BlockingDriver::write(ByteView bytes) {
    if (fd_ < 0 || connecting_)
        return false;
    pending_.store(bytes, 0);
    flush(false);
    return true;
}

bool BlockingDriver::closeConnection() {
    const bool open = fd_ >= 0;
    if (open)
        ::close(fd_);
    fd_ = -1;
    connecting_ = false;
    pending_.clear();
    return open;
}

void BlockingDriver::flush(bool reportFailure) {
    const ByteView rest = pending_.rest();
    const ssize_t n = ::send(fd_, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n >= 0) {
        pending_.consumed(static_cast<std::size_t>(n));
    } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
        // A request refused at once is left to the exchange's reply timer;
        // a rest that cannot be flushed is a failed send.
        pending_.clear();
        if (reportFailure)
            socketSendFailed();
    }
}

void BlockingDriver::finishConnect() {
    int err = 0;
    socklen_t len = sizeof err;
    ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len);
    connecting_ = false;
    if (err != 0)
        closeConnection();
    socketConnected(err == 0, err ? std::strerror(err) : "");
}

void BlockingDriver::readSocket() {
    uint8_t buf[LinkReceiver::kBufferSize];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0)
        socketReceived(ByteView(buf, static_cast<std::size_t>(n)));
    else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        const std::string how = n == 0 ? "closed by peer" : std::string("reset: ") + std::strerror(errno);
        closeConnection();
        socketClosedByPeer(how);
    }
}

bool BlockingDriver::serviceDue() {
    if (isFinished())
        return false;
    const auto wait = untilDeadline();
    if (std::exchange(connectFailed_, false))
        socketConnected(false);
    else if (wait && *wait == 0)
        advanceTo(nowMs());
    else if (fd_ < 0 && !wait)
        cancel(); // nothing can happen any more: no socket and no timer
    else
        return false;
    return true;
}

pollfd BlockingDriver::pollRequest() const {
    return {fd_, static_cast<short>(connecting_ ? POLLOUT : POLLIN | (pending_.empty() ? 0 : POLLOUT)), 0};
}

void BlockingDriver::serviceReady(short revents) {
    if (fd_ < 0 || isFinished())
        return;
    if (connecting_)
        finishConnect();
    else if (revents & (POLLIN | POLLHUP | POLLERR))
        readSocket();
    else if ((revents & POLLOUT) && !pending_.empty())
        flush(true);
}

FinishedAction BlockingDriver::run() {
    start();
    BlockingDriver* self = this;
    while (!isFinished())
        pollOnce(std::span(&self, 1));
    return result().value_or(FinishedAction{});
}

void pollOnce(std::span<BlockingDriver* const> drivers, std::optional<int64_t> limitMs) {
    bool served = false;
    for (auto* d : drivers)
        served = d->serviceDue() || served;
    if (served)
        return;
    std::vector<pollfd> fds;
    std::vector<BlockingDriver*> owners;
    std::optional<int64_t> wait = limitMs;
    for (auto* d : drivers) {
        if (d->isFinished())
            continue;
        if (const auto until = d->untilDeadline())
            wait = wait ? std::min(*wait, *until) : *until;
        const pollfd p = d->pollRequest();
        if (p.fd >= 0) {
            fds.push_back(p);
            owners.push_back(d);
        }
    }
    if (fds.empty() && !wait)
        return;
    // The deadline comes on the next turn; EINTR is only a turn early.
    if (::poll(fds.data(), fds.size(), wait ? static_cast<int>(std::max<int64_t>(0, *wait)) : -1) <= 0)
        return;
    for (std::size_t i = 0; i < fds.size(); ++i)
        if (fds[i].revents)
            owners[i]->serviceReady(fds[i].revents);
}

} // namespace vantor::blocking
