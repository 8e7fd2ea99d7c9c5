// The live project's value model, driven by the time passed in: patterns
// after a number of poll cycles, client writes reaching the slaves, dead
// slaves, several lines, control words, and the request parser.
#include "LiveProject.h"
#include "ModbusSession.h"

#include "EditingFixtures.h"
#include "model/ProjectFile.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <tuple>
#include <unistd.h>

using namespace vantor;
using sim::DataTable;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

model::CModule changeTriggered(model::CModule m) {
    m.editSend = 1;
    return m;
}

// One KX-P2R0-1.0 line COM1 with slave 7 carrying `modules`.
model::CVantorDoc oneSlave(std::vector<model::CModule> modules) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
    const int s = addTestSlave(doc, "COM1", 7);
    doc.slaves[static_cast<std::size_t>(s)].modules = std::move(modules);
    return doc;
}

// A time inside cycle `n` of a line (after it completed n cycles).
int64_t afterCycles(const sim::LiveProject& live, int64_t n, std::size_t line = 0) {
    return static_cast<int64_t>(std::ceil(static_cast<double>(n) * live.cycleMs()[line])) + 1;
}

std::vector<uint16_t> range(const sim::LiveProject& live, DataTable t, int from, int count) {
    const auto& area = live.table(t);
    return {area.begin() + from, area.begin() + from + count};
}

sim::LiveProject::SlaveWords wordsOf(const sim::LiveProject& live, int port, int address) {
    for (const auto& w : live.slaveWords())
        if (w.port == port && w.address == address)
            return w;
    ADD_FAILURE() << "no words for port " << port << " slave " << address;
    return {};
}

} // namespace

TEST(LiveProjectPatterns, ReadRangesAfterSoManyCycles) {
    // Input registers 0..2 read slave data 0..2 (counter, ramp, sine);
    // holding registers 10..11 read slave data 99..100 (counter, ramp).
    const auto doc = oneSlave({command("读3区 04H", 0, 3, 0), command("读4区 03H", 99, 2, 10)});
    const struct {
        int64_t cycles;
        std::vector<uint16_t> input;   // r = 0, 1, 2
        std::vector<uint16_t> holding; // r = 99, 100
    } cases[] = {
        {0, {0, 0, 0}, {0, 0}}, // nothing polled yet
        {1, {1, 200, 1309}, {100, 100 * 1}},
        {13, {13, 1400, 2000}, {112, 1300}},      // sine at its top
        {28, {28, 2900, 1000}, {127, 2800}},      // sine through the middle
        {43, {43, 4400, 0}, {142, 4300}},         // sine at its bottom
        {98, {98, 9900, 134}, {197, 9800}},       // ramp at its top
        {99, {99, 0, 86}, {198, 9900}},           // ramp wrapped
        {65535, {65535, 3600, 1978}, {98, 3500}}, // counter of r = 99 wrapped
        {65536, {0, 3700, 1951}, {99, 3600}},     // counter of r = 0 wrapped
    };
    for (const auto& c : cases) {
        sim::LiveProject live(doc, {}, true);
        live.advanceTo(afterCycles(live, c.cycles));
        ASSERT_EQ(live.cycles(), std::vector<int64_t>{c.cycles});
        EXPECT_EQ(range(live, DataTable::InputRegisters, 0, 3), c.input) << c.cycles << " cycles";
        EXPECT_EQ(range(live, DataTable::HoldingRegisters, 10, 2), c.holding) << c.cycles << " cycles";
    }
}

TEST(LiveProjectPatterns, BitsCountTheCyclesInBinary) {
    const auto doc = oneSlave({command("读1区 02H", 0, 8, 0), command("读0区 01H", 12, 4, 100)});
    const struct {
        int64_t cycles;
        std::vector<uint16_t> inputs; // slave 0..7
        std::vector<uint16_t> coils;  // slave 12..15: bits 4..7 of the count
    } cases[] = {
        {5, {1, 0, 1, 0, 0, 0, 0, 0}, {0, 0, 0, 0}},
        {0xA3, {1, 1, 0, 0, 0, 1, 0, 1}, {0, 1, 0, 1}},
        {256, {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        sim::LiveProject live(doc, {}, true);
        live.advanceTo(afterCycles(live, c.cycles));
        EXPECT_EQ(range(live, DataTable::DiscreteInputs, 0, 8), c.inputs) << c.cycles;
        EXPECT_EQ(range(live, DataTable::Coils, 100, 4), c.coils) << c.cycles;
    }
}

TEST(LiveProjectWrites, ClientWritesReachTheSlaveInTheNextCycle) {
    // Writes and reads over the same slave data: holding 10..11 (every
    // cycle), coils 0..3 (every cycle), holding 50 (on change only).
    const auto doc = oneSlave({command("写4区 10H 写多字", 10, 2, 100), command("读4区 03H", 10, 2, 200),
                               command("写0区 0FH 写多线圈", 0, 4, 0), command("读0区 01H", 0, 4, 16),
                               changeTriggered(command("写4区 06H 写单字", 50, 1, 300)),
                               command("读4区 03H", 50, 1, 301)});
    sim::LiveProject live(doc, {}, true);
    const int64_t cycle1 = afterCycles(live, 1);
    const int64_t cycle2 = afterCycles(live, 2);
    const struct {
        const char* when;
        int64_t at;
        std::vector<uint16_t> holding200; // read back of the multiple write
        std::vector<uint16_t> coils16;    // read back of the coils
        uint16_t holding301;              // read back of the on-change write
    } steps[] = {
        // Cyclic writes carry the gateway's zeros; the on-change write has
        // sent nothing, so slave datum 50 still shows its sine (x = 51).
        {"first cycle", cycle1, {0, 0}, {0, 0, 0, 0}, 191},
        {"written, same cycle", cycle1 + 1, {0, 0}, {0, 0, 0, 0}, 191},
        {"next cycle", cycle2, {4321, 99}, {1, 0, 1, 1}, 777},
        {"long after", afterCycles(live, 500), {4321, 99}, {1, 0, 1, 1}, 777},
    };
    for (const auto& s : steps) {
        live.advanceTo(s.at);
        if (s.at == cycle1 + 1) {
            live.apply(s.at, {DataTable::HoldingRegisters, 100, {4321, 99}});
            live.apply(s.at, {DataTable::Coils, 0, {1, 0, 1, 1}});
            live.apply(s.at, {DataTable::HoldingRegisters, 300, {777}});
            // The gateway's own memory holds what the client wrote at once.
            EXPECT_EQ(range(live, DataTable::HoldingRegisters, 100, 2), (std::vector<uint16_t>{4321, 99}));
        }
        EXPECT_EQ(range(live, DataTable::HoldingRegisters, 200, 2), s.holding200) << s.when;
        EXPECT_EQ(range(live, DataTable::Coils, 16, 4), s.coils16) << s.when;
        EXPECT_EQ(live.table(DataTable::HoldingRegisters)[301], s.holding301) << s.when;
    }
}

TEST(LiveProjectWrites, ClientWriteIntoAReadRangeIsOverwrittenByTheNextPoll) {
    const auto doc = oneSlave({command("读4区 03H", 0, 1, 5)});
    sim::LiveProject live(doc, {}, true);
    live.apply(afterCycles(live, 3), {DataTable::HoldingRegisters, 5, {4242}});
    EXPECT_EQ(live.table(DataTable::HoldingRegisters)[5], 4242);
    live.advanceTo(afterCycles(live, 4));
    EXPECT_EQ(live.table(DataTable::HoldingRegisters)[5], 4); // counter r = 0
}

TEST(LiveProjectDead, StateWordsShowTimeoutsAndReadsStayFrozen) {
    // COM1: slave 1 answers, slave 2 is dead; each reads two registers and
    // slave 2 also writes one on change (not counted as polled).
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1"});
    addTestSlave(doc, "COM1", 1);
    addTestSlave(doc, "COM1", 2);
    doc.slaves[0].modules = {command("读4区 03H", 0, 2, 0)};
    doc.slaves[1].modules = {command("读4区 03H", 0, 2, 10),
                             changeTriggered(command("写4区 06H 写单字", 5, 1, 20))};
    const std::set<std::pair<std::string, int>> dead{{"COM1", 2}};
    const struct {
        bool statusLayout;
        int64_t cycles;
        uint16_t healthy, dead;
    } cases[] = {
        {true, 1, 0x8000 | 0x1 | 1 << 2, 0x8000 | 0x2 | 1 << 8},
        {true, 10, 0x8000 | 0x1 | 10 << 2, 0x8000 | 0x2 | 10 << 8},
        {true, 63, 0x8000 | 0x1 | 63 << 2, 0x8000 | 0x2 | 63 << 8},
        {true, 64, 0x8000 | 0x1, 0x8000 | 0x4000 | 0x2}, // failures overflowed
        {true, 100, 0x8000 | 0x1 | 36 << 2, 0xC000 | 0x2 | 36 << 8},
        {false, 1, 0x1 | 1 << 1, 1 << 8},
        {false, 127, 0x1 | 127 << 1, 127 << 8},
        {false, 130, 0x1 | 2 << 1, 0x8000 | 2 << 8},
    };
    for (const auto& c : cases) {
        sim::LiveProject live(doc, dead, c.statusLayout);
        live.apply(afterCycles(live, 0), {DataTable::HoldingRegisters, 20, {9}});
        live.advanceTo(afterCycles(live, c.cycles));
        EXPECT_EQ(wordsOf(live, 1, 1).state, c.healthy) << c.cycles << " layout " << c.statusLayout;
        EXPECT_EQ(wordsOf(live, 1, 2).state, c.dead) << c.cycles << " layout " << c.statusLayout;
        EXPECT_EQ(range(live, DataTable::HoldingRegisters, 10, 2), (std::vector<uint16_t>{0, 0})) << c.cycles;
        EXPECT_EQ(live.table(DataTable::HoldingRegisters)[0], c.cycles % 65536) << c.cycles;
    }
    // The dead slave's reply timeout lengthens the line's cycle.
    EXPECT_GT(sim::LiveProject(doc, dead, true).cycleMs()[0], sim::LiveProject(doc, {}, true).cycleMs()[0]);
}

TEST(LiveProjectLines, EachLineCyclesAtItsOwnPace) {
    // KX-P6R0-1.0 with COM1 at 9600 and COM3 at 115200, one slave each
    // reading its counter (r = 0) into its own input register.
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1", "COM3"});
    doc.coms[1].baud = 6;
    doc.coms[0].space = doc.coms[1].space = 1; // 10 ms between slaves
    addTestSlave(doc, "COM1", 4);
    addTestSlave(doc, "COM3", 4);
    doc.slaves[0].modules = {command("读3区 04H", 0, 1, 0)};
    doc.slaves[1].modules = {command("读3区 04H", 0, 1, 1), command("读4区 03H", 0, 1, 1)};
    sim::LiveProject live(doc, {}, true);
    const auto period = live.cycleMs();
    ASSERT_EQ(period.size(), 2u);
    EXPECT_LT(period[1], period[0]);
    for (int64_t t : {int64_t{0}, afterCycles(live, 3), afterCycles(live, 40), afterCycles(live, 200, 1)}) {
        live.advanceTo(t);
        const auto cycles = live.cycles();
        EXPECT_EQ(range(live, DataTable::InputRegisters, 0, 2),
                  (std::vector<uint16_t>{static_cast<uint16_t>(cycles[0]), static_cast<uint16_t>(cycles[1])}))
            << t;
        EXPECT_GE(cycles[1], cycles[0]) << t;
        // COM3 is port 3: its slave's words are there, counting two commands.
        EXPECT_EQ(wordsOf(live, 3, 4).state, 0x8000 | 0x1 | ((2 * cycles[1]) & 0x3F) << 2) << t;
        EXPECT_EQ(wordsOf(live, 1, 4).state, 0x8000 | 0x1 | (cycles[0] & 0x3F) << 2) << t;
    }
    EXPECT_GT(live.cycles()[1], live.cycles()[0]);
    // Time does not run backwards.
    const auto before = live.cycles();
    live.advanceTo(1);
    EXPECT_EQ(live.cycles(), before);
}

TEST(LiveProjectControl, ControlWordsStopAndResumePollingAndClearFailures) {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM2"});
    addTestSlave(doc, "COM2", 3);
    addTestSlave(doc, "COM2", 9);
    doc.slaves[0].modules = {command("读4区 03H", 0, 1, 0)};
    doc.slaves[1].modules = {command("读4区 03H", 0, 1, 1)};
    sim::LiveProject live(doc, {{"COM2", 9}}, true);
    const int control3 = 2001 + 256 + 2, control9 = 2001 + 256 + 8;
    EXPECT_EQ(wordsOf(live, 2, 3).control, 0x0001);
    const struct {
        const char* what;
        int64_t cycles;
        std::optional<sim::ClientWrite> write;
        uint16_t value3, control3, control9;
        uint16_t state9;
    } steps[] = {
        {"polled", 5, std::nullopt, 5, 0x0001, 0x0001, 0x8000 | 0x2 | 5 << 8},
        {"slave 3 stopped", 5, sim::ClientWrite{DataTable::HoldingRegisters, control3, {0x0000}}, 5, 0, 1,
         0x8000 | 0x2 | 5 << 8},
        {"frozen", 9, std::nullopt, 5, 0, 1, 0x8000 | 0x2 | 9 << 8},
        {"slave 3 resumed", 9, sim::ClientWrite{DataTable::HoldingRegisters, control3, {0x0001}}, 5, 1, 1,
         0x8000 | 0x2 | 9 << 8},
        {"polled again", 12, std::nullopt, 12, 1, 1, 0x8000 | 0x2 | 12 << 8},
        {"failures cleared", 12, sim::ClientWrite{DataTable::HoldingRegisters, control9, {0x0003}}, 12, 1, 1,
         0x8000 | 0x2},
        {"counting again", 14, std::nullopt, 14, 1, 1, 0x8000 | 0x2 | 2 << 8},
    };
    for (const auto& s : steps) {
        const int64_t at = afterCycles(live, s.cycles);
        live.advanceTo(at);
        if (s.write)
            live.apply(at, *s.write);
        EXPECT_EQ(live.table(DataTable::HoldingRegisters)[0], s.value3) << s.what;
        EXPECT_EQ(wordsOf(live, 2, 3).control, s.control3) << s.what;
        EXPECT_EQ(wordsOf(live, 2, 9).control, s.control9) << s.what;
        EXPECT_EQ(wordsOf(live, 2, 9).state, s.state9) << s.what;
    }
}

TEST(LiveProjectRequests, WritesAreReadOnlyFromCompleteRequests) {
    using B = transfer::Bytes;
    const B mbap{0, 1, 0, 0, 0, 6, 9};
    auto adu = [&](B pdu) {
        B b = mbap;
        b.insert(b.end(), pdu.begin(), pdu.end());
        return b;
    };
    const struct {
        const char* what;
        B adu;
        std::optional<sim::ClientWrite> write;
    } cases[] = {
        {"single coil on", adu({5, 0x00, 0x10, 0xFF, 0x00}), sim::ClientWrite{DataTable::Coils, 16, {1}}},
        {"single coil off", adu({5, 0x00, 0x10, 0x00, 0x00}), sim::ClientWrite{DataTable::Coils, 16, {0}}},
        {"single coil, bad value", adu({5, 0x00, 0x10, 0x12, 0x34}), std::nullopt},
        {"single register", adu({6, 0x07, 0xD1, 0x00, 0xFD}),
         sim::ClientWrite{DataTable::HoldingRegisters, 2001, {0xFD}}},
        {"ten coils", adu({15, 0x00, 0x02, 0x00, 0x0A, 0x02, 0b1100'0101, 0b10}),
         sim::ClientWrite{DataTable::Coils, 2, {1, 0, 1, 0, 0, 0, 1, 1, 0, 1}}},
        {"two registers", adu({16, 0x00, 0x64, 0x00, 0x02, 0x04, 0x10, 0xE1, 0x00, 0x63}),
         sim::ClientWrite{DataTable::HoldingRegisters, 100, {4321, 99}}},
        {"registers cut short", adu({16, 0x00, 0x64, 0x00, 0x02, 0x04, 0x10, 0xE1}), std::nullopt},
        {"byte count too small", adu({16, 0x00, 0x64, 0x00, 0x02, 0x02, 0x10, 0xE1, 0x00, 0x63}),
         std::nullopt},
        {"coils cut short", adu({15, 0x00, 0x02, 0x00, 0x0A, 0x02, 0xC5}), std::nullopt},
        {"no quantity", adu({16, 0x00, 0x64, 0x00, 0x00, 0x00}), std::nullopt},
        {"too many registers", adu({16, 0x00, 0x00, 0x00, 0x7C, 0xF8}), std::nullopt},
        {"header only", adu({16, 0x00}), std::nullopt},
        {"a read", adu({3, 0x00, 0x00, 0x00, 0x02}), std::nullopt},
        {"empty", B{}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim::clientWriteOf(c.adu), c.write) << c.what;
    // Complete requests beyond the largest quantities.
    for (const auto& [function, count, bytes] : {std::tuple{16, 124, 248}, std::tuple{15, 1969, 247}}) {
        const auto n = static_cast<unsigned>(count);
        B pdu{static_cast<uint8_t>(function),
              0,
              0,
              static_cast<uint8_t>(n >> 8),
              static_cast<uint8_t>(n & 0xFF),
              static_cast<uint8_t>(bytes)};
        pdu.resize(pdu.size() + static_cast<std::size_t>(bytes), 0);
        EXPECT_EQ(sim::clientWriteOf(adu(pdu)), std::nullopt) << function << " x " << count;
    }
}

TEST(LiveProjectStart, DemoProjectAndDeadSlaveNames) {
    std::string error;
    EXPECT_FALSE(sim::prepareLiveProject(VANTOR_DATA_DIR "/no-such.vtc", &error));
    EXPECT_NE(error.find("no-such.vtc"), std::string::npos) << error;

    auto start = sim::prepareLiveProject(VANTOR_DATA_DIR "/demo.vtc", &error);
    ASSERT_TRUE(start) << error;
    EXPECT_EQ(start->doc.modelName(), "KX-P2R0-1.0");
    const struct {
        std::set<std::pair<std::string, int>> dead;
        std::vector<std::string> unknown;
    } cases[] = {
        {{{"COM1", 3}, {"COM2", 5}}, {}},
        {{{"COM1", 5}}, {"COM1:5"}},
        {{{"COM3", 1}, {"COM1", 1}}, {"COM3:1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim::unknownDeadSlaves(start->doc, c.dead), c.unknown);
}

// A project the download would refuse does not start: the reason is the
// download check's own message.
TEST(LiveProjectStart, ProjectsTheDownloadRefusesDoNotStart) {
    const auto dir = std::filesystem::temp_directory_path() / ("vantor-live-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const struct {
        const char* name;
        model::CVantorDoc doc;
        const char* message;
    } cases[] = {
        {"beyond the bit area", oneSlave({command("读0区 01H", 0, 10, 8190)}), "网关数据区访问超限"},
        {"no gateway", model::CVantorDoc{}, "请添加一个主站!"},
    };
    for (const auto& c : cases) {
        const std::string path = (dir / "refused.vtc").string();
        std::string error;
        ASSERT_TRUE(model::ProjectFile::save(c.doc, path, VANTOR_DATA_DIR, &error)) << error;
        EXPECT_FALSE(sim::prepareLiveProject(path, &error)) << c.name;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
    std::filesystem::remove_all(dir);
}

// The MODBUS tables while the live project is the gateway's configuration,
// after a client write, and after another configuration was downloaded.
TEST(LiveProjectRegisters, TablesFollowTheLiveProjectUntilAnotherDownload) {
    std::string error;
    auto start = sim::prepareLiveProject(VANTOR_DATA_DIR "/demo.vtc", &error);
    ASSERT_TRUE(start) << error;
    sim::GatewayState state(start->doc.modelName(), "");
    sim::keepAsDownloaded(state, *start);
    EXPECT_EQ(state.blocks().at(transfer::command::kFieldbusConfig), start->blocks.fieldbus);

    sim::LiveProject live(start->doc, {{"COM1", 3}}, true);
    sim::ModbusRegisters registers(true, true);
    registers.attachLive(&live, start->blocks.fieldbus);
    registers.follow(state);
    const int64_t t = afterCycles(live, 4);
    registers.advanceTo(t);
    auto* map = registers.mapping();
    // COM1 slave 1 reads its holding registers 0..7 into 40000..40007.
    EXPECT_EQ(map->tab_registers[0], live.cycles()[0]);
    EXPECT_NE(map->tab_registers[0], 0);
    EXPECT_EQ(map->tab_input_registers[2003], 0x8000 | 0x2 | (live.cycles()[0] & 0x3F) << 8); // COM1:3 dead
    EXPECT_EQ(registers.stateWord(2, 5), wordsOf(live, 2, 5).state);
    EXPECT_EQ(registers.controlWord(1, 1), 0x0001);
    EXPECT_EQ(map->tab_input_bits[2], 1); // bit 2 of the count 4

    // A client writes COM2 slave 1's two command words (40019..40020).
    const transfer::Bytes write{0,    1,    0,    0,    0,    11,   9,    16,  0x00,
                                0x13, 0x00, 0x02, 0x04, 0x12, 0x34, 0x56, 0x78};
    registers.written(write, t + 1);
    EXPECT_EQ(live.table(DataTable::HoldingRegisters)[19], 0x1234);
    EXPECT_EQ(live.table(DataTable::HoldingRegisters)[20], 0x5678);

    // Another project downloaded: the data areas empty, the counters return.
    state.keepBlock(transfer::command::kFieldbusConfig, transfer::Bytes(start->blocks.fieldbus.size(), 0));
    registers.follow(state);
    registers.advanceTo(t + 5000);
    EXPECT_EQ(map->tab_registers[0], 0);
    EXPECT_EQ(map->tab_input_bits[2], 0);
    EXPECT_EQ(registers.stateWord(1, 1), 0);
}
