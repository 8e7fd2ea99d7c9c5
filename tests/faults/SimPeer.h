#pragma once
// The simulated gateway's own session code (configuration port or MODBUS
// TCP) answering one request at a time without a network: the bytes a
// request produces are collected here instead of being queued on a socket.
// The MODBUS side replies through libmodbus, which writes to a socket, so
// it gets one end of a socket pair and the reply is read from the other.
#include "ConfigSession.h"
#include "GatewayState.h"
#include "ModbusSession.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <stdexcept>
#include <string>

namespace vantor::faults {

class SimPeer : public sim::SessionIo {
public:
    SimPeer(const std::string& model, bool modbus, int identityLayout) : state_(model, "") {
        state_.services.identity().layout = identityLayout;
        if (!modbus) {
            session_ = std::make_unique<sim::ConfigSession>(state_);
            return;
        }
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds_) != 0)
            throw std::runtime_error("socketpair failed");
        registers_ = std::make_unique<sim::ModbusRegisters>(true);
        session_ = std::make_unique<sim::ModbusSession>(*registers_, state_);
    }
    ~SimPeer() override {
        session_.reset();
        for (int fd : fds_)
            if (fd >= 0)
                ::close(fd);
    }
    SimPeer(const SimPeer&) = delete;
    SimPeer& operator=(const SimPeer&) = delete;

    // What the gateway writes in answer to one request (empty: no answer),
    // and whether it asked for the connection to end.
    struct Answer {
        transfer::Bytes bytes;
        bool ends = false;
    };
    Answer answer(transfer::ByteView request, int64_t nowMs) {
        return collect(nowMs, [&] { session_->onData(request, *this); });
    }

    // The gateway's unprompted frames (the chatter switch): how often, and
    // what it sends when the time has come.
    void chatterEvery(int ms) { state_.faults.chatterMs = ms; }
    int wakePeriodMs() const { return session_->wakePeriodMs(); }
    Answer wake(int64_t nowMs) {
        return collect(nowMs, [&] { session_->onWake(*this); });
    }

    // SessionIo: the simulated gateway's writes and ends.
    void write(transfer::Bytes bytes, int) override {
        out_.bytes.insert(out_.bytes.end(), bytes.begin(), bytes.end());
    }
    void reset(int) override { out_.ends = true; }
    void close() override { out_.ends = true; }
    int fd() const override { return fds_[0]; }
    int64_t nowMs() const override { return now_; }

private:
    template <typename F> Answer collect(int64_t nowMs, F&& run) {
        now_ = nowMs;
        out_ = {};
        run();
        if (fds_[1] >= 0) {
            uint8_t buf[512];
            for (;;) {
                const ssize_t n = ::recv(fds_[1], buf, sizeof buf, MSG_DONTWAIT);
                if (n <= 0)
                    break;
                out_.bytes.insert(out_.bytes.end(), buf, buf + n);
            }
        }
        return std::move(out_);
    }

    sim::GatewayState state_;
    std::unique_ptr<sim::ModbusRegisters> registers_;
    std::unique_ptr<sim::Session> session_;
    int fds_[2] = {-1, -1};
    Answer out_;
    int64_t now_ = 0;
};

} // namespace vantor::faults
