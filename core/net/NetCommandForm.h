#pragma once
// The command form ("命令设置") of VantorNet and the module list beside the
// view: opening values, the OK checks with their messages, and the rows of
// the selected server's commands over all its nodes.
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "net/CVantorNetDoc.h"
#include "text/Shown.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::net {

inline constexpr const char* kModbusAddressFormat = VT_TEXT("MODBUS地址格式错误");
inline constexpr const char* kModbusAddressRange = VT_TEXT("MODBUS地址添入一个1和247之间的整数");

struct NetCommandForm {
    // Fixed when the form opens.
    std::string title;           // the function label
    std::string startLabel;      // "起始地址(bit)：" or "起始地址(word)："
    std::string lengthLabel;     // "长度(bit)：" or "长度(word)："
    bool lengthEnabled = true;   // off for 05H and 06H
    bool editSendVisible = true; // "数变即发", write functions only
    bool modbusEnabled = true;   // "MODBUS地址", add mode only

    // What the user edits.
    std::string startText;
    std::string lengthText;
    std::string gatewayText;
    std::string commentText;
    std::string modbusText;
    bool editSend = false;

    // Mode: a new command on `slave`, or the edit of command `index` of node
    // `node` of `slave`.
    bool editMode = false;
    int slave = -1;
    int node = 0;
    int index = -1;
    CModule saved; // edit mode: the command as it was
};

// A new command of `function` on the selected server, for its node `node`
// (the dialog always adds to the first; a workbook row may name another).
// The gateway field holds the proposal (words wrap at 2000, bits at 8192);
// without one "没有可用的网关地址" is shown and the field stays empty.
// Nothing without a selected server or for an unknown label.
std::optional<NetCommandForm> openNewNetCommandForm(const CVantorNetDoc& doc, std::string_view function,
                                                    MessageSink& sink, int node = 0);

// The command of module-list row `row` (counted over all nodes of the
// selected server). Nothing when the row does not exist.
std::optional<NetCommandForm> openEditNetCommandForm(const CVantorNetDoc& doc, int row);

// OK: the checks in order, each failure with its message (the form stays
// open). A new command goes to the form's node and moves its area's next
// gateway address; an edited one is restored when the overlap checks fail.
editing::FormResult acceptNetCommandForm(CVantorNetDoc& doc, NetCommandForm& form, MessageSink& sink);

// --- module list ---
const std::array<std::string, 8>& netModuleListHeaders();
const std::array<int, 8>& netModuleListWidths();

// Number (from 1), MODBUS address, function, start, length, "是" or empty,
// gateway address in reference notation, comment.
using NetModuleRow = std::array<std::string, 8>;
std::vector<NetModuleRow> netModuleRows(const CVantorNetDoc& doc);

// "删除" or the Delete key on row `row` (counted over all nodes): asks
// "确实要删除吗？" (caption "删除模块"); Yes removes the command. Answers
// whether a command was removed.
bool deleteNetCommand(CVantorNetDoc& doc, int row, MessageSink& sink);

} // namespace vantor::net
