#include "Simulator.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor::sim {

namespace {

int gSignalPipe[2] = {-1, -1};

extern "C" void onSignal(int) {
    const char c = 's';
    [[maybe_unused]] auto n = ::write(gSignalPipe[1], &c, 1);
}

int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

struct Simulator::Listener {
    int fd = -1;
    std::string name;
    SessionFactory factory;
};

struct Simulator::Connection : SessionIo {
    enum class Kind { Bytes, Reset, Close };
    struct Out {
        int64_t due;
        Kind kind;
        Bytes bytes;
    };

    Simulator* sim = nullptr;
    int socket = -1;
    std::string name;
    std::unique_ptr<Session> session;
    std::deque<Out> queue;
    Bytes sending; // a reply the socket did not take at once
    bool dead = false;
    int64_t nextWake = -1; // when the session next speaks unprompted (-1: never)

    void enqueue(Out o) {
        if (!queue.empty() && queue.back().due > o.due)
            o.due = queue.back().due; // keep the order of the replies
        queue.push_back(std::move(o));
    }
    void write(Bytes bytes, int delayMs) override {
        enqueue({sim->nowMs() + delayMs, Kind::Bytes, std::move(bytes)});
    }
    void reset(int delayMs) override { enqueue({sim->nowMs() + delayMs, Kind::Reset, {}}); }
    void close() override { enqueue({sim->nowMs(), Kind::Close, {}}); }
    int fd() const override { return socket; }
    int64_t nowMs() const override { return sim->nowMs(); }
};

Simulator::Simulator() : start_(steadyMs()) {}

Simulator::~Simulator() {
    for (auto& c : connections_)
        if (c->socket >= 0)
            ::close(c->socket);
    for (auto& l : listeners_)
        ::close(l->fd);
}

int64_t Simulator::nowMs() const {
    return steadyMs() - start_;
}

int Simulator::listen(const std::string& bind, int port, const std::string& name, SessionFactory factory,
                      std::string* error) {
    auto fail = [&](const std::string& what, int fd) {
        if (error)
            *error = what + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    };
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, bind.c_str(), &addr.sin_addr) != 1) {
        errno = EINVAL;
        return fail("bad bind address " + bind, -1);
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return fail("socket", -1);
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        return fail("bind " + bind + ":" + std::to_string(port), fd);
    if (::listen(fd, 8) != 0)
        return fail("listen", fd);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    auto l = std::make_unique<Listener>();
    l->fd = fd;
    l->name = name;
    l->factory = std::move(factory);
    listeners_.push_back(std::move(l));
    return ntohs(addr.sin_port);
}

void Simulator::acceptOn(Listener& l) {
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    int fd = ::accept4(l.fd, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    auto c = std::make_unique<Connection>();
    c->sim = this;
    c->socket = fd;
    char host[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &peer.sin_addr, host, sizeof host);
    c->name = l.name + " " + host + ":" + std::to_string(ntohs(peer.sin_port));
    c->session = l.factory();
    if (const int period = c->session->wakePeriodMs(); period > 0)
        c->nextWake = nowMs() + period;
    if (log_)
        log_->note(nowMs(), "accepted " + c->name);
    connections_.push_back(std::move(c));
}

void Simulator::drop(Connection& c, bool abortive) {
    if (c.dead)
        return;
    if (abortive) {
        linger lg{1, 0}; // close with a reset
        ::setsockopt(c.socket, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
    }
    ::close(c.socket);
    c.socket = -1;
    c.dead = true;
    if (log_)
        log_->note(nowMs(), (abortive ? "reset " : "closed ") + c.name);
    c.session->onClosed();
}

void Simulator::flushDue(Connection& c) {
    while (!c.dead) {
        if (!c.sending.empty()) {
            ssize_t n = ::send(c.socket, c.sending.data(), c.sending.size(), MSG_NOSIGNAL);
            if (n < 0) {
                if (errno != EAGAIN && errno != EWOULDBLOCK)
                    drop(c, false);
                return;
            }
            c.sending.erase(c.sending.begin(), c.sending.begin() + n);
            if (!c.sending.empty())
                return;
        }
        if (c.queue.empty() || c.queue.front().due > nowMs())
            return;
        Connection::Out out = std::move(c.queue.front());
        c.queue.pop_front();
        switch (out.kind) {
        case Connection::Kind::Bytes:
            if (log_)
                log_->frame(transfer::WireDirection::Sent, nowMs(), out.bytes);
            c.sending = std::move(out.bytes);
            break;
        case Connection::Kind::Reset:
            drop(c, true);
            return;
        case Connection::Kind::Close:
            drop(c, false);
            return;
        }
    }
}

void Simulator::wakeDue() {
    for (auto& c : connections_) {
        if (c->dead || c->nextWake < 0 || c->nextWake > nowMs())
            continue;
        c->session->onWake(*c);
        c->nextWake += c->session->wakePeriodMs();
    }
}

void Simulator::serviceConnection(Connection& c, short revents) {
    if (revents & (POLLIN | POLLHUP | POLLERR)) {
        uint8_t buf[16384];
        ssize_t n = ::recv(c.socket, buf, sizeof buf, 0);
        if (n > 0) {
            ByteView data(buf, static_cast<std::size_t>(n));
            if (log_)
                log_->frame(transfer::WireDirection::Received, nowMs(), data);
            c.session->onData(data, c);
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            drop(c, false);
            return;
        }
    }
    flushDue(c);
}

bool Simulator::catchStopSignals() {
    if (gSignalPipe[0] >= 0)
        return true;
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

int Simulator::run() {
    if (!catchStopSignals())
        return 1;

    while (!stopping_) {
        std::vector<pollfd> fds;
        fds.push_back({gSignalPipe[0], POLLIN, 0});
        for (auto& l : listeners_)
            fds.push_back({l->fd, POLLIN, 0});
        int64_t nextDue = -1;
        for (auto& c : connections_) {
            short ev = POLLIN;
            if (!c->sending.empty())
                ev |= POLLOUT;
            fds.push_back({c->socket, ev, 0});
            if (c->sending.empty() && !c->queue.empty() && (nextDue < 0 || c->queue.front().due < nextDue))
                nextDue = c->queue.front().due;
            if (c->nextWake >= 0 && (nextDue < 0 || c->nextWake < nextDue))
                nextDue = c->nextWake;
        }
        int timeout = nextDue < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, nextDue - nowMs()));
        int r = ::poll(fds.data(), fds.size(), timeout);
        if (r < 0 && errno != EINTR)
            break;
        // SIGINT or SIGTERM: what already arrived is still handled in this
        // round (a restart request sent just before the signal is counted
        // and dumped), then the loop ends.
        const bool signalled = r > 0 && (fds[0].revents & POLLIN);
        std::size_t at = 1;
        for (std::size_t i = 0; i < listeners_.size(); ++i, ++at)
            if (fds[at].revents & POLLIN)
                acceptOn(*listeners_[i]);
        wakeDue();
        // Connections accepted just now were not polled this round.
        const std::size_t polled = fds.size() - at;
        for (std::size_t i = 0; i < polled; ++i, ++at)
            serviceConnection(*connections_[i], r > 0 ? fds[at].revents : 0);
        for (std::size_t i = polled; i < connections_.size(); ++i)
            flushDue(*connections_[i]);
        std::erase_if(connections_, [](const auto& c) { return c->dead; });
        if (signalled)
            break;
    }
    ::close(gSignalPipe[0]);
    ::close(gSignalPipe[1]);
    return 0;
}

} // namespace vantor::sim
