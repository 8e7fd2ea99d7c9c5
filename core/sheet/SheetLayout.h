#pragma once
// How a project level is laid out on a sheet, for the export and the import
// alike: the sheet's name and its columns in order, each with the kind of
// cell it holds, and which column each refusal message concerns.
//
// A project's workbook mapping (Vantor's in workbook/VantorWorkbook, and any
// other program's the same way) describes each sheet once as a SheetLayout and
// numbers its columns by an enum in the same order. The export builds its
// rows cell by cell in that order (sheetData); the import reads a sheet into
// a SheetTable, which finds the columns by header name in any order, ignores
// the others and turns each row's cells into the texts the editing forms
// take (a number cell 3 or 3.0 gives "3", so the forms' own checks and
// messages apply), and then runs the row's core operations through
// importRows, which reports every refused row in the ImportReport.
#include "sheet/Cell.h"
#include "sheet/ImportReport.h"
#include "sheet/WorkbookReader.h"
#include "sheet/WorkbookWriter.h"
#include "text/Shown.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::sheet {

// Number: written as a number; read from a number or a text cell.
// Text: written as a text; read from a text or a number cell.
// Flag: a tick box, written "是" or "否"; read from "是"/"否", a truth value
// or 1/0.
enum class ColumnType { Number, Text, Flag };

struct ColumnLayout {
    std::string header;
    ColumnType type = ColumnType::Text;
    bool required = false; // the column must be there and each row's cell filled
};

// A refusal whose message starts with `messageStart` concerns `column`.
struct RefusalColumn {
    std::string messageStart;
    std::string column;
};

struct SheetLayout {
    std::string name;
    std::vector<ColumnLayout> columns;
    std::vector<RefusalColumn> refusalColumns;
    std::string otherColumn; // for messages nothing else places
    bool optional = false;   // a workbook without this sheet has no rows of it

    // The column a message concerns: the first refusalColumns entry that
    // starts it, else a column whose header starts it (the longest), else
    // otherColumn.
    std::string columnFor(std::string_view message) const;
};

// Texts of the reading rules: refusal messages, translated where a refusal
// is shown (ImportReport::line); the flag's cell texts stay as written.
inline constexpr const char* kSheetMissing = VT_TEXT("工作簿中没有此工作表");
inline constexpr const char* kColumnMissing = VT_TEXT("缺少此列");
inline constexpr const char* kColumnTwice = VT_TEXT("列名重复");
inline constexpr const char* kDateCell = VT_TEXT("单元格为日期，请填写数值或文字");
inline constexpr const char* kFormulaCell = VT_TEXT("单元格为公式，请填写数值或文字");
inline constexpr const char* kErrorCell = VT_TEXT("单元格为错误值");
inline constexpr const char* kFlagWrong = VT_TEXT("请填写“是”或“否”");
inline constexpr const char* kRequiredBlank = VT_TEXT("此项不能为空");
inline constexpr const char* kFlagYes = VT_DATA("是");
inline constexpr const char* kFlagNo = VT_DATA("否");

// "<header>应为A、B或C": the refusal of a value outside a list of choices,
// in the user's language (the header and the choices as the sheet has them).
std::string choiceMessage(const std::string& header, std::span<const std::string> choices);

// --- writing ---------------------------------------------------------------

inline Cell flagCell(bool on) {
    return Cell::of(std::string(on ? kFlagYes : kFlagNo));
}

// The readable sheet of a layout with the rows given (cells in column order).
SheetData sheetData(const SheetLayout& layout, std::vector<std::vector<Cell>> rows);

// --- reading ---------------------------------------------------------------

struct FieldRow {
    int number = 0;                                 // as the spreadsheet shows it
    std::vector<std::optional<std::string>> values; // per layout column; empty when blank

    bool blank(int column) const { return !values.at(static_cast<std::size_t>(column)); }
    // The text of a filled cell; "" when blank.
    const std::string& text(int column) const;
    // A flag column: empty when blank.
    std::optional<bool> flag(int column) const;
};

// The text a number cell stands for: "3" for 3 and 3.0, "2.5", "1e+20".
std::string numberText(double value);

class SheetTable {
public:
    // The sheet `layout` names, read as described above. A missing sheet
    // (unless optional), a missing required column, a column name used
    // twice, or a missing column beside a header the layout does not know is
    // refused (the table then has no rows). A row whose cells are blank or
    // hold only blanks is skipped. A row that holds a date, a formula or an
    // error value, a flag that is neither yes nor no, or a blank required
    // cell is refused and left out. `present` is false for a refused sheet.
    static SheetTable read(const ReadWorkbook& book, const SheetLayout& layout, ImportReport& report);

    const SheetLayout* layout = nullptr;
    bool present = false;
    std::vector<FieldRow> rows;
    // The rows refused while reading, with the cells that could be read:
    // what depends on them (a slave's commands) is not refused again.
    std::vector<FieldRow> refused;
};

// Runs `apply(row, sink)` for each row in order, each with a fresh RowSink.
// A row it answers false for is refused with the sink's message, in the
// column the sink or the layout names. Answers whether every row passed.
template <typename Apply> bool importRows(const SheetTable& table, ImportReport& report, Apply&& apply) {
    bool all = true;
    for (const auto& row : table.rows) {
        RowSink sink;
        if (apply(row, sink))
            continue;
        all = false;
        std::string column = sink.column();
        if (column.empty() && text::translating()) {
            // The layout tells an operation's refusal by the Chinese it starts
            // with: the row is told again with the texts as written (a
            // refused row changed nothing) for the column alone.
            const text::AsWritten asWritten;
            RowSink written;
            apply(row, written);
            column = table.layout->columnFor(written.message());
        } else if (column.empty()) {
            column = table.layout->columnFor(sink.message());
        }
        report.refuse({table.layout->name, row.number, column, sink.message()});
    }
    return all;
}

// Reads the workbook at `path` and hands it to `import` (which answers an
// ImportResult<Doc>); an unreadable or hostile file fills fileError.
template <typename Doc, typename Import>
ImportResult<Doc> importFile(const std::string& path, Import&& import) {
    const ReadWorkbook book = readWorkbook(path);
    if (!book.ok) {
        ImportResult<Doc> r;
        r.fileError = book.error;
        return r;
    }
    return import(book);
}

} // namespace vantor::sheet
