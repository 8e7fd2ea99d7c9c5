#include "net/NetAddressTables.h"

#include "editing/ModuleList.h"
#include "model/CommandKind.h"
#include "net/NetCatalogue.h"
#include "net/NetCompiler.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::net {

using editing::zeroFilled;

namespace {

NetMapRow row(std::size_t number, std::string address, std::string what, const CSlave& s, const CNode& node,
              const CModule& m) {
    return {std::to_string(number),
            std::move(address),
            std::move(what),
            zeroFilled(m.Length, 4),
            s.ipadd,
            zeroFilled(node.address, 3),
            netReference(m.area_num, m.Start_Add)};
}

} // namespace

std::string netReference(int area, int address) {
    return editing::referenceAddress(area, address, 5);
}

DpTable buildDpTable(const CVantorNetDoc& doc) {
    DpTable t;
    int inputOffset = 0;
    int outputOffset = 0;
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            for (const auto& m : node.modules) {
                const bool read = m.read_wri == 0;
                auto& rows = read ? t.input : t.output;
                int& offset = read ? inputOffset : outputOffset;
                rows.push_back(row(rows.size(), std::to_string(offset), m.Func, s, node, m));
                offset += dpBytes(m);
            }
    return t;
}

const std::array<std::string, 7>& dpColumnTitles() {
    static const std::array<std::string, 7> titles{"",
                                                   VT_TEXT("网关DP地址"),
                                                   VT_TEXT("命令"),
                                                   VT_TEXT("长度"),
                                                   VT_TEXT("通道"),
                                                   VT_TEXT("站地址"),
                                                   VT_TEXT("从站数据起始地址")};
    return titles;
}

std::array<std::vector<NetMapRow>, 4> buildNetAddressMap(const CVantorNetDoc& doc) {
    std::array<std::vector<NetMapRow>, 4> map;
    for (bool reads : {true, false})
        for (const auto& s : doc.slaves) {
            std::vector<const CNode*> nodes;
            for (const auto& node : s.nodes)
                nodes.push_back(&node);
            std::stable_sort(nodes.begin(), nodes.end(),
                             [](const CNode* a, const CNode* b) { return a->address < b->address; });
            for (const CNode* node : nodes)
                for (int area : model::kAreas) {
                    auto& list = map[static_cast<std::size_t>(model::areaIndex(area))];
                    for (const CModule* m : editing::commandsOfArea(node->modules, area, reads))
                        list.push_back(row(list.size(), netReference(area, m->Gate_Add),
                                           reads ? VT_TEXT("读") : VT_TEXT("写"), s, *node, *m));
                }
        }
    return map;
}

std::array<std::string, 7> netMapColumnTitles(int areaIndex) {
    return {"",
            VT_TEXT("网关MODBUS地址"),
            VT_TEXT("读/写"),
            areaIndex < 2 ? VT_TEXT("长度(bit)") : VT_TEXT("长度(word)"),
            VT_TEXT("通道"),
            VT_TEXT("站地址"),
            VT_TEXT("从站数据起始地址")};
}

bool showsDpTable(const CVantorNetDoc& doc) {
    return isProfibusModel(doc.modelName());
}

void correctGatewayAddresses(CVantorNetDoc& doc) {
    std::array<long long, 4> next{};
    for (const auto& s : doc.slaves)
        for (const auto& node : s.nodes)
            for (const auto& m : node.modules)
                if (int a = model::areaIndex(m.area_num); a >= 0)
                    next[static_cast<std::size_t>(a)] = std::max(
                        next[static_cast<std::size_t>(a)], static_cast<long long>(m.Gate_Add) + m.Length);
    for (std::size_t a = 0; a < next.size(); ++a)
        doc.nextGateAddress[a] = static_cast<int>(std::clamp<long long>(next[a], 0, 1 << 30));
}

} // namespace vantor::net
