#pragma once
// Reassembly of replies on the device link, shared by every exchange.
//
// Two framings travel on the link. Command frames (the configuration
// services) are handed over as they arrive: each read that comes while a
// reply is awaited is one reply, whatever its length; the gateway's replies
// are short. MODBUS TCP frames are collected until the size announced by the
// MBAP header (byte 4 x 256 + byte 5 + 6) is reached. Nothing is delivered
// while no reply is awaited, and a frame that would not fit the receive
// buffer, or that runs past the size it announced, is dropped.
#include "transfer/Bytes.h"

#include <array>
#include <cstddef>
#include <vector>

namespace vantor::transfer {

enum class Framing { Command, ModbusTcp };

class LinkReceiver {
public:
    static constexpr std::size_t kBufferSize = 8336;
    // Longest read at a frame start (one byte of the buffer stays unused, as
    // the link always has).
    static constexpr std::size_t kFirstReadMax = kBufferSize - 1;
    static constexpr std::size_t kMbapHeader = 6;

    explicit LinkReceiver(Framing framing) : framing_(framing) {}

    Framing framing() const { return framing_; }

    // A new connection: the next data begin a new frame.
    void reset();

    // The reply-awaited flag: set right after a request went out, cleared
    // when a reply is delivered or dropped.
    void expectReply() { awaiting_ = true; }
    void cancelReply() { awaiting_ = false; }
    bool awaitingReply() const { return awaiting_; }

    // Bytes of a MODBUS TCP frame collected so far (0 at a frame start).
    std::size_t receivedSoFar() const { return held_; }
    bool atFrameStart() const { return frameStart_; }

    // One read's worth of data from the socket. Returns the frames to hand
    // to the owner (at most one per call for command frames; MODBUS TCP
    // frames are delivered once each). Data beyond one read's maximum are
    // treated as the following read(s).
    std::vector<Bytes> feed(ByteView data);

private:
    void feedOneRead(ByteView data, std::vector<Bytes>& out);
    void feedModbus(ByteView data, std::vector<Bytes>& out);

    Framing framing_;
    bool awaiting_ = false;
    bool frameStart_ = true;
    std::size_t held_ = 0;
    std::array<uint8_t, kBufferSize> buffer_{};
};

} // namespace vantor::transfer
