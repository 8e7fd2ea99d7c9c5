// The simulated gateway's device-service pieces without sockets: the slaves
// it reads from a downloaded fieldbus block, its state-word counters and
// control bits, and its firmware sequence checks.
#include "../core/transfer/ProjectBuilder.h"
#include "GatewayState.h"
#include "ModbusSession.h"
#include "SimDeviceServices.h"

#include "transfer/CommandFrame.h"
#include "transfer/ConfigurationImage.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <algorithm>

namespace vantor::sim {
namespace {

using transfer::testing::ProjectBuilder;

TEST(SimSlaves, ReadFromTheFieldbusBlockOfEachLayout) {
    struct Case {
        const char* model;
        std::vector<std::pair<std::string, int>> slaves;
        std::vector<SimSlave> expected;
    } cases[] = {
        {"KX-P6R0-1.0", {{"COM1", 3}, {"COM6", 250}, {"COM4", 7}}, {{1, 3}, {4, 7}, {6, 250}}},
        {"KX-P1R0-1.0", {{"COM1", 9}, {"COM1", 2}}, {{1, 2}, {1, 9}}},
        {"NXE-485-ZRTU2", {{"COM2", 5}}, {{2, 5}}},
        {"NXE-485-ZRTU2E", {{"COM1", 1}, {"COM2", 64}}, {{1, 1}, {2, 64}}},
        {"TRC-H-ZRTU", {{"COM2", 4}}, {{2, 4}}},
    };
    for (const auto& c : cases) {
        ProjectBuilder b(c.model);
        for (const char* com : {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"})
            for (const auto& [name, address] : c.slaves)
                if (name == com && b.doc.lineByName(com) < 0)
                    b.line(com);
        if (std::string(c.model) == "TRC-H-ZRTU" && b.doc.lineByName("COM1") < 0)
            b.line("COM1");
        for (const auto& [name, address] : c.slaves)
            b.slave(name, address).command("读4区 03H", 0, 1, address);
        const auto block = transfer::buildFieldbusBlock(b.doc);
        auto got = slavesOfFieldbusBlock(c.model, block);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.expected) << c.model;
        // A cut block gives what was read before the cut, and never more.
        auto cut = slavesOfFieldbusBlock(c.model, transfer::ByteView(block).first(block.size() / 2));
        EXPECT_LE(cut.size(), c.expected.size()) << c.model;
    }
}

TEST(SimRegisters, CountersAdvanceAndControlBitsAct) {
    ModbusRegisters regs(true);
    regs.setSlaves({{1, 1}, {2, 5}});
    EXPECT_EQ(regs.stateWord(1, 1), 0x8001);
    EXPECT_EQ(regs.controlWord(2, 5), 0x0001);
    EXPECT_EQ(regs.stateWord(1, 2), 0);
    regs.advanceTo(0);
    regs.advanceTo(4999); // four ticks: four successes
    EXPECT_EQ(regs.stateWord(1, 1), 0x8000 | 4 << 2 | 1);
    regs.advanceTo(5000); // the fifth fails
    EXPECT_EQ(regs.stateWord(1, 1), 0x8000 | 1 << 8 | 4 << 2 | 2);

    // Bit 0 clear: the counters of that slave stand still.
    regs.mapping()->tab_registers[2261 - 2001] = 0x0000;
    regs.controlWritten(2261);
    const uint16_t frozen = regs.stateWord(2, 5);
    regs.tick();
    EXPECT_EQ(regs.stateWord(2, 5), frozen);
    EXPECT_NE(regs.stateWord(1, 1), 0x8000 | 1 << 8 | 4 << 2 | 2);

    // Bit 1 clears the failure counter once and does not stay set.
    regs.mapping()->tab_registers[0] = 0x0003;
    regs.controlWritten(2001);
    EXPECT_EQ(regs.controlWord(1, 1), 0x0001);
    EXPECT_EQ(regs.stateWord(1, 1) & 0x3F00, 0);

    // A slave that leaves the configuration clears both words.
    regs.setSlaves({{1, 1}});
    EXPECT_EQ(regs.stateWord(2, 5), 0);
    EXPECT_EQ(regs.controlWord(2, 5), 0);
}

// The online/time-out layout: bit 15 is the time-out counter's overflow,
// set only once the 7-bit counter has run over.
TEST(SimRegisters, OnlineLayoutSetsBit15OnlyOnOverflow) {
    ModbusRegisters regs(false);
    regs.setSlaves({{1, 1}});
    const struct {
        int64_t ms;
        uint16_t word;
    } steps[] = {
        {0, 0x0001},
        {4000, 0x0001 | 4 << 1},         // four answers
        {5000, 1 << 8 | 4 << 1},         // the fifth timed out: offline
        {6000, 1 << 8 | 5 << 1 | 1},     // online again
        {635000, 0x7F << 8 | 0x7C << 1}, // 127 time-outs, 508 answers
        {640000, 0x8000},                // the 128th: the counter ran over
        {641000, 0x8000 | 1 << 1 | 1},   // 513 answers
    };
    for (const auto& s : steps) {
        regs.advanceTo(s.ms);
        EXPECT_EQ(regs.stateWord(1, 1), s.word) << s.ms;
    }
}

transfer::Bytes block(uint32_t sequence, std::size_t n) {
    transfer::Bytes body;
    transfer::putU32(body, sequence);
    body.resize(4 + n, static_cast<uint8_t>(sequence + 1));
    return body;
}

uint8_t result(const transfer::Bytes& reply) {
    return reply.at(transfer::kStatusOffset);
}

TEST(SimFirmware, SequenceChecksAndClosingFrame) {
    SimDeviceServices s;
    EXPECT_EQ(result(s.firmwareBlock(244, block(0, 240))), 0);
    EXPECT_EQ(result(s.firmwareBlock(14, block(2, 10))), kFirmwareBadSequence);
    EXPECT_EQ(result(s.firmwareBlock(13, block(1, 10))), kFirmwareBadLength);
    EXPECT_EQ(result(s.firmwareBlock(14, block(1, 10))), 0);
    transfer::Bytes closing;
    transfer::putU32(closing, 0x80000001u);
    closing.resize(36, 0xEE);
    EXPECT_EQ(result(s.firmwareBlock(36, closing)), kFirmwareBadClosing) << "sequence 1 was already used";
    closing[0] = 2;
    EXPECT_EQ(result(s.firmwareBlock(36, closing)), 0);
    EXPECT_TRUE(s.firmwareComplete());
    EXPECT_EQ(s.firmwareImage().size(), 250u);
    EXPECT_EQ(s.firmwareHeader(), transfer::Bytes(32, 0xEE));
    // A new attempt starts again from block 0.
    EXPECT_EQ(result(s.firmwareBlock(8, block(0, 4))), 0);
    EXPECT_FALSE(s.firmwareComplete());
    EXPECT_EQ(s.firmwareImage().size(), 4u);
    s.setFirmwareResult(9);
    EXPECT_EQ(result(s.firmwareBlock(8, block(1, 4))), 9);
}

TEST(SimIdentification, BothLayoutsHoldTheirFields) {
    SimDeviceServices s;
    s.identity().layout = 52;
    s.identity().runState = 4;
    auto r = s.identificationReply({0x74, 0x34, 0x58, 0x06}, {1, 1});
    ASSERT_GE(r.size(), 61u);
    EXPECT_EQ(r[4], 52);
    EXPECT_EQ(r[12], 0x74);
    EXPECT_EQ(r[18], 1);
    EXPECT_EQ(r[60], 4);
    EXPECT_EQ(r[57], 0x32);
    s.identity().layout = 44;
    r = s.identificationReply({0x74, 0x34, 0x58, 0x06}, {1, 1});
    ASSERT_GE(r.size(), 53u);
    EXPECT_EQ(r[4], 44);
    EXPECT_EQ(r[52], 4);
    auto serial = s.serialNumberReply();
    EXPECT_EQ(serial.size(), 24u);
    EXPECT_EQ(serial[4], 12);
}

} // namespace
} // namespace vantor::sim
