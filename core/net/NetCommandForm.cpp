#include "net/NetCommandForm.h"

#include "editing/CommandEditor.h"
#include "editing/CommandSpan.h"
#include "editing/FieldText.h"
#include "editing/GatewayAddressPlanner.h"
#include "editing/ModuleList.h"
#include "net/NetCatalogue.h"
#include "net/NetProjectEditor.h"
#include "text/Gbk.h"
#include "text/Shown.h"

namespace vantor::net {

using editing::CommandSpan;
using editing::fieldValue;
using editing::FormResult;

namespace {

// Node and index of row `row` of a server's commands counted over its nodes.
std::optional<std::pair<int, int>> locateRow(const CSlave& s, int row) {
    if (row < 0)
        return std::nullopt;
    for (std::size_t n = 0; n < s.nodes.size(); ++n) {
        const int size = static_cast<int>(s.nodes[n].modules.size());
        if (row < size)
            return std::pair<int, int>{static_cast<int>(n), row};
        row -= size;
    }
    return std::nullopt;
}

// Every command of the project except command `skip` of node `node` of
// server `slave`, in document order.
std::vector<CommandSpan> otherCommands(const CVantorNetDoc& doc, int slave, int node, int skip) {
    std::vector<CommandSpan> out;
    std::size_t total = 0;
    for (const auto& server : doc.slaves)
        for (const auto& n : server.nodes)
            total += n.modules.size();
    out.reserve(total);
    for (std::size_t s = 0; s < doc.slaves.size(); ++s)
        for (std::size_t n = 0; n < doc.slaves[s].nodes.size(); ++n) {
            const bool same = static_cast<int>(s) == slave && static_cast<int>(n) == node;
            const auto spans = editing::commandSpans(doc.slaves[s].nodes[n].modules, same ? skip : -1);
            out.insert(out.end(), spans.begin(), spans.end());
        }
    return out;
}

std::vector<CommandSpan> nodeCommands(const CSlave& s, int node, int skip) {
    if (node < 0 || node >= static_cast<int>(s.nodes.size()))
        return {};
    return editing::commandSpans(s.nodes[static_cast<std::size_t>(node)].modules, skip);
}

NetCommandForm formFor(const model::CommandKind& kind) {
    NetCommandForm f;
    editing::setCommandFormTexts(f, kind);
    return f;
}

void showValues(NetCommandForm& f, const CModule& m) {
    f.startText = std::to_string(m.Start_Add);
    f.lengthText = std::to_string(m.Length);
    f.gatewayText = std::to_string(m.Gate_Add);
    f.commentText = m.Explain;
    f.editSend = m.editSend == 1;
}

} // namespace

std::optional<NetCommandForm> openNewNetCommandForm(const CVantorNetDoc& doc, std::string_view function,
                                                    MessageSink& sink, int node) {
    const model::CommandKind* kind = findFunction(function);
    const int slave = doc.selectedSlave();
    if (!kind || slave < 0 || node < 0)
        return std::nullopt;
    NetCommandForm f = formFor(*kind);
    f.slave = slave;
    f.node = node;
    f.startText = std::to_string(editing::defaultStartAddress(
        nodeCommands(doc.slaves[static_cast<std::size_t>(slave)], node, -1), *kind));
    f.modbusText = "1";
    f.editSend = kind->readWrite != 0 && doc.isDataModifySendEnable == 1;
    const int next = doc.nextGateAddress[static_cast<std::size_t>(model::areaIndex(kind->area))];
    const int proposal =
        editing::proposeGatewayAddress(otherCommands(doc, -1, -1, -1), next, kind->area, areaEnd(kind->area));
    if (proposal < 0)
        sink.error(VT_TEXT("错误"), editing::kNoFreeGatewayAddress);
    else
        f.gatewayText = std::to_string(proposal);
    return f;
}

std::optional<NetCommandForm> openEditNetCommandForm(const CVantorNetDoc& doc, int row) {
    const int slave = doc.selectedSlave();
    if (slave < 0)
        return std::nullopt;
    const CSlave& s = doc.slaves[static_cast<std::size_t>(slave)];
    const auto at = locateRow(s, row);
    if (!at)
        return std::nullopt;
    const CModule& m =
        s.nodes[static_cast<std::size_t>(at->first)].modules[static_cast<std::size_t>(at->second)];
    const model::CommandKind* kind = findFunction(m.Func);
    if (!kind)
        return std::nullopt;
    NetCommandForm f = formFor(*kind);
    f.editMode = true;
    f.modbusEnabled = false;
    f.slave = slave;
    f.node = at->first;
    f.index = at->second;
    showValues(f, m);
    f.modbusText = std::to_string(s.nodes.front().address);
    f.saved = m;
    return f;
}

FormResult acceptNetCommandForm(CVantorNetDoc& doc, NetCommandForm& form, MessageSink& sink) {
    auto refuse = [&](const std::string& message) {
        sink.error(VT_TEXT("错误"), message);
        return FormResult::StayOpen;
    };
    const model::CommandKind* kind = findFunction(form.title);
    if (!kind || form.slave < 0 || form.slave >= static_cast<int>(doc.slaves.size()))
        return FormResult::StayOpen;
    CSlave& s = doc.slaves[static_cast<std::size_t>(form.slave)];
    if (form.editMode &&
        (form.node < 0 || form.node >= static_cast<int>(s.nodes.size()) || form.index < 0 ||
         form.index >= static_cast<int>(s.nodes[static_cast<std::size_t>(form.node)].modules.size())))
        return FormResult::StayOpen;

    editing::CommandFields fields;
    if (auto message = editing::checkCommandFields(*kind, form.startText, form.lengthText, form.gatewayText,
                                                   editing::CommandFormRules::VantorNet, fields))
        return refuse(*message);
    const int start = fields.start;
    const int length = fields.length;
    const int gate = fields.gate;
    // The MODBUS address entered with a new command is a unit address; the
    // field is locked when editing.
    if (!form.editMode) {
        const auto unit = editing::filledDigitsValue(form.modbusText);
        if (!unit)
            return refuse(kModbusAddressFormat);
        if (*unit < 1 || *unit > 247)
            return refuse(kModbusAddressRange);
    }
    if (!text::toGbk(form.commentText))
        return refuse(VT_TEXT("注释含有无法保存的字符"));
    const int editSend = form.editSend && kind->readWrite != 0 ? 1 : 0;

    if (!form.editMode) {
        if (form.node < 0)
            return FormResult::StayOpen;
        if (!editing::checkCommandOverlap(otherCommands(doc, -1, -1, -1), nodeCommands(s, form.node, -1),
                                          *kind, start, length, gate, sink))
            return FormResult::StayOpen;
        CModule m;
        m.Func = std::string(kind->func);
        m.area_num = kind->area;
        m.read_wri = kind->readWrite;
        m.Start_Add = start;
        m.Length = length;
        m.Gate_Add = gate;
        m.mod_num = fieldValue(form.modbusText);
        m.Explain = form.commentText;
        m.editSend = editSend;
        appendCommand(doc, form.slave, m, form.node);
        form.index = static_cast<int>(s.nodes[static_cast<std::size_t>(form.node)].modules.size()) - 1;
        return FormResult::Accepted;
    }

    CModule& m = s.nodes[static_cast<std::size_t>(form.node)].modules[static_cast<std::size_t>(form.index)];
    m.Start_Add = start;
    m.Length = length;
    m.Explain = form.commentText;
    m.editSend = editSend;
    m.Gate_Add = gate;
    if (!editing::checkCommandOverlap(otherCommands(doc, form.slave, form.node, form.index),
                                      nodeCommands(s, form.node, form.index), *kind, start, length, gate,
                                      sink)) {
        m = form.saved;
        showValues(form, form.saved);
        return FormResult::StayOpen;
    }
    doc.modified = true;
    return FormResult::Accepted;
}

const std::array<std::string, 8>& netModuleListHeaders() {
    static const std::array<std::string, 8> headers{"",
                                                    VT_TEXT("站地址"),
                                                    VT_TEXT("功能"),
                                                    VT_TEXT("起始地址"),
                                                    VT_TEXT("数据单元数(长度)"),
                                                    VT_TEXT("数变即发"),
                                                    VT_TEXT("网关地址"),
                                                    VT_TEXT("注释")};
    return headers;
}

const std::array<int, 8>& netModuleListWidths() {
    static const std::array<int, 8> widths{50, 120, 180, 120, 130, 100, 130, 120};
    return widths;
}

std::vector<NetModuleRow> netModuleRows(const CVantorNetDoc& doc) {
    std::vector<NetModuleRow> rows;
    const int slave = doc.selectedSlave();
    if (slave < 0)
        return rows;
    for (const auto& node : doc.slaves[static_cast<std::size_t>(slave)].nodes)
        for (const auto& m : node.modules)
            rows.push_back({std::to_string(rows.size() + 1), std::to_string(m.mod_num), m.Func,
                            std::to_string(m.Start_Add), std::to_string(m.Length),
                            m.editSend == 1 ? VT_TEXT("是") : "",
                            editing::referenceAddress(m.area_num, m.Gate_Add), m.Explain});
    return rows;
}

bool deleteNetCommand(CVantorNetDoc& doc, int row, MessageSink& sink) {
    const int slave = doc.selectedSlave();
    if (slave < 0)
        return false;
    CSlave& s = doc.slaves[static_cast<std::size_t>(slave)];
    const auto at = locateRow(s, row);
    if (!at || !sink.question(VT_TEXT("删除模块"), VT_TEXT("确实要删除吗？")))
        return false;
    auto& modules = s.nodes[static_cast<std::size_t>(at->first)].modules;
    modules.erase(modules.begin() + at->second);
    doc.modified = true;
    return true;
}

} // namespace vantor::net
