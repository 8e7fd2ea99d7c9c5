#pragma once
// The simulator's event loop: plain POSIX sockets and poll() over any number
// of listening sockets (the configuration port now; a MODBUS TCP port can be
// added beside it), their connections, scheduled replies and a signal pipe.
// Each accepted connection gets a Session from its listener's factory; the
// session sees the bytes as they arrive and answers through SessionIo.
#include "transfer/Bytes.h"
#include "transfer/WireLog.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantor::sim {

using transfer::Bytes;
using transfer::ByteView;

class SessionIo {
public:
    virtual ~SessionIo() = default;
    // Queues bytes to send after `delayMs` (never before what was queued
    // earlier on this connection).
    virtual void write(Bytes bytes, int delayMs = 0) = 0;
    // Ends the connection with a reset (RST) once what is queued before it
    // has gone out.
    virtual void reset(int delayMs = 0) = 0;
    // Ends the connection in order once the queue is empty.
    virtual void close() = 0;
    // The socket, for sessions that hand it to a protocol library.
    virtual int fd() const = 0;
    virtual int64_t nowMs() const = 0;
};

class Session {
public:
    virtual ~Session() = default;
    virtual void onData(ByteView data, SessionIo& io) = 0;
    virtual void onClosed() {}
    // A session that also speaks unprompted: every this many milliseconds
    // from the connection on, onWake is called (0: never).
    virtual int wakePeriodMs() const { return 0; }
    virtual void onWake(SessionIo&) {}
};

using SessionFactory = std::function<std::unique_ptr<Session>()>;

class Simulator {
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Listens on bind:port (0 = a port chosen by the system). Returns the
    // bound port, or -1 with the reason in `error`.
    int listen(const std::string& bind, int port, const std::string& name, SessionFactory factory,
               std::string* error);

    // Every frame in and out (hex, with time) goes here when set.
    void setWireLog(transfer::WireLog* log) { log_ = log; }

    // Runs until SIGINT/SIGTERM (installed by run) or stop(). Returns 0.
    // SIGINT and SIGTERM end run() cleanly (status 0). Called before the
    // ports are announced, so a stop right after start is never the
    // default, abrupt one; run() calls it too.
    bool catchStopSignals();
    int run();
    void stop() { stopping_ = true; }

    int64_t nowMs() const;

private:
    struct Listener;
    struct Connection;
    void acceptOn(Listener& l);
    void serviceConnection(Connection& c, short revents);
    void flushDue(Connection& c);
    void wakeDue();
    void drop(Connection& c, bool abortive);

    std::vector<std::unique_ptr<Listener>> listeners_;
    std::vector<std::unique_ptr<Connection>> connections_;
    transfer::WireLog* log_ = nullptr;
    bool stopping_ = false;
    int64_t start_;
};

} // namespace vantor::sim
