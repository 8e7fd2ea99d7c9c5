#include "BlockingDriver.h"

#include "transfer/PendingSend.h"
#include "transfer/TimerTable.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor::cli {

using namespace vantor::transfer;
using Clock = std::chrono::steady_clock;

struct BlockingDriver::State {
    int fd = -1;
    bool connecting = false;
    PendingSend pending;
    TimerTable timers;
    Clock::time_point start = Clock::now();
    std::optional<FinishedAction> finished;
    bool connectFailed = false; // reported to the exchange from the loop
};

BlockingDriver::BlockingDriver(Exchange& exchange, WireLog* log)
    : ex_(exchange), log_(log), st_(std::make_unique<State>()) {}

BlockingDriver::~BlockingDriver() {
    if (st_->fd >= 0)
        ::close(st_->fd);
}

int64_t BlockingDriver::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - st_->start).count();
}

void StreamWireLog::frame(WireDirection d, int64_t timeMs, ByteView bytes) {
    std::fprintf(out_, "%s\n", formatWireLine(d, timeMs, bytes).c_str());
    std::fflush(out_);
}

void StreamWireLog::note(int64_t timeMs, const std::string& text) {
    std::fprintf(out_, "%s\n", formatWireNote(timeMs, text).c_str());
    std::fflush(out_);
}

void BlockingDriver::afterEach() {
    carryOut();
    if (afterEvent && !st_->finished) {
        afterEvent();
        carryOut();
    }
}

void BlockingDriver::carryOut() {
    for (auto& action : ex_.takeActions()) {
        if (auto* c = std::get_if<ConnectAction>(&action)) {
            doConnect(*c);
        } else if (auto* s = std::get_if<SendAction>(&action)) {
            doSend(*s);
        } else if (auto* t = std::get_if<StartTimerAction>(&action)) {
            st_->timers.arm(t->id, t->token, elapsedMs() + t->ms);
        } else if (auto* t = std::get_if<StopTimerAction>(&action)) {
            st_->timers.disarm(t->id);
        } else if (std::holds_alternative<CloseAction>(action)) {
            doClose();
        } else if (auto* s = std::get_if<StatusAction>(&action)) {
            if (onStatus)
                onStatus(s->text);
        } else if (auto* p = std::get_if<ProgressAction>(&action)) {
            if (onProgress)
                onProgress(*p);
        } else if (auto* m = std::get_if<MessageAction>(&action)) {
            if (onMessage)
                onMessage(m->message);
        } else if (auto* f = std::get_if<FinishedAction>(&action)) {
            st_->finished = *f;
        }
    }
}

void BlockingDriver::doConnect(const ConnectAction& a) {
    if (log_)
        log_->note(elapsedMs(), "connect " + a.host + ":" + std::to_string(a.port));
    // Results are reported from the loop, never from inside carryOut, so
    // the exchange sees its events in order.
    auto fail = [&] { st_->connectFailed = true; };
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    if (a.host.empty() || ::getaddrinfo(a.host.c_str(), nullptr, &hints, &res) != 0 || !res) {
        fail();
        return;
    }
    sockaddr_in addr{};
    std::memcpy(&addr, res->ai_addr, sizeof addr);
    ::freeaddrinfo(res);
    addr.sin_port = htons(static_cast<uint16_t>(a.port));
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        fail();
        return;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    st_->fd = fd;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 || errno == EINPROGRESS) {
        st_->connecting = true;
    } else {
        ::close(fd);
        st_->fd = -1;
        fail();
    }
}

void BlockingDriver::doSend(const SendAction& a) {
    if (st_->fd < 0 || st_->connecting)
        return;
    if (log_)
        log_->frame(WireDirection::Sent, elapsedMs(), a.bytes);
    ssize_t n = ::send(st_->fd, a.bytes.data(), a.bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
        // Would block: the whole request waits. Any other error is left to
        // the exchange's reply timer.
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            st_->pending.store(a.bytes, 0);
        return;
    }
    st_->pending.store(a.bytes, static_cast<std::size_t>(n));
}

void BlockingDriver::flushPending() {
    ByteView rest = st_->pending.rest();
    ssize_t n = ::send(st_->fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n >= 0) {
        st_->pending.consumed(static_cast<std::size_t>(n));
        return;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK)
        return;
    st_->pending.clear();
    ex_.sendFailed();
    afterEach();
}

void BlockingDriver::doClose() {
    if (st_->fd >= 0) {
        ::close(st_->fd);
        if (log_)
            log_->note(elapsedMs(), "close");
    }
    st_->fd = -1;
    st_->connecting = false;
    st_->pending.clear();
}

void BlockingDriver::finishConnect() {
    int err = 0;
    socklen_t len = sizeof err;
    ::getsockopt(st_->fd, SOL_SOCKET, SO_ERROR, &err, &len);
    st_->connecting = false;
    if (err != 0) {
        ::close(st_->fd);
        st_->fd = -1;
        if (log_)
            log_->note(elapsedMs(), std::string("connect failed: ") + std::strerror(err));
    }
    ex_.connected(err == 0);
    afterEach();
}

void BlockingDriver::readSocket() {
    uint8_t buf[LinkReceiver::kBufferSize];
    ssize_t n = ::recv(st_->fd, buf, sizeof buf, 0);
    if (n > 0) {
        if (log_)
            log_->frame(WireDirection::Received, elapsedMs(), ByteView(buf, static_cast<std::size_t>(n)));
        ex_.received(ByteView(buf, static_cast<std::size_t>(n)));
        afterEach();
        return;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    // Orderly close or reset by the peer.
    if (log_)
        log_->note(elapsedMs(), n == 0 ? "closed by peer" : std::string("reset: ") + std::strerror(errno));
    ::close(st_->fd);
    st_->fd = -1;
    st_->pending.clear();
    ex_.closedByPeer();
    afterEach();
}

FinishedAction BlockingDriver::run() {
    ex_.start();
    afterEach();
    while (!st_->finished) {
        if (st_->connectFailed) {
            st_->connectFailed = false;
            ex_.connected(false);
            afterEach();
            continue;
        }
        // Timers that have run out, earliest first.
        if (auto due = st_->timers.popDue(elapsedMs())) {
            ex_.timerFired(due->id, due->token);
            afterEach();
            continue;
        }
        auto next = st_->timers.nextDeadline();
        if (st_->fd < 0 && !next) {
            // Nothing can happen any more: no socket and no timer.
            ex_.cancel();
            carryOut();
            break;
        }
        int timeout = next ? static_cast<int>(std::max<int64_t>(0, *next - elapsedMs())) : -1;
        pollfd p{st_->fd, 0, 0};
        if (st_->fd >= 0) {
            p.events = st_->connecting ? POLLOUT : POLLIN;
            if (!st_->connecting && !st_->pending.empty())
                p.events |= POLLOUT;
        }
        int r = ::poll(&p, st_->fd >= 0 ? 1 : 0, timeout);
        if (r <= 0)
            continue; // timeout (timers next round) or EINTR
        if (st_->connecting) {
            finishConnect();
            continue;
        }
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            readSocket();
            continue;
        }
        if ((p.revents & POLLOUT) && st_->fd >= 0 && !st_->pending.empty())
            flushPending();
    }
    return st_->finished.value_or(FinishedAction{});
}

void printStatusChanges(BlockingDriver& driver) {
    driver.onStatus = [last = std::string()](const std::string& text) mutable {
        if (text.empty() || text == last)
            return;
        last = text;
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    };
}

} // namespace vantor::cli
