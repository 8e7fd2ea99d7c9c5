#pragma once
// The fleet plan: one row per gateway of a plant, read from a CSV file with
// the header `name,ip,port,project,mport` (the last column may be left
// out). Fields may be quoted ("a,b", "say ""x"""), blank lines are skipped,
// a UTF-8 byte-order mark and CR-LF line ends are accepted. The project
// path is resolved relative to the plan's folder.
//
// Every row that cannot run is refused with its line number before anything
// is sent: a missing or duplicate name, an address or port no gateway can
// have, two rows for the same gateway, a project that is not a .vtc or
// .vncfg file. The project itself is read and checked by preparePlanRow
// (FleetGateway.h).
#include "sheet/WorkbookReader.h"
#include "text/Shown.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::fleet {

struct PlanRow {
    int line = 0; // of the plan file, the header being line 1
    std::string name;
    std::string host;        // dotted IPv4, as connectTarget normalised it
    std::optional<int> port; // the configuration port; none: the model's service port
    std::string project;     // as written in the plan
    std::string path;        // resolved against the plan's folder
    std::optional<int> modbusPort;
};

// A row that cannot run, and why.
struct PlanRefusal {
    int line = 0;
    std::string name; // may be empty (the row's name was the fault)
    std::string text;
    bool operator==(const PlanRefusal&) const = default;
};

struct PlanParse {
    // A fault of the whole plan (no header, an unclosed quote): nothing runs.
    std::string error;
    std::vector<PlanRow> rows; // the rows that passed, in order
    std::vector<PlanRefusal> refusals;
};

// The refusals' texts are kept as written (the report holds them) and
// translated where a refusal is shown (refusalLine). A fault of the whole
// plan is only shown: one made of pieces is made in the user's language.
inline constexpr const char* kPlanHeader = "name,ip,port,project,mport";
inline constexpr const char* kPlanBadHeader = VT_TEXT("计划表头应为 name,ip,port,project,mport");
inline constexpr const char* kPlanNoRows = VT_TEXT("计划中没有网关");
inline constexpr const char* kPlanOpenQuote = VT_TEXT("引号未闭合");
inline constexpr const char* kPlanFieldCount = VT_TEXT("字段数不对");
inline constexpr const char* kPlanNoName = VT_TEXT("名称为空");
inline constexpr const char* kPlanNoProject = VT_TEXT("工程文件为空");
inline constexpr const char* kPlanProjectKind = VT_TEXT("工程文件应为 .vtc 或 .vncfg");
inline constexpr const char* kPlanModbusPortWrong = VT_TEXT("MODBUS TCP端口格式错误");
// A row whose project cannot be read (prepareRow): "工程文件不存在 PATH".
inline constexpr const char* kProjectMissing = VT_TEXT("工程文件不存在");

// "名称与第N行重复", "与第N行是同一网关".
std::string duplicateNameText(int otherLine);
std::string sameGatewayText(int otherLine);

// "第N行 NAME: TEXT" (the name left out when empty), in the user's language
// but for the name.
std::string refusalLine(const PlanRefusal& refusal);

// Splits CSV text into records of fields; each record with the line it
// starts on. Nothing (and `error` set) for an unclosed quote.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};
std::optional<std::vector<CsvRecord>> splitCsv(std::string_view text, std::string* error);

// Reads the plan text; `planDir` is the folder the project paths are
// relative to.
PlanParse parsePlan(std::string_view text, const std::string& planDir);
// The same rules over records already split (line numbers kept).
PlanParse parsePlanRecords(const std::vector<CsvRecord>& records, const std::string& planDir);

// A plan may also be the sheet 计划 of a workbook (.xlsx), with the same
// header in its first row; the rows' numbers are the spreadsheet's.
inline constexpr const char* kPlanSheet = VT_DATA("计划");
inline constexpr const char* kPlanNoSheet = VT_TEXT("工作簿中没有工作表“计划”");
inline constexpr const char* kPlanUnreadable = VT_TEXT("无法读取计划文件");
std::optional<std::vector<CsvRecord>> planSheetRecords(const sheet::ReadWorkbook& book, std::string* error);

// The plan file at `path`: a CSV file, or a workbook by its .xlsx suffix;
// project paths relative to its folder.
PlanParse readPlanFile(const std::string& path);

} // namespace vantor::fleet
