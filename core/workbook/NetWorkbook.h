#pragma once
// A whole VantorNet project as a workbook, out and back in.
//
// Five sheets, one row per object under a header row of column names (the
// labels of the dialogs that set them):
//   网关  the gateway: model, its place and the bus line's in the drawing,
//         the work mode and the default of 数变即发
//   串口  the gateway's two serial ports (主站设置): baud, parity, stop bits,
//         the gateway's MODBUS address on the port
//   从站  the MODBUS TCP servers (从站属性): IP, port, unit address, name,
//         times, picture, control enable, place in the drawing
//   节点  further units of a server beyond the one 从站属性 sets (only an
//         edited project file has them); a workbook may leave this sheet out
//   命令  the commands (命令设置): the server (IP, port, unit address), the
//         unit when not the server's first, the function label, MODBUS地址,
//         start address, length, gateway address, 数变即发, comment
//
// The import builds a new project by running, row by row, the operations
// and checks of the device tree, 主站设置, 工作模式设置, 数变即发默认设置,
// 从站属性, 命令设置 and the compile that precedes every download, so every
// refusal carries the check's own message. A blank cell leaves the field as
// the dialog opens it: a blank 网关地址 gets the address the command dialog
// would propose, a blank 端口号 502, a blank 从站MOD地址 1. Rows are taken in
// sheet order, as if typed into the dialogs one after another. Every
// refused row is reported, the project is built only when none is. A row
// that depends on a refused row (a node or command of a refused server, a
// command of a refused node) is not reported again: the refused row is. A
// row naming a server or node that no row of its sheet has is refused.
// A server must lie at least partly on the drawing (above or left of it,
// it could not be seen or chosen); the bus reaches every server as adding
// one stretches it.
#include "net/CVantorNetDoc.h"
#include "sheet/ImportReport.h"
#include "sheet/SheetLayout.h"
#include "sheet/WorkbookReader.h"
#include "sheet/WorkbookWriter.h"
#include "workbook/SheetNames.h"

#include <string>
#include <vector>

namespace vantor::workbook {

inline constexpr const char* kNodesSheet = VT_DATA("节点");

enum NetGatewayColumn {
    kNgModel,
    kNgX,
    kNgY,
    kNgBusX,
    kNgBusY,
    kNgBusLength,
    kNgWorkMode,
    kNgEditSendDefault
};
enum NetPortColumn { kNpPort, kNpBaud, kNpParity, kNpStop, kNpAddress };
// The servers, nodes and commands sheets start with the same three columns:
// the server they concern.
enum NetServerColumn {
    kNsIp,
    kNsPort,
    kNsUnit,
    kNsName,
    kNsInterval,
    kNsTimeout,
    kNsPicture,
    kNsControl,
    kNsX,
    kNsY
};
enum NetNodeColumn { kNnIp, kNnPort, kNnUnit, kNnNode };
enum NetCommandColumn {
    kNcIp,
    kNcPort,
    kNcUnit,
    kNcNode,
    kNcFunc,
    kNcModbus,
    kNcStart,
    kNcLength,
    kNcGateway,
    kNcEditSend,
    kNcComment
};

const sheet::SheetLayout& netGatewaySheet();
const sheet::SheetLayout& netPortsSheet();
const sheet::SheetLayout& netServersSheet();
const sheet::SheetLayout& netNodesSheet();
const sheet::SheetLayout& netCommandsSheet();

// Texts of the import's own refusals, translated where a refusal is shown.
inline constexpr const char* kNoSuchServer = VT_TEXT("工程中没有此从站");
inline constexpr const char* kNoSuchNode = VT_TEXT("此从站没有此节点");
inline constexpr const char* kNodeTwice = VT_TEXT("此从站已有此节点");
inline constexpr const char* kPortTwice = VT_TEXT("此串口已经设置");
inline constexpr const char* kOneGateway = VT_TEXT("只支持单主站");

// --- export -------------------------------------------------------------------

std::vector<sheet::SheetData> exportNetSheets(const net::CVantorNetDoc& doc);
// Writes them to `path` (replaced atomically). False with the reason in
// `error`.
bool exportNetWorkbook(const net::CVantorNetDoc& doc, const std::string& path, std::string& error);

// --- import -------------------------------------------------------------------

using NetImportResult = sheet::ImportResult<net::CVantorNetDoc>;

// Builds a new project from a workbook.
NetImportResult importNetSheets(const sheet::ReadWorkbook& book);
// Reads the file first (an unreadable or hostile file fills fileError).
NetImportResult importNetWorkbook(const std::string& path);

} // namespace vantor::workbook
