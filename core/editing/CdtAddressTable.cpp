#include "editing/CdtAddressTable.h"

#include "editing/AddressMap.h"
#include "model/CommandKind.h"
#include "text/Numbers.h"

#include <algorithm>

namespace vantor::editing {

namespace {

int comNumber(const std::string& name) {
    for (int c = 1; c <= 6; ++c)
        if (name == "COM" + std::to_string(c))
            return c;
    return 7; // after every real port
}

CdtDataRow dataRow(std::size_t number, long long offset, int station, int area, int start, long long length) {
    return {std::to_string(number), std::to_string(offset), text::format("%03d", station),
            // At least five digits: an area-0 start beyond 9999 is not padded
            // to the six digits of the gateway address map.
            editing::zeroFilled(editing::modbusReferenceValue(area, start), 5),
            text::format("%04lld", length)};
}

} // namespace

CdtAddressTable buildCdtAddressTable(const model::CVantorDoc& doc) {
    CdtAddressTable t;
    long long bit = 0;
    long long word = 0;
    for (int com = 1; com <= 6; ++com) {
        for (int s : editing::slavesOnPort(doc, com)) {
            const auto& slave = doc.slaves[static_cast<std::size_t>(s)];
            for (int area : model::kAreas) {
                for (const model::CModule* m : editing::commandsOfArea(slave, area, true)) {
                    if (area == 0 || area == 1) {
                        t.telesignal.push_back(
                            dataRow(t.telesignal.size(), bit, slave.address, area, m->Start_Add, m->Length));
                        bit += m->Length;
                        continue;
                    }
                    if (m->isCDTYx == 1) {
                        long long bits = 16LL * m->Length;
                        t.telesignal.push_back(
                            dataRow(t.telesignal.size(), bit, slave.address, area, m->Start_Add, bits));
                        bit += bits;
                    }
                    t.telemetry.push_back(
                        dataRow(t.telemetry.size(), word, slave.address, area, m->Start_Add, m->Length));
                    word += m->Length;
                }
            }
        }
    }
    t.telesignalBits = static_cast<int>(bit);
    t.telemetryWords = static_cast<int>(word);

    std::vector<std::size_t> order(doc.slaves.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& x = doc.slaves[a];
        const auto& y = doc.slaves[b];
        if (x.address != y.address)
            return x.address < y.address;
        return comNumber(x.com_name) < comNumber(y.com_name);
    });
    for (std::size_t i : order) {
        t.slaveState.push_back({std::to_string(t.slaveState.size()), std::to_string(bit),
                                std::to_string(doc.slaves[i].address)});
        ++bit;
    }
    return t;
}

} // namespace vantor::editing
