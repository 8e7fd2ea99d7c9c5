#include "editing/GatewayAddressPacker.h"

#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace vantor::editing {
namespace {

const std::array<std::string, 6> kPorts{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"};

// Gives one slave's commands of one area and one direction their addresses.
// In areas 1 and 3 a command whose slave range starts inside the current
// block shares the block's gateway addresses (only what reaches beyond the
// block takes new addresses); in areas 0 and 4 every command takes its own
// range.
void packGroup(model::CSlave& slave, int area, bool reads, int& counter) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < slave.modules.size(); ++i) {
        const auto& m = slave.modules[i];
        if (m.area_num == area && (m.read_wri == 0) == reads)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return slave.modules[a].Start_Add < slave.modules[b].Start_Add;
    });
    const bool merging = area == 1 || area == 3;
    bool haveBlock = false;
    long long blockStart = 0;
    long long blockLength = 0;
    int blockGate = 0;
    for (std::size_t i : order) {
        model::CModule& m = slave.modules[i];
        if (merging && haveBlock && m.Start_Add < blockStart + blockLength) {
            m.Gate_Add = blockGate + static_cast<int>(m.Start_Add - blockStart);
            long long end = static_cast<long long>(m.Start_Add) + m.Length;
            if (end > blockStart + blockLength) {
                long long grow = end - (blockStart + blockLength);
                blockLength += grow;
                counter += static_cast<int>(grow);
            }
            continue;
        }
        m.Gate_Add = counter;
        blockStart = m.Start_Add;
        blockLength = m.Length;
        blockGate = counter;
        haveBlock = true;
        counter += m.Length;
    }
}

} // namespace

bool needsGatewayPacking(const model::CVantorDoc& doc) {
    return model::gatewayModel(doc.modelName()).has(model::FeatureEipParams);
}

void packGatewayAddresses(model::CVantorDoc& doc) {
    std::array<int, 4> counters{};
    // Slaves per port, ordered by address; equal addresses keep project order.
    std::array<std::vector<std::size_t>, 6> portSlaves;
    for (std::size_t p = 0; p < kPorts.size(); ++p) {
        for (std::size_t s = 0; s < doc.slaves.size(); ++s)
            if (doc.slaves[s].com_name == kPorts[p])
                portSlaves[p].push_back(s);
        std::stable_sort(portSlaves[p].begin(), portSlaves[p].end(), [&](std::size_t a, std::size_t b) {
            return doc.slaves[a].address < doc.slaves[b].address;
        });
    }
    for (bool reads : {true, false})
        for (const auto& slaves : portSlaves)
            for (std::size_t s : slaves)
                for (int area : model::kAreas)
                    packGroup(doc.slaves[s], area, reads,
                              counters[static_cast<std::size_t>(model::areaIndex(area))]);
    doc.nextGateAddress = counters;
    doc.modified = true;
}

bool packGatewayAddressesIfNeeded(model::CVantorDoc& doc) {
    if (!needsGatewayPacking(doc))
        return false;
    packGatewayAddresses(doc);
    return true;
}

} // namespace vantor::editing
