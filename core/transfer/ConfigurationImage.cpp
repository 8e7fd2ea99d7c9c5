#include "transfer/ConfigurationImage.h"

#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "transfer/CommandFrame.h"

#include <algorithm>

namespace vantor::transfer {

using model::CVantorDoc;

PortLayout portLayout(std::string_view model) {
    if (model == "KX-P6R0-1.0" || model == "KX-P4R0-1.0" || model == "KX-P2R0-1.0" || model == "TRX-H-QMB6")
        return PortLayout::SixSlot;
    if (model == "KX-P1R0-1.0" || model == "LNK-P1-1.0" || model == "KX-P1-1.0")
        return PortLayout::SinglePort;
    return PortLayout::Listed;
}

int portNumber(std::string_view comName) {
    if (comName.size() == 4 && comName.substr(0, 3) == "COM" && comName[3] >= '1' && comName[3] <= '6')
        return comName[3] - '1';
    return -1;
}

namespace {

bool isCdtGateway(const CVantorDoc& doc) {
    return doc.modelName() == "TRC-H-ZRTU";
}

// Lines in port order COM1..COM6 (first line of each name).
std::vector<int> linesInPortOrder(const CVantorDoc& doc) {
    std::vector<int> out;
    for (int p = 0; p < 6; ++p) {
        int line = doc.lineByName("COM" + std::to_string(p + 1));
        if (line >= 0)
            out.push_back(line);
    }
    return out;
}

int lineCommandCount(const CVantorDoc& doc, int line) {
    int n = 0;
    for (int s : doc.slavesOfLine(line))
        n += static_cast<int>(doc.slaves[static_cast<std::size_t>(s)].modules.size());
    return n;
}

} // namespace

std::vector<int> portSlots(const CVantorDoc& doc) {
    switch (portLayout(doc.modelName())) {
    case PortLayout::SixSlot: {
        std::vector<int> slots(6, -1);
        for (int p = 0; p < 6; ++p)
            slots[static_cast<std::size_t>(p)] = doc.lineByName("COM" + std::to_string(p + 1));
        return slots;
    }
    case PortLayout::SinglePort: {
        auto lines = linesInPortOrder(doc);
        return {lines.empty() ? -1 : lines.front()};
    }
    case PortLayout::Listed: {
        auto lines = linesInPortOrder(doc);
        if (lines.size() == 1) {
            // A single line keeps its own position with a zero partner.
            if (doc.coms[static_cast<std::size_t>(lines[0])].COMName == "COM2")
                return {-1, lines[0]};
            return {lines[0], -1};
        }
        return lines;
    }
    }
    return {};
}

std::vector<int> slavesByAddress(const CVantorDoc& doc, int line) {
    auto order = doc.slavesOfLine(line);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return doc.slaves[static_cast<std::size_t>(a)].address <
               doc.slaves[static_cast<std::size_t>(b)].address;
    });
    return order;
}

std::vector<const model::CModule*> commandsByArea(const model::CSlave& slave) {
    std::vector<const model::CModule*> out;
    out.reserve(slave.modules.size());
    for (int area : model::kAreas)
        for (const auto& m : slave.modules)
            if (m.area_num == area)
                out.push_back(&m);
    // Commands outside the four areas cannot come from the command kinds;
    // they still go last so that the record count matches the counts sent.
    for (const auto& m : slave.modules)
        if (model::areaIndex(m.area_num) < 0)
            out.push_back(&m);
    return out;
}

uint8_t commandType(const model::CModule& m) {
    unsigned type = m.read_wri == 0 ? 1 : 2;
    if (m.editSend == 1)
        type = 3;
    if (m.isCDTYx == 1)
        type += 0x10;
    if (m.Func == VT_DATA("写4区 10H 写多字") || m.Func == VT_DATA("写0区 0FH 写多线圈"))
        type |= 0x20;
    return static_cast<uint8_t>(type);
}

Bytes buildRtuBlock(const CVantorDoc& doc) {
    Bytes b;
    const bool cdt = isCdtGateway(doc);
    for (int line : portSlots(doc)) {
        if (line < 0) {
            b.insert(b.end(), 20, 0);
            continue;
        }
        const auto& com = doc.coms[static_cast<std::size_t>(line)];
        unsigned first = 255;
        if (cdt && com.COMName == "COM1")
            first = static_cast<unsigned>(doc.cdtOptions[1]) & 0xFF; // gateway CDT station address
        putU32(b, first);
        putU32(b, static_cast<unsigned>(com.stop) & 0xFF);
        putU32(b, 8);
        putU32(b, static_cast<unsigned>(com.check) & 0xFF);
        putU32(b, static_cast<unsigned>(com.baud) & 0xFF);
    }
    return b;
}

namespace {

void putSlaveRecord(Bytes& b, unsigned address, unsigned enabled, unsigned commands, unsigned interval,
                    unsigned timeout) {
    putU32(b, 0);
    putU32(b, 0);
    putU32(b, address & 0xFF);
    putU32(b, enabled);
    putU32(b, commands);
    putU32(b, interval & 0xFFFF);
    putU32(b, timeout & 0xFFFF);
}

void putCommandRecord(Bytes& b, const model::CModule& m) {
    putU32(b, commandType(m));
    const unsigned area = static_cast<unsigned>(m.area_num) & 0xFF;
    putU16(b, static_cast<unsigned>(m.Start_Add) & 0xFFFF);
    putU8(b, area);
    putU8(b, 0);
    putU16(b, static_cast<unsigned>(m.Gate_Add) & 0xFFFF);
    putU8(b, area);
    putU8(b, 0);
    putU16(b, static_cast<unsigned>(m.Length) & 0xFFFF);
    putU16(b, 0);
}

} // namespace

Bytes buildFieldbusBlock(const CVantorDoc& doc) {
    Bytes b;
    const PortLayout layout = portLayout(doc.modelName());
    const bool cdt = isCdtGateway(doc);
    const auto slots = portSlots(doc);

    if (layout == PortLayout::SinglePort)
        putU32(b, doc.GW_work_mode == 1 ? 5 : 1);
    else
        putU32(b, cdt ? 4 : 1);
    putU32(b, doc.addType == 1 ? 2 : 1);

    for (int line : slots)
        putU32(b, line < 0
                      ? 0
                      : static_cast<unsigned>(doc.coms[static_cast<std::size_t>(line)].slave_num) & 0xFF);
    for (int line : slots)
        putU32(b, line < 0 ? 0 : static_cast<unsigned>(lineCommandCount(doc, line)) & 0xFFFF);

    for (int line : slots) {
        if (line < 0)
            continue;
        if (cdt && doc.coms[static_cast<std::size_t>(line)].COMName == "COM1") {
            // The CDT link: two fixed records, telesignal period then
            // telemetry period.
            const unsigned remote = static_cast<unsigned>(doc.cdtOptions[0]);
            putSlaveRecord(b, remote, 0, 0, static_cast<unsigned>(doc.cdtOptions[3]), 0);
            putSlaveRecord(b, remote, 0, 0, static_cast<unsigned>(doc.cdtOptions[2]), 0);
            continue;
        }
        for (int s : slavesByAddress(doc, line)) {
            const auto& slave = doc.slaves[static_cast<std::size_t>(s)];
            const unsigned count = static_cast<unsigned>(slave.modules.size()) &
                                   (layout == PortLayout::SinglePort ? 0xFFu : 0xFFFFu);
            putSlaveRecord(b, static_cast<unsigned>(slave.address), slave.control != 0x7F ? 1 : 0, count,
                           static_cast<unsigned>(slave.space * 10),
                           static_cast<unsigned>(slave.timeout * 10));
        }
    }

    for (int line : slots) {
        if (line < 0)
            continue;
        for (int s : slavesByAddress(doc, line))
            for (const auto* m : commandsByArea(doc.slaves[static_cast<std::size_t>(s)]))
                putCommandRecord(b, *m);
    }
    return b;
}

Bytes rtuFrame(const Bytes& block) {
    return commandFrame(command::kRtuConfig, static_cast<uint32_t>(block.size() % 256), block);
}

std::size_t chunkCount(std::size_t blockSize) {
    return blockSize == 0 ? 1 : (blockSize + kChunkSize - 1) / kChunkSize;
}

Bytes chunkFrame(uint32_t code, const Bytes& block, std::size_t index) {
    const std::size_t from = std::min(index * kChunkSize, block.size());
    const std::size_t n = std::min(kChunkSize, block.size() - from);
    return commandFrame(code, static_cast<uint32_t>(block.size() & 0xFFFF), ByteView(block).subspan(from, n));
}

} // namespace vantor::transfer
