#pragma once
// The command form ("命令编辑"): its fixed texts and switches, the fields the
// user edits, and the mode. The core fills it on open and checks it on OK;
// the window only copies it to and from its controls.
#include "model/CModule.h"
#include "text/Shown.h"

#include <string>

namespace vantor::editing {

struct CommandForm {
    // Fixed when the form opens.
    std::string title;           // the command kind text
    std::string startLabel;      // "起始地址(bit)：" or "起始地址(word)："
    std::string lengthLabel;     // "长度(bit)：" or "长度(word)："
    bool lengthEnabled = true;   // off for the two single writes
    bool editSendVisible = true; // "数变即发:" and its box, writes only
    bool cdtYxVisible = false;   // "同时映射到遥信数据区", CDT model word kinds
    std::string gatewayLabel = VT_TEXT("网关地址:");
    std::string commentLabel = VT_TEXT("注释：");

    // What the user edits.
    std::string startText;
    std::string lengthText;
    std::string gatewayText;
    std::string commentText;
    bool editSend = false;
    bool cdtYx = false;

    // Mode: new command on `slave`, or edit of command `index` of `slave`.
    // After OK in new mode `index` names the appended command (-1 when the
    // EtherNet/IP size check took it out again).
    bool editMode = false;
    int slave = -1;
    int index = -1;
    // Edit mode: the command's values when the form opened (Start_Add,
    // Length, Explain, editSend, isCDTYx, Gate_Add are the ones used).
    model::CModule saved;
};

} // namespace vantor::editing
