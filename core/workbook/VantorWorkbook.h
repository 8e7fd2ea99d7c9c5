#pragma once
// A whole Vantor project as a workbook, out and back in.
//
// Four sheets, one per level of the project, one row per object under a
// header row of column names (the labels of the dialogs that set them):
//   网关  the gateway: model, picture position, addressing mode, the default
//         values, the access IP, the network settings, the work mode, the
//         CDT options (TRC-H-ZRTU) and the EtherNet/IP port areas
//   串口  the serial lines: port, serial settings, gap, drawing position
//   从站  the slaves: line, address, name, times, config word, position
//   命令  the commands: line and slave address, function (the command kind
//         as the dialogs show it), start address, length, gateway address,
//         数变即发, 同时映射到遥信数据区 and the comment
//
// The import builds a new project by running, row by row, the operations
// and checks of the catalogue, the property dialogs, the command dialog and
// the download's area check, so every refusal carries the check's own
// message. A blank cell leaves the field as the dialog opens it: a blank
// 网关地址 gets the address the command dialog would propose, a blank
// 从站地址 the lowest free one, a blank time the project's default. Rows are
// taken in sheet order, as if typed into the dialogs one after another.
// Every refused row is reported; the project is built only when none is.
// A row that depends on a refused row (a slave of a refused line, a command
// of a refused line or slave) is not reported again: the refused row is. A
// row naming a line or slave that no row of its sheet has is refused.
// Addresses are stored as the address controls store them; a slave must lie
// at least partly on the drawing, and a line that does not reach its slaves
// is fitted to them as after a drop in the drawing.
#include "model/CVantorDoc.h"
#include "sheet/ImportReport.h"
#include "sheet/SheetLayout.h"
#include "sheet/WorkbookReader.h"
#include "sheet/WorkbookWriter.h"
#include "workbook/SheetNames.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor::workbook {

// Columns of each sheet, in the order the export writes them.
enum GatewayColumn {
    kGwModel,
    kGwX,
    kGwY,
    kGwAddressing,
    kGwEditSendDefault,
    kGwInterval,
    kGwTimeout,
    kGwAccessIp,
    kGwIp,
    kGwMask,
    kGwGateway,
    kGwPort,
    kGwWorkMode,
    kGwCdtBaud,
    kGwCdtParity,
    kGwCdtRemote,
    kGwCdtStation,
    kGwCdtTelemetry,
    kGwCdtTelesignal,
    // Then per port COM1..COM6: state words enable, start, count, control
    // words enable, start, count.
    kGwEipFirst,
};
inline int eipColumn(int com, bool control, int field) { // com 1..6, field 0 enable, 1 start, 2 count
    return kGwEipFirst + (com - 1) * 6 + (control ? 3 : 0) + field;
}
enum LineColumn { kLnPort, kLnBaud, kLnParity, kLnStop, kLnGap, kLnX, kLnY, kLnLength };
enum SlaveColumn { kSlPort, kSlAddress, kSlName, kSlInterval, kSlTimeout, kSlControl, kSlX, kSlY };
enum CommandColumn {
    kCmPort,
    kCmSlave,
    kCmFunc,
    kCmStart,
    kCmLength,
    kCmGateway,
    kCmEditSend,
    kCmCdtYx,
    kCmComment
};

const sheet::SheetLayout& gatewaySheet();
const sheet::SheetLayout& linesSheet();
const sheet::SheetLayout& slavesSheet();
const sheet::SheetLayout& commandsSheet();

// The config words a slave can have: a new slave's, and what 从站属性 stores
// with 从站操作使能 ticked or not.
inline constexpr int kNewSlaveControl = 0x81;

// Texts of the import's own refusals, translated where a refusal is shown.
inline constexpr const char* kNoSuchLine = VT_TEXT("工程中没有此串口");
inline constexpr const char* kNoSuchSlave = VT_TEXT("工程中没有此从站");
inline constexpr const char* kCdtLinkLine = VT_TEXT("COM1是TRC-H-ZRTU的CDT链路，不能在此设置");
inline constexpr const char* kModelHasNoSuchSetting = VT_TEXT("此网关型号没有此项设置");

// --- export -------------------------------------------------------------------

// The four sheets of a project.
std::vector<sheet::SheetData> exportSheets(const model::CVantorDoc& doc);

// Writes them to `path` (replaced atomically). False with the reason in
// `error`.
bool exportWorkbook(const model::CVantorDoc& doc, const std::string& path, std::string& error);

// --- import -------------------------------------------------------------------

using ImportResult = sheet::ImportResult<model::CVantorDoc>;

// Builds a project from a workbook on `fresh`, a new project (its access IP
// and everything no sheet names stay as a new project has them).
ImportResult importSheets(const sheet::ReadWorkbook& book, const model::CVantorDoc& fresh);

// Reads the file first (an unreadable or hostile file fills fileError).
ImportResult importWorkbook(const std::string& path, const model::CVantorDoc& fresh);

} // namespace vantor::workbook
