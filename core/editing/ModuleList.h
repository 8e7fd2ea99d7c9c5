#pragma once
// The module list beside the graphic view: the selected item's name and
// address above, and one row per command of the selected slave.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"

#include <array>
#include <string>
#include <vector>

namespace vantor::editing {

// Column headers after the untitled row-number column, and the widths of all
// seven columns.
const std::array<std::string, 6>& moduleListHeaders();
const std::array<int, 7>& moduleListWidths();

struct ModuleRow {
    std::string number; // from 1
    std::string func;
    std::string start;
    std::string length;
    std::string editSend; // "是" or empty
    std::string gateway;  // MODBUS reference notation
    std::string comment;
    bool operator==(const ModuleRow&) const = default;
};

// Gateway address in reference notation: plus 0/10000/30000/40000 for areas
// 0/1/3/4 with at least five digits; from 10000 on plus 0/100000/300000/
// 400000 with at least `highWidth` digits (six in the module lists; the
// VantorNet address tables pad every reference to five).
std::string referenceAddress(int area, int gateAddress, int highWidth = 6);

ModuleRow moduleRow(const model::CModule& m, int index);
std::vector<ModuleRow> moduleRows(const model::CSlave& slave);

// What the module list shows for the current selection: a slave's name,
// address and rows; a line's name; otherwise nothing.
struct SelectionView {
    std::string name;
    std::string address;
    std::vector<ModuleRow> rows;
    bool operator==(const SelectionView&) const = default;
};
SelectionView selectionView(const model::CVantorDoc& doc);

// A row may be edited (double-click, "修改") when its function text is not
// empty.
bool rowEditable(const model::CVantorDoc& doc, int row);

// "删除" on a row of the selected slave: asks "确实要删除吗？" (caption
// "删除模块"); on Yes removes the command and marks the document modified.
// Answers whether a command was removed.
bool deleteCommand(model::CVantorDoc& doc, int row, MessageSink& sink);

} // namespace vantor::editing
