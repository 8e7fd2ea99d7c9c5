#include "editing/EipAddressTable.h"

#include "editing/AddressMap.h"
#include "editing/EipParamsForm.h"
#include "editing/GatewayAddressPacker.h"
#include "editing/SheetWriter.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::editing {

using model::CModuleCom;
using model::CVantorDoc;

namespace {

// One direction of the table being allocated: its connections, the current
// connection (0-based) and whether allocation had to stop.
class DirectionAllocator {
public:
    explicit DirectionAllocator(std::array<EipConnection, kEipConnections>& connections)
        : connections_(connections) {}

    // Places `length` units (bits or words) starting at gateway `address`,
    // splitting over connections as needed. False when the fourth connection
    // cannot take the rest.
    bool add(int length, bool bits, uint32_t tagHigh, int address) {
        if (length < 0)
            length = 0;
        for (;;) {
            EipConnection& conn = connections_[static_cast<std::size_t>(current_)];
            const long long size = bits ? (static_cast<long long>(length) + 7) / 8 : 2LL * length;
            if (conn.used + size <= kEipConnectionBytes) {
                if (length != 0)
                    conn.entries.push_back({conn.used, tag(tagHigh, address), length});
                conn.used += static_cast<int>(size);
                return true;
            }
            if (current_ == kEipConnections - 1)
                return false;
            const int offset = conn.used;
            const int free = kEipConnectionBytes - conn.used;
            int first = 0;
            if (bits) {
                first = free * 8;
                conn.used = kEipConnectionBytes;
            } else if (conn.used % 2 == 0) {
                first = free / 2;
                conn.used = kEipConnectionBytes;
            } else {
                // A word may not straddle the odd byte: the connection closes
                // one byte short.
                first = (kEipConnectionBytes - 1 - conn.used) / 2;
                conn.used = kEipConnectionBytes - 1;
            }
            if (first != 0)
                conn.entries.push_back({offset, tag(tagHigh, address), first});
            ++current_;
            length -= first;
            address += first;
        }
    }

private:
    static uint32_t tag(uint32_t high, int address) {
        return high | (static_cast<uint32_t>(address) & 0xFFFFu);
    }

    std::array<EipConnection, kEipConnections>& connections_;
    int current_ = 0;
};

uint32_t tagHigh(int com, int area) {
    return static_cast<uint32_t>(com) << 24 | static_cast<uint32_t>(area) << 16;
}

// Adds one item per port: the sum of the lengths of the port's commands in
// `list` of the wanted direction, at the gateway address of the first one.
bool addPerPort(DirectionAllocator& alloc, const std::vector<CModuleCom>& list, int area, bool reads) {
    for (int com = 1; com <= 6; ++com) {
        long long length = 0;
        int address = 0;
        bool first = true;
        for (const auto& r : list) {
            if (r.port != com || (r.module.read_wri == 0) != reads)
                continue;
            if (first) {
                address = r.module.Gate_Add;
                first = false;
            }
            length += r.module.Length;
        }
        if (first)
            continue;
        // Beyond every connection's capacity anyway: the fourth connection
        // refuses it.
        int clamped = static_cast<int>(std::min<long long>(length, 1 << 20));
        if (!alloc.add(clamped, area == 0 || area == 1, tagHigh(com, area), address))
            return false;
    }
    return true;
}

void put(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// 16-bit value followed by two zero bytes.
void put16(std::vector<uint8_t>& out, int v) {
    put(out, static_cast<uint32_t>(v) & 0xFFFFu);
}

} // namespace

std::array<std::vector<CModuleCom>, 4> collectEipCommands(const CVantorDoc& doc) {
    std::array<std::vector<CModuleCom>, 4> lists;
    for (bool reads : {true, false}) {
        for (int com = 1; com <= 6; ++com) {
            for (int s : editing::slavesOnPort(doc, com)) {
                const auto& slave = doc.slaves[static_cast<std::size_t>(s)];
                for (int area : model::kAreas) {
                    std::vector<const model::CModule*> picked;
                    for (const auto& m : slave.modules) {
                        const model::CommandKind* kind = model::findCommandKind(m.Func);
                        if (kind && (kind->readWrite == 0) == reads && m.area_num == area)
                            picked.push_back(&m);
                    }
                    std::stable_sort(picked.begin(), picked.end(),
                                     [](auto* a, auto* b) { return a->Start_Add < b->Start_Add; });
                    for (const auto* m : picked)
                        lists[static_cast<std::size_t>(model::areaIndex(area))].push_back(
                            CModuleCom{*m, com, slave.address});
                }
            }
        }
    }
    return lists;
}

EipTable buildEipTable(const CVantorDoc& doc, MessageSink& sink) {
    EipTable table;
    const auto lists = collectEipCommands(doc);

    DirectionAllocator in(table.input);
    bool ok = true;
    for (int a = 0; a < 4 && ok; ++a)
        ok = addPerPort(in, lists[static_cast<std::size_t>(a)], model::kAreas[static_cast<std::size_t>(a)],
                        true);
    for (int com = 1; com <= 6 && ok; ++com) {
        EipGroup g = eipGroup(doc, com - 1);
        if (g.enabled)
            ok = in.add(g.count, false, tagHigh(0, 3), g.start);
    }
    if (!ok) {
        sink.error(VT_TEXT("错误"), VT_TEXT("输入超限"));
    } else {
        DirectionAllocator out(table.output);
        ok = addPerPort(out, lists[0], 0, false) && addPerPort(out, lists[3], 4, false);
        for (int com = 1; com <= 6 && ok; ++com) {
            EipGroup g = eipGroup(doc, 6 + com - 1);
            if (g.enabled)
                ok = out.add(g.count, false, tagHigh(0, 4), g.start);
        }
        if (!ok)
            sink.error(VT_TEXT("错误"), VT_TEXT("输出超限"));
    }
    table.overflow = !ok;

    for (int c = 0; c < kEipConnections; ++c) {
        const auto i = static_cast<std::size_t>(c);
        table.inputTotal += table.input[i].used;
        table.outputTotal += table.output[i].used;
        if (table.input[i].used > 0 || table.output[i].used > 0)
            table.connectionCount = c + 1;
    }
    return table;
}

std::optional<EipTable> openEipAddressTable(CVantorDoc& doc, MessageSink& sink) {
    if (!doc.hasMaster() || !model::gatewayModel(doc.modelName()).has(model::FeatureEipParams))
        return std::nullopt;
    editing::packGatewayAddresses(doc);
    return buildEipTable(doc, sink);
}

std::vector<uint8_t> encodeEipBlock(const EipTable& t) {
    std::vector<uint8_t> out;
    put16(out, t.inputTotal);
    put16(out, t.outputTotal);
    put(out, static_cast<uint32_t>(t.connectionCount) & 0xFFu);
    for (const auto& c : t.input)
        put16(out, c.used);
    for (const auto& c : t.output)
        put16(out, c.used);
    for (const auto& c : t.input)
        put(out, static_cast<uint32_t>(c.entries.size()));
    for (const auto& c : t.output)
        put(out, static_cast<uint32_t>(c.entries.size()));
    for (const auto* dir : {&t.input, &t.output}) {
        for (int c = 0; c < t.connectionCount; ++c) {
            for (const auto& e : (*dir)[static_cast<std::size_t>(c)].entries) {
                put16(out, e.offset);
                put(out, e.tag);
                put16(out, e.length);
            }
        }
    }
    return out;
}

bool buildEipBlock(const CVantorDoc& doc, MessageSink& sink, std::vector<uint8_t>& block) {
    EipTable table = buildEipTable(doc, sink);
    if (table.overflow)
        return false;
    block = encodeEipBlock(table);
    return true;
}

bool checkEipSize(const CVantorDoc& doc, MessageSink& sink) {
    if (!model::gatewayModel(doc.modelName()).has(model::FeatureEipParams))
        return true;
    return !buildEipTable(doc, sink).overflow;
}

std::vector<std::array<std::string, 3>> eipConnectionRows(const EipTable& t) {
    std::vector<std::array<std::string, 3>> rows;
    for (int c = 0; c < t.connectionCount; ++c) {
        const auto i = static_cast<std::size_t>(c);
        rows.push_back(
            {std::to_string(c + 1), std::to_string(t.input[i].used), std::to_string(t.output[i].used)});
    }
    return rows;
}

std::vector<std::array<std::string, 4>> eipEntryRows(const EipTable& t, bool input) {
    std::vector<std::array<std::string, 4>> rows;
    const auto& dir = input ? t.input : t.output;
    for (int c = 0; c < kEipConnections; ++c) {
        bool first = true;
        for (const auto& e : dir[static_cast<std::size_t>(c)].entries) {
            rows.push_back({first ? std::to_string(c + 1) : std::string{}, std::to_string(e.offset),
                            text::format("0x%08x", e.tag), std::to_string(e.length)});
            first = false;
        }
    }
    return rows;
}

bool exportEipTable(const EipTable& t, const std::string& path, std::string& errors) {
    errors.clear();
    if (path.empty())
        return false;
    editing::SheetWriter writer(path);
    writer.open("EIPConn");
    writer.setHeaders({VT_DATA("连接"), VT_DATA("输入长度"), VT_DATA("输出长度")});
    for (const auto& r : eipConnectionRows(t))
        writer.addRow({r.begin(), r.end()});
    writer.addRow(
        {std::to_string(t.connectionCount), std::to_string(t.inputTotal), std::to_string(t.outputTotal)});
    writer.commit();
    for (bool input : {true, false}) {
        writer.open(input ? "EIPInput" : "EIPOutput");
        writer.setHeaders({VT_DATA("连接"), VT_DATA("EIP地址"), VT_DATA("网关地址"), VT_DATA("长度")});
        for (const auto& r : eipEntryRows(t, input))
            writer.addRow({r.begin(), r.end()});
        writer.commit();
    }
    bool ok = writer.save();
    errors = writer.errors();
    return ok;
}

} // namespace vantor::editing
