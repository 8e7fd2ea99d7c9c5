#pragma once
// The slave properties form ("从站属性") of a MODBUS TCP server: fields,
// opening values in add and edit mode, and the OK checks with their messages.
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "net/CVantorNetDoc.h"
#include "text/Shown.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantor::net {

struct NetServerForm {
    bool addMode = false;
    int slave = -1; // edit mode: the server edited

    std::string ipText;       // "IP地址"
    std::string portText;     // "端口号"
    std::string unitText;     // "从站MOD地址"
    std::string intervalText; // "报文发送延时" (ms)
    std::string timeoutText;  // "应答超时时间" (ms)
    std::string nameText;     // "设备名称"
    std::string picture;      // "设备图像": file name only
    bool control = true;      // "控制使能"
};

inline constexpr const char* kServerFormNote = VT_TEXT("注意: 报文发送间隔 应答超时时间取值为10的整数倍");

// Add mode: "SLAVE", 192.168.0.1, port 502, timeout 500, interval 50,
// "node.bmp", control ticked, unit address 1. Sets insert_slave_flag until
// endServerForm.
NetServerForm openNewServerForm(CVantorNetDoc& doc);

// Edit mode on the selected server: times × 10, the first node's unit
// address. Nothing when no server is selected.
std::optional<NetServerForm> openServerForm(const CVantorNetDoc& doc);

// An IP a server can have: four parts 0..255 of digits only, and an address
// the gateway can connect to (not 0.x.x.x, multicast or broadcast).
bool serverIpValid(std::string_view text);

// The first server other than `skip` (an index, -1 for none) with the same
// IP (as an address: "192.168.000.011" is 192.168.0.11), port and
// first-node unit address, or -1.
int findServer(const CVantorNetDoc& doc, std::string_view ip, int port, int unit, int skip = -1);

// The message when findServer finds one, else nothing.
std::optional<std::string> serverClash(const CVantorNetDoc& doc, std::string_view ip, int port, int unit,
                                       int skip);

// The file name of a chosen picture path: what follows the last "\" or "/".
std::string pictureFileName(std::string_view path);

// OK: the checks in order, each failure with its message (the form stays
// open, nothing changes). Add mode then adds the server; edit mode replaces
// name, IP, port, times, picture, first-node unit address and control.
editing::FormResult acceptServerForm(CVantorNetDoc& doc, NetServerForm& form, MessageSink& sink);

// The form closed (OK or cancel): insert_slave_flag back to 0.
void endServerForm(CVantorNetDoc& doc);

} // namespace vantor::net
