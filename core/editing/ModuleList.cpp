#include "editing/ModuleList.h"

#include "text/Numbers.h"
#include "text/Shown.h"

namespace vantor::editing {

const std::array<std::string, 6>& moduleListHeaders() {
    static const std::array<std::string, 6> headers{
        VT_TEXT("功能"),     VT_TEXT("起始地址"), VT_TEXT("数据单元数(长度)"),
        VT_TEXT("数变即发"), VT_TEXT("网关地址"), VT_TEXT("注释")};
    return headers;
}

const std::array<int, 7>& moduleListWidths() {
    static const std::array<int, 7> widths{50, 180, 120, 140, 100, 200, 530};
    return widths;
}

std::string referenceAddress(int area, int gateAddress, int highWidth) {
    int base = 0;
    switch (area) {
    case 1:
        base = 1;
        break;
    case 3:
        base = 3;
        break;
    case 4:
        base = 4;
        break;
    default:
        break;
    }
    long long g = gateAddress;
    if (g >= 10000)
        return text::format("%.*lld", highWidth, g + base * 100000LL);
    return text::format("%.5lld", g + base * 10000LL);
}

ModuleRow moduleRow(const model::CModule& m, int index) {
    ModuleRow r;
    r.number = std::to_string(index + 1);
    r.func = m.Func;
    r.start = std::to_string(m.Start_Add);
    r.length = std::to_string(m.Length);
    r.editSend = m.editSend == 1 ? VT_TEXT("是") : "";
    r.gateway = referenceAddress(m.area_num, m.Gate_Add);
    r.comment = m.Explain;
    return r;
}

std::vector<ModuleRow> moduleRows(const model::CSlave& slave) {
    std::vector<ModuleRow> rows;
    rows.reserve(slave.modules.size());
    for (std::size_t i = 0; i < slave.modules.size(); ++i)
        rows.push_back(moduleRow(slave.modules[i], static_cast<int>(i)));
    return rows;
}

SelectionView selectionView(const model::CVantorDoc& doc) {
    SelectionView v;
    if (int s = doc.selectedSlave(); s >= 0) {
        const auto& slave = doc.slaves[static_cast<std::size_t>(s)];
        v.name = slave.name;
        v.address = std::to_string(slave.address);
        v.rows = moduleRows(slave);
    } else if (int c = doc.selectedCom(); c >= 0) {
        v.name = doc.coms[static_cast<std::size_t>(c)].COMName;
    }
    return v;
}

bool rowEditable(const model::CVantorDoc& doc, int row) {
    int s = doc.selectedSlave();
    if (s < 0 || row < 0)
        return false;
    const auto& modules = doc.slaves[static_cast<std::size_t>(s)].modules;
    return row < static_cast<int>(modules.size()) && !modules[static_cast<std::size_t>(row)].Func.empty();
}

bool deleteCommand(model::CVantorDoc& doc, int row, MessageSink& sink) {
    int s = doc.selectedSlave();
    if (s < 0 || row < 0)
        return false;
    auto& modules = doc.slaves[static_cast<std::size_t>(s)].modules;
    if (row >= static_cast<int>(modules.size()))
        return false;
    if (!sink.question(VT_TEXT("删除模块"), VT_TEXT("确实要删除吗？")))
        return false;
    modules.erase(modules.begin() + row);
    doc.modified = true;
    return true;
}

} // namespace vantor::editing
