#include "net/NetProjectEditor.h"

#include "model/CommandKind.h"
#include "net/NetCatalogue.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::net {

const std::vector<editing::CatalogueNode>& netCatalogueTree() {
    static const std::vector<editing::CatalogueNode> tree = [] {
        editing::CatalogueNode gateways{std::string(kGatewayRoot), 0, {}};
        for (const auto& m : netGatewayModels())
            gateways.children.push_back({std::string(m.name), 3, {}});
        editing::CatalogueNode server{std::string(kNormalServer), 3, {}};
        for (const auto& k : model::kCommandKinds)
            server.children.push_back({std::string(k.func), 4, {}});
        editing::CatalogueNode servers{std::string(kServerRoot), 2, {server}};
        return std::vector<editing::CatalogueNode>{gateways, servers};
    }();
    return tree;
}

NetCatalogueOutcome activateNetCatalogueItem(CVantorNetDoc& doc, std::string_view text,
                                             std::string_view parent, MessageSink& sink) {
    NetCatalogueOutcome out;
    if (parent == kGatewayRoot && findNetGatewayModel(text)) {
        if (addGateway(doc, std::string(text)))
            out.action = NetCatalogueAction::GatewayAdded;
        return out;
    }
    if (text == kNormalServer) {
        if (!checkServerCount(doc, sink)) {
            out.action = NetCatalogueAction::Refused;
            return out;
        }
        doc.insert_slave_flag = 1;
        out.action = NetCatalogueAction::OpenSlaveForm;
        return out;
    }
    if (parent == kNormalServer && findFunction(text)) {
        if (!checkNetCommandCount(doc, sink)) {
            out.action = NetCatalogueAction::Refused;
            return out;
        }
        if (doc.selectedSlave() < 0) {
            sink.error(VT_TEXT("错误"), VT_TEXT("请选择从站"));
            out.action = NetCatalogueAction::Refused;
            return out;
        }
        out.action = NetCatalogueAction::OpenCommandForm;
        out.function = std::string(text);
    }
    return out;
}

bool addGateway(CVantorNetDoc& doc, const std::string& model) {
    if (doc.hasMaster())
        return false;
    doc.masters.push_back({model, 200, 50, model});
    doc.modified = true;
    return true;
}

bool checkServerCount(const CVantorNetDoc& doc, MessageSink& sink) {
    if (static_cast<int>(doc.slaves.size()) < kMaxSlaves)
        return true;
    sink.error(VT_TEXT("错误"), VT_TEXT("最多添加31个站点"));
    return false;
}

bool checkNetCommandCount(const CVantorNetDoc& doc, MessageSink& sink) {
    if (doc.commandCount() < kMaxCommands)
        return true;
    sink.error(VT_TEXT("错误"), VT_TEXT("模块数超范围，最大模块数为1024"));
    return false;
}

int appendServer(CVantorNetDoc& doc, CSlave s) {
    if (doc.slaves.empty()) {
        s.x = doc.bus.x + 50;
    } else {
        const auto rightmost = std::max_element(doc.slaves.begin(), doc.slaves.end(),
                                                [](const CSlave& a, const CSlave& b) { return a.x < b.x; });
        s.x = rightmost->x + 120;
    }
    s.y = doc.bus.y + 70;
    if (doc.bus.x + doc.bus.length < s.x + 120)
        doc.bus.length = s.x - doc.bus.x + 120;
    doc.slaves.push_back(std::move(s));
    doc.currentSelect = CVantorNetDoc::slaveSelection(static_cast<int>(doc.slaves.size()) - 1);
    doc.modified = true;
    return static_cast<int>(doc.slaves.size()) - 1;
}

int addServer(CVantorNetDoc& doc, const NewServerValues& v) {
    CSlave s;
    s.space = v.sendInterval / 10;
    s.timetip = v.replyTimeout / 10;
    s.name = v.name;
    s.ipadd = v.ipadd;
    s.port = v.port;
    s.picture = v.picture;
    s.control = v.control ? 1 : 0;
    s.nodes.push_back({v.unitAddress, {}});
    return appendServer(doc, std::move(s));
}

void appendCommand(CVantorNetDoc& doc, int slave, const CModule& command, int node) {
    auto& s = doc.slaves.at(static_cast<std::size_t>(slave));
    if (s.nodes.size() <= static_cast<std::size_t>(node))
        s.nodes.resize(static_cast<std::size_t>(node) + 1);
    s.nodes[static_cast<std::size_t>(node)].modules.push_back(command);
    if (int a = model::areaIndex(command.area_num); a >= 0)
        doc.nextGateAddress[static_cast<std::size_t>(a)] = command.Gate_Add + command.Length;
    doc.modified = true;
}

std::vector<editing::CommandSpan> netProjectCommands(const CVantorNetDoc& doc) {
    std::vector<editing::CommandSpan> out;
    for (const auto& s : doc.slaves)
        for (const auto& n : s.nodes)
            for (const auto& m : n.modules)
                out.push_back(editing::CommandSpan::of(m));
    return out;
}

bool deleteNetSelection(CVantorNetDoc& doc, MessageSink& sink) {
    if (doc.currentSelect == CVantorNetDoc::kSelectGateway && doc.hasMaster()) {
        doc.masters.clear();
    } else if (int s = doc.selectedSlave(); s >= 0) {
        if (!sink.question(VT_TEXT("删除节点"), VT_TEXT("确实要删除吗？")))
            return false;
        doc.slaves.erase(doc.slaves.begin() + s);
    } else {
        return false;
    }
    doc.currentSelect = CVantorNetDoc::kSelectNothing;
    doc.modified = true;
    return true;
}

} // namespace vantor::net
