#include "LiveProject.h"

#include "common/MessageSink.h"
#include "editing/LineBudget.h"
#include "model/CommandKind.h"
#include "model/ProjectFile.h"
#include "model/SlaveRegisters.h"
#include "services/SlaveStateRegisters.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadCommand.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantor::sim {

namespace {

using services::kFunctionOffset;

uint16_t be16At(transfer::ByteView b, std::size_t at) {
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

DataTable tableOfArea(int area) {
    switch (area) {
    case 0:
        return DataTable::Coils;
    case 1:
        return DataTable::DiscreteInputs;
    case 3:
        return DataTable::InputRegisters;
    default:
        return DataTable::HoldingRegisters;
    }
}

bool isBitTable(DataTable t) {
    return t == DataTable::Coils || t == DataTable::DiscreteInputs;
}

int areaSize(DataTable t) {
    return isBitTable(t) ? kBitAreaSize : kWordAreaSize;
}

std::string slaveName(const std::string& line, int address) {
    return line + ":" + std::to_string(address);
}

} // namespace

uint16_t patternWord(int r, int64_t n) {
    const int64_t x = n + r;
    switch (r % 3) {
    case 0:
        return static_cast<uint16_t>(x & 0xFFFF);
    case 1:
        return static_cast<uint16_t>(100 * (x % 100));
    default:
        return static_cast<uint16_t>(std::lround(
            1000.0 + 1000.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(x % 60) / 60.0)));
    }
}

bool patternBit(int r, int64_t n) {
    return (n >> (static_cast<unsigned>(r) % 8)) & 1;
}

std::optional<ClientWrite> clientWriteOf(transfer::ByteView adu) {
    if (adu.size() < kFunctionOffset + 5)
        return std::nullopt;
    const uint8_t function = adu[kFunctionOffset];
    const int address = be16At(adu, 8);
    const uint16_t word = be16At(adu, 10);
    ClientWrite w;
    w.address = address;
    switch (function) {
    case 5:
        if (word != 0xFF00 && word != 0)
            return std::nullopt;
        w.table = DataTable::Coils;
        w.values = {static_cast<uint16_t>(word ? 1 : 0)};
        return w;
    case 6:
        w.values = {word};
        return w;
    case 15:
    case 16: {
        // The quantities a MODBUS request may carry (the server refuses more).
        const std::size_t count = word;
        const std::size_t most = function == 15 ? 1968 : 123;
        if (adu.size() < 13 || count == 0 || count > most || address + count > 0x10000)
            return std::nullopt;
        const std::size_t bytes = adu[12];
        const std::size_t needed = function == 15 ? (count + 7) / 8 : 2 * count;
        if (bytes < needed || adu.size() < 13 + needed)
            return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) {
            if (function == 15)
                w.values.push_back(static_cast<uint16_t>(adu[13 + i / 8] >> (i % 8) & 1));
            else
                w.values.push_back(be16At(adu, 13 + 2 * i));
        }
        w.table = function == 15 ? DataTable::Coils : DataTable::HoldingRegisters;
        return w;
    }
    default:
        return std::nullopt;
    }
}

std::vector<std::string> unknownDeadSlaves(const model::CVantorDoc& doc,
                                           const std::set<std::pair<std::string, int>>& dead) {
    std::vector<std::string> out;
    for (const auto& slave : dead) {
        const std::string& line = slave.first;
        const int address = slave.second;
        const bool known = std::any_of(doc.slaves.begin(), doc.slaves.end(), [&](const model::CSlave& s) {
            return s.com_name == line && s.address == address && doc.lineByName(line) >= 0;
        });
        if (!known)
            out.push_back(slaveName(line, address));
    }
    return out;
}

std::optional<LiveStart> prepareLiveProject(const std::string& path, std::string* error) {
    LiveStart start;
    std::string reason;
    if (!model::ProjectFile::open(start.doc, path, &reason)) {
        if (error)
            *error = reason;
        return std::nullopt;
    }
    RecordingSink sink; // the empty-slave question answers Yes
    auto blocks = transfer::prepareDownload(start.doc, sink);
    if (!blocks) {
        if (error) {
            error->clear();
            for (const auto& m : sink.messages)
                if (m.kind != MessageKind::Question)
                    *error += (error->empty() ? "" : "; ") + m.text;
        }
        return std::nullopt;
    }
    start.blocks = std::move(*blocks);
    return start;
}

void keepAsDownloaded(GatewayState& state, const LiveStart& start) {
    state.keepBlock(transfer::command::kRtuConfig, start.blocks.rtu);
    state.keepBlock(transfer::command::kFieldbusConfig, start.blocks.fieldbus);
    if (start.blocks.hasEip)
        state.keepBlock(transfer::command::kEipConfig, start.blocks.eip);
}

LiveProject::LiveProject(const model::CVantorDoc& doc, std::set<std::pair<std::string, int>> dead,
                         bool statusLayout)
    : doc_(doc), statusLayout_(statusLayout) {
    for (auto t : {DataTable::Coils, DataTable::DiscreteInputs, DataTable::InputRegisters,
                   DataTable::HoldingRegisters})
        area(t).assign(static_cast<std::size_t>(areaSize(t)), 0);
    const auto budgets = editing::lineBudgets(doc_, editing::kDefaultCycleThresholdMs, dead);
    for (std::size_t l = 0; l < doc_.coms.size(); ++l) {
        Line line;
        line.cycleMs = std::max(budgets[l].cycleMs, kShortestCycleMs);
        const auto& com = doc_.coms[l];
        for (int index : transfer::slavesByAddress(doc_, static_cast<int>(l))) {
            const auto& s = doc_.slaves[static_cast<std::size_t>(index)];
            Slave slave;
            slave.index = index;
            slave.port = transfer::portNumber(com.COMName) + 1;
            slave.address = s.address;
            slave.dead = dead.count({com.COMName, s.address}) > 0;
            slave.polledCommands = static_cast<int>(
                std::count_if(s.modules.begin(), s.modules.end(), editing::polledEveryCycle));
            line.slaves.push_back(slaves_.size());
            slaves_.push_back(std::move(slave));
        }
        lines_.push_back(std::move(line));
    }
}

void LiveProject::advanceTo(int64_t nowMs) {
    if (nowMs <= now_)
        return;
    now_ = nowMs;
    for (auto& line : lines_) {
        const auto target = static_cast<int64_t>(std::floor(static_cast<double>(nowMs) / line.cycleMs));
        if (target > line.cycles)
            runCycles(line, target);
    }
}

void LiveProject::runCycles(Line& line, int64_t target) {
    // Without client writes in between, the cycles from the last one run up
    // to `target` leave the same data as the last of them alone: each write
    // carries the same gateway range again and each read shows the slave at
    // the last cycle. Only the counters need every cycle.
    const auto count = static_cast<uint64_t>(target - line.cycles);
    line.cycles = target;
    for (std::size_t i : line.slaves) {
        Slave& s = slaves_[i];
        if ((s.control & 1) == 0)
            continue;
        const uint64_t exchanges = count * static_cast<uint64_t>(s.polledCommands);
        if (s.dead) {
            s.failures += exchanges;
            continue;
        }
        writePhase(s);
        readPhase(s, target);
        s.successes += exchanges;
    }
}

void LiveProject::writePhase(Slave& s) {
    const auto& modules = doc_.slaves[static_cast<std::size_t>(s.index)].modules;
    for (std::size_t c = 0; c < modules.size(); ++c) {
        const auto& m = modules[c];
        const model::CommandKind* kind = model::findCommandKind(m.Func);
        if (!kind || kind->readWrite == 0 || m.Length <= 0 || m.Gate_Add < 0)
            continue;
        const DataTable t = tableOfArea(kind->area);
        const auto& memory = area(t);
        const int gate = std::min(m.Gate_Add, areaSize(t));
        const int length = std::min(m.Length, areaSize(t) - gate);
        std::vector<uint16_t> range(memory.begin() + gate, memory.begin() + gate + length);
        if (m.editSend == 1) {
            auto [sent, fresh] = s.lastSent.try_emplace(c, range.size(), uint16_t{0});
            if (sent->second == range)
                continue;
            sent->second = range;
        }
        auto& target = t == DataTable::Coils ? s.coils : s.holding;
        for (int k = 0; k < length; ++k)
            target[m.Start_Add + k] = range[static_cast<std::size_t>(k)];
    }
}

void LiveProject::readPhase(const Slave& s, int64_t n) {
    for (const auto& m : doc_.slaves[static_cast<std::size_t>(s.index)].modules) {
        const model::CommandKind* kind = model::findCommandKind(m.Func);
        if (!kind || kind->readWrite != 0 || m.Gate_Add < 0)
            continue;
        const DataTable t = tableOfArea(kind->area);
        auto& memory = area(t);
        for (int k = 0; k < m.Length && m.Gate_Add + k < areaSize(t); ++k)
            memory[static_cast<std::size_t>(m.Gate_Add + k)] = slaveDatum(s, t, m.Start_Add + k, n);
    }
}

uint16_t LiveProject::slaveDatum(const Slave& s, DataTable t, int r, int64_t n) const {
    if (t == DataTable::Coils || t == DataTable::HoldingRegisters) {
        const auto& written = t == DataTable::Coils ? s.coils : s.holding;
        if (auto it = written.find(r); it != written.end())
            return it->second;
    }
    return isBitTable(t) ? patternBit(r, n) : patternWord(r, n);
}

void LiveProject::apply(int64_t atMs, const ClientWrite& write) {
    advanceTo(atMs);
    const bool coils = write.table == DataTable::Coils;
    if (!coils && write.table != DataTable::HoldingRegisters)
        return; // the other two tables are read-only to clients
    for (std::size_t i = 0; i < write.values.size(); ++i) {
        const int a = write.address + static_cast<int>(i);
        const uint16_t v = write.values[i];
        if (a < areaSize(write.table)) {
            area(write.table)[static_cast<std::size_t>(a)] = coils ? (v ? 1 : 0) : v;
            continue;
        }
        const auto slot = model::slaveSlotOf(a);
        if (coils || !slot)
            continue;
        for (auto& s : slaves_) {
            if (s.port != slot->port || s.address != slot->address)
                continue;
            s.control = v;
            if (v & 0x2) {
                // Clears the failure counter once; the bit does not stay set.
                s.failures = 0;
                s.control &= static_cast<uint16_t>(~0x2u);
            }
        }
    }
}

const std::vector<uint16_t>& LiveProject::table(DataTable t) const {
    return areas_[static_cast<std::size_t>(t)];
}

uint16_t LiveProject::stateWord(const Slave& s) const {
    const bool overflowed = s.failures > services::failureCounterMax(statusLayout_);
    return services::stateWord(statusLayout_, {!s.dead, s.successes, s.failures, overflowed});
}

std::vector<LiveProject::SlaveWords> LiveProject::slaveWords() const {
    std::vector<SlaveWords> out;
    for (const auto& s : slaves_)
        if (s.port >= 1 && s.port <= model::kSlavePorts && s.address >= 1 &&
            s.address <= model::kSlavesPerPort)
            out.push_back({s.port, s.address, stateWord(s), s.control});
    return out;
}

std::vector<int64_t> LiveProject::cycles() const {
    std::vector<int64_t> out;
    for (const auto& l : lines_)
        out.push_back(l.cycles);
    return out;
}

std::vector<double> LiveProject::cycleMs() const {
    std::vector<double> out;
    for (const auto& l : lines_)
        out.push_back(l.cycleMs);
    return out;
}

} // namespace vantor::sim
