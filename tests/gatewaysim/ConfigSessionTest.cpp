// The configuration port's split-reply switch: with the hold, the second
// segment waits for the peer's next request, so a client always receives
// the first segment alone.
#include "ConfigSession.h"

#include "load/LoadRequests.h"
#include "net/NetCompiler.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct RecordingIo : sim::SessionIo {
    void write(sim::Bytes bytes, int delayMs) override { writes.push_back({std::move(bytes), delayMs}); }
    void reset(int) override { ended = true; }
    void close() override { ended = true; }
    int fd() const override { return -1; }
    int64_t nowMs() const override { return 0; }
    struct Write {
        sim::Bytes bytes;
        int delayMs;
    };
    std::vector<Write> writes;
    bool ended = false;
};

sim::Bytes request(uint32_t command) {
    return transfer::commandFrame(command, 0);
}

} // namespace

TEST(ConfigSessionSplit, SecondSegmentWaitsForTheNextRequestWhenHeld) {
    struct Case {
        bool hold;
        std::size_t writesAfterFirst;
    } cases[] = {{false, 2}, {true, 1}};
    for (const auto& c : cases) {
        sim::GatewayState state("KX-P2R0-1.0", "");
        state.faults.splitReply.insert(transfer::command::kRestart);
        state.faults.splitHold = c.hold;
        sim::ConfigSession session(state);
        RecordingIo io;
        session.onData(request(transfer::command::kRestart), io);
        ASSERT_EQ(io.writes.size(), c.writesAfterFirst) << "hold " << c.hold;
        const std::size_t first = io.writes[0].bytes.size();
        EXPECT_EQ(first, 6u); // half of the 12-byte acknowledgement
        if (!c.hold) {
            EXPECT_EQ(io.writes[1].delayMs, state.faults.splitGapMs);
            continue;
        }
        // The next request releases the rest at once, before its own reply.
        session.onData(request(transfer::command::kSerialNumber), io);
        ASSERT_GE(io.writes.size(), 3u);
        EXPECT_EQ(io.writes[1].bytes.size(), 6u);
        EXPECT_EQ(io.writes[1].delayMs, 0);
        EXPECT_EQ(io.writes[2].bytes[0], transfer::command::kSerialNumber);
    }
}

// VantorLoad's RTU operation arriving in one stream: the serial settings,
// the fixed command 21 (length word 1, one word of body) and the restart are
// each acknowledged; the fieldbus configuration a download left stays.
TEST(ConfigSessionDownloader, FixedFieldbusRequestIsOneWordAndKeepsTheBlock) {
    sim::GatewayState state("NXE-485-ZRTU2", "");
    const sim::Bytes downloaded{1, 2, 3};
    state.keepBlock(transfer::command::kFieldbusConfig, downloaded);
    sim::ConfigSession session(state);
    RecordingIo io;
    load::LoadFields fields;
    sim::Bytes stream = load::rtuSettingsRequest(fields);
    for (const auto& frame : {load::fieldbusRequest(), load::restartRequest()})
        stream.insert(stream.end(), frame.begin(), frame.end());
    session.onData(stream, io);
    ASSERT_EQ(io.writes.size(), 3u);
    EXPECT_EQ(io.writes[0].bytes[0], transfer::command::kRtuConfig);
    EXPECT_EQ(io.writes[1].bytes[0], transfer::command::kFieldbusConfig);
    EXPECT_EQ(io.writes[1].bytes[transfer::kStatusOffset], 0);
    EXPECT_EQ(io.writes[2].bytes[0], transfer::command::kRestart);
    EXPECT_EQ(state.restarts(), 1);
    EXPECT_EQ(state.blocks().at(transfer::command::kRtuConfig).size(), 40u);
    EXPECT_EQ(state.blocks().at(transfer::command::kFieldbusConfig), downloaded);
}

TEST(ConfigSessionNet, ImageBPartsAreJoinedByTheirTotalWhateverTheSegments) {
    // VantorNet's image A and the parts of image B, as one stream and cut
    // into 7-byte segments: the kept blocks are the images, one
    // acknowledgement per request.
    sim::Bytes imageA(20, 0x11), imageB(500);
    for (std::size_t i = 0; i < imageB.size(); ++i)
        imageB[i] = static_cast<uint8_t>(i);
    sim::Bytes stream = net::imageAFrame(imageA);
    for (std::size_t i = 0; i < net::imageBPartCount(imageB); ++i) {
        auto part = net::imageBPart(imageB, i);
        stream.insert(stream.end(), part.begin(), part.end());
    }
    for (std::size_t segment : {stream.size(), std::size_t{7}}) {
        sim::GatewayState state("QB-H-NET2.0", "");
        sim::ConfigSession session(state);
        RecordingIo io;
        for (std::size_t at = 0; at < stream.size(); at += segment)
            session.onData(transfer::ByteView(stream).subspan(at, std::min(segment, stream.size() - at)), io);
        EXPECT_EQ(state.blocks().at(transfer::command::kRtuConfig), imageA) << segment;
        EXPECT_EQ(state.blocks().at(transfer::command::kFieldbusConfig), imageB) << segment;
        EXPECT_EQ(io.writes.size(), 4u) << segment;
    }
}
