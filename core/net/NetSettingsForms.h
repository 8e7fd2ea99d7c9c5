#pragma once
// The project-wide settings forms of VantorNet: the gateway's two serial
// ports ("主站设置"), the work mode ("工作模式设置") and the default of the
// change-triggered send ("数变即发默认设置").
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "net/CVantorNetDoc.h"

#include <optional>
#include <string>

namespace vantor::net {

struct NetPortFields {
    int baud = 0;   // index into the baud list
    int parity = 0; // index into the parity list
    int stop = 0;   // index into the stop-bit list
    std::string addressText;
};

struct NetGatewayForm {
    NetPortFields com1;
    NetPortFields com2;
    bool com2Enabled = true; // off for the single-port models
};

NetGatewayForm openGatewayForm(const CVantorNetDoc& doc);

// OK: each port's MODBUS address must be a number 1..247 ("请输入一个介于 1 和
// 247 之间的整数。"), list indexes inside their lists; then both ports take
// the three indexes and the address.
editing::FormResult acceptGatewayForm(CVantorNetDoc& doc, const NetGatewayForm& form, MessageSink& sink);

// "工作模式设置" runs only for a gateway with a choice of work mode
// (LNK-P1-1.0): the current mode, or nothing.
std::optional<int> openWorkModeForm(const CVantorNetDoc& doc);
// 0 "tcp-master+rtu-slave", 1 "tcp-master+rtu-master".
void acceptWorkModeForm(CVantorNetDoc& doc, int mode);

// "数变即发默认设置": "使能" true, "不使能" false.
bool openChangeSendDefaultForm(const CVantorNetDoc& doc);
void acceptChangeSendDefaultForm(CVantorNetDoc& doc, bool enabled);

} // namespace vantor::net
