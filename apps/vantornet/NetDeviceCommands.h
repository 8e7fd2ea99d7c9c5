#pragma once
// The device commands of VantorNet's 设备 menu and toolbar: compiling, the
// download window and the network-settings window. Each shows its own
// messages and returns when its window has closed.
#include "net/NetCompiler.h"

#include <optional>

class QMainWindow;

// 编译: the compile checks (each refusal with its message), then both
// images; nothing when a check refused.
std::optional<vantor::net::NetImages> runNetCompileCommand(QMainWindow* window,
                                                           const vantor::net::CVantorNetDoc& doc);
// 下载, and 编译并下载 after its compile (`compiled`): the question about
// servers without commands, the compile checks unless they have just
// passed (the window works on the images of the project as it is), then
// the "配置下载" window. Its exchange keeps the project's rev_allow.
void runNetDownloadCommand(QMainWindow* window, vantor::net::CVantorNetDoc& doc, bool compiled);
// IP地址设置: the "TCP/IP值修改" window, opened only when the address file
// IP/ip.txt exists; its exchange keeps the project's rev_allow.
void runNetIpSetCommand(QMainWindow* window, vantor::net::CVantorNetDoc& doc);
