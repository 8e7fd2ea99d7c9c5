#include "ConfigSession.h"

#include "load/LoadRequests.h"
#include "transfer/CommandFrame.h"
#include "transfer/ConfigurationImage.h"

#include <algorithm>
#include <utility>

namespace vantor::sim {

using namespace vantor::transfer;

namespace {
// A request announcing more than this is not one of ours: the connection is
// dropped rather than waiting for it.
constexpr std::size_t kLargestBody = 1 << 20;

uint32_t u32At(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
} // namespace

std::size_t ConfigSession::bodySize(uint32_t command, uint32_t lengthField, std::size_t assembled) {
    switch (command) {
    case command::kRtuConfig:
        return lengthField & 0xFF;
    case command::kFieldbusConfig:
        if (lengthField == load::kFieldbusRequestLength)
            return 4; // the downloader's fixed request: one word
        [[fallthrough]];
    case command::kEipConfig: {
        const std::size_t total = lengthField & 0xFFFF;
        const std::size_t left = total > assembled ? total - assembled : total;
        return std::min(kChunkSize, left);
    }
    default:
        return lengthField;
    }
}

void ConfigSession::onData(ByteView data, SessionIo& io) {
    if (dead_)
        return;
    // A held segment goes out only after the peer has acted on the first
    // one, so the two can never reach it as one read.
    if (!held_.empty())
        io.write(std::exchange(held_, {}), 0);
    in_.insert(in_.end(), data.begin(), data.end());
    while (in_.size() >= kFrameHeader && !dead_) {
        const uint32_t cmd = u32At(in_, 0);
        const uint32_t len = u32At(in_, 4);
        auto& a = assembly_[cmd];
        const bool continuing = !a.complete && a.total == (len & 0xFFFF);
        const std::size_t assembled = continuing ? a.data.size() : 0;
        const std::size_t body = bodySize(cmd, len, assembled);
        if (body > kLargestBody) {
            dead_ = true;
            io.reset();
            return;
        }
        if (in_.size() < kFrameHeader + body)
            return;
        Bytes frameBody(in_.begin() + kFrameHeader,
                        in_.begin() + static_cast<std::ptrdiff_t>(kFrameHeader + body));
        in_.erase(in_.begin(), in_.begin() + static_cast<std::ptrdiff_t>(kFrameHeader + body));
        handle(cmd, len, frameBody, io);
    }
}

Bytes ConfigSession::ack(uint32_t command) const {
    Bytes r = commandFrame(command, 4);
    auto it = state_.faults.status.find(command);
    putU32(r, it == state_.faults.status.end() ? 0 : it->second);
    return r;
}

void ConfigSession::reply(uint32_t command, Bytes frame, SessionIo& io) {
    const Faults& f = state_.faults;
    if (f.noReply.count(command))
        return;
    if (f.shortReply.count(command))
        frame.resize(std::min<std::size_t>(frame.size(), kFrameHeader));
    if (f.longReply.count(command))
        frame.resize(frame.size() + 64, 0x5A);
    if (f.closeAfter.count(command)) {
        io.write(std::move(frame), f.delayMs);
        dead_ = true;
        io.close();
        return;
    }
    if (f.splitReply.count(command) && frame.size() > 1) {
        const std::size_t half = frame.size() / 2;
        io.write(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(half)), f.delayMs);
        if (f.splitHold) {
            held_.assign(frame.begin() + static_cast<std::ptrdiff_t>(half), frame.end());
            return;
        }
        io.write(Bytes(frame.begin() + static_cast<std::ptrdiff_t>(half), frame.end()),
                 f.delayMs + f.splitGapMs);
        return;
    }
    io.write(std::move(frame), f.delayMs);
}

void ConfigSession::handle(uint32_t cmd, uint32_t len, ByteView body, SessionIo& io) {
    if (state_.faults.resetAt.count(cmd)) {
        dead_ = true;
        io.reset(state_.faults.delayMs);
        return;
    }
    switch (cmd) {
    case command::kDeviceState: {
        if (state_.services.identity().layout != 0) {
            // The full identification (--layout 52 or 44).
            reply(cmd, state_.services.identificationReply(state_.identity(), state_.faults.versionMarks),
                  io);
            return;
        }
        // Header, status word, identity word, two reserved bytes, the two
        // version marks, padding.
        Bytes r = commandFrame(cmd, 16);
        putU32(r, 0);
        auto id = state_.identity();
        r.insert(r.end(), id.begin(), id.end());
        putU16(r, 0);
        r.push_back(state_.faults.versionMarks[0]);
        r.push_back(state_.faults.versionMarks[1]);
        putU32(r, 0);
        reply(cmd, std::move(r), io);
        return;
    }
    case command::kSerialNumber:
        reply(cmd, state_.services.serialNumberReply(), io);
        return;
    case command::kFirmwareBlock:
        reply(cmd, state_.services.firmwareBlock(len, body), io);
        return;
    case command::kRestart:
        state_.restarted();
        reply(cmd, ack(cmd), io);
        return;
    case command::kNetworkParams:
        state_.keepNetworkParams(Bytes(body.begin(), body.end()));
        reply(cmd, ack(cmd), io);
        return;
    case command::kRtuConfig:
        state_.keepBlock(cmd, Bytes(body.begin(), body.end()));
        reply(cmd, ack(cmd), io);
        return;
    case command::kFieldbusConfig:
        if (len == load::kFieldbusRequestLength) {
            // The downloader's fixed command 21, sent after its serial
            // settings: acknowledged; the fieldbus configuration a download
            // left stays as it is.
            reply(cmd, ack(cmd), io);
            return;
        }
        [[fallthrough]];
    case command::kEipConfig: {
        auto& a = assembly_[cmd];
        const std::size_t total = len & 0xFFFF;
        if (a.complete || a.total != total) {
            a = Assembly{total, {}, false};
        }
        a.data.insert(a.data.end(), body.begin(), body.end());
        if (a.data.size() >= a.total) {
            a.complete = true;
            state_.keepBlock(cmd, a.data);
        }
        reply(cmd, ack(cmd), io);
        return;
    }
    default:
        reply(cmd, ack(cmd), io);
        return;
    }
}

} // namespace vantor::sim
