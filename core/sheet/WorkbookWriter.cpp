#include "sheet/WorkbookWriter.h"

#include "common/AtomicFile.h"
#include "text/Gbk.h"
#include "text/Shown.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>

namespace vantor::sheet {

namespace {

constexpr double kMinWidth = 6;
constexpr double kMaxWidth = 60;

std::string numberText(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

double textWidth(const std::string& s) {
    return static_cast<double>(text::toGbkLossy(s).size());
}

lxw_error writeCell(lxw_worksheet* ws, lxw_row_t r, lxw_col_t c, const Cell& cell, lxw_format* dateFormat) {
    switch (cell.kind) {
    case Cell::Kind::Number:
        return worksheet_write_number(ws, r, c, cell.number, nullptr);
    case Cell::Kind::Text:
        return cell.text.empty() ? LXW_NO_ERROR
                                 : worksheet_write_string(ws, r, c, cell.text.c_str(), nullptr);
    case Cell::Kind::Boolean:
        return worksheet_write_boolean(ws, r, c, cell.number != 0, nullptr);
    case Cell::Kind::Date:
        return worksheet_write_number(ws, r, c, cell.number, dateFormat);
    case Cell::Kind::Formula:
        return worksheet_write_formula(ws, r, c, cell.text.c_str(), nullptr);
    case Cell::Kind::Error:
    case Cell::Kind::Empty:
        break;
    }
    return LXW_NO_ERROR;
}

WriteFailure writeSheet(lxw_workbook* book, const SheetData& sheet, lxw_format* bold,
                        lxw_format* dateFormat) {
    lxw_worksheet* ws = workbook_add_worksheet(book, sheet.name.c_str());
    if (ws == nullptr)
        return WriteFailure::Open;
    for (std::size_t c = 0; c < sheet.headers.size(); ++c)
        if (worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), sheet.headers[c].c_str(),
                                   sheet.readable ? bold : nullptr) != LXW_NO_ERROR)
            return WriteFailure::Header;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const auto& row = sheet.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c)
            if (writeCell(ws, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c), row[c], dateFormat) !=
                LXW_NO_ERROR)
                return WriteFailure::Row;
    }
    if (!sheet.readable)
        return WriteFailure::None;
    worksheet_freeze_panes(ws, 1, 0);
    for (std::size_t c = 0; c < sheet.headers.size(); ++c) {
        double width = textWidth(sheet.headers[c]);
        for (const auto& row : sheet.rows)
            if (c < row.size())
                width = std::max(width, displayWidth(row[c]));
        worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             std::clamp(width + 2, kMinWidth, kMaxWidth), nullptr);
    }
    return WriteFailure::None;
}

// The reason an export failed, for the user's eyes: the failed step in the
// user's language, the system's reason after it as the system gives it.
std::string cannotWrite(const std::string& path, const AtomicFile& file) {
    const SaveFailure& failure = *file.failure();
    const std::string reason = text::shown(failure.step) + failure.text().substr(failure.step.size());
    return text::shownFormat(VT_TEXT("无法写入 %s: %s"), path.c_str(), reason.c_str());
}

} // namespace

double displayWidth(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Number:
        return static_cast<double>(numberText(cell.number).size());
    case Cell::Kind::Text:
    case Cell::Kind::Formula:
        return textWidth(cell.text);
    case Cell::Kind::Date:
        return 10;
    default:
        return 5;
    }
}

WriteFailure writeWorkbook(const std::string& path, std::span<const SheetData> sheets) {
    lxw_workbook* book = workbook_new(path.c_str());
    if (book == nullptr)
        return WriteFailure::Open;
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    WriteFailure failure = WriteFailure::None;
    for (const auto& sheet : sheets)
        if ((failure = writeSheet(book, sheet, bold, dateFormat)) != WriteFailure::None)
            break;
    // Closing writes the file and frees the workbook in every case.
    const lxw_error closed = workbook_close(book);
    if (failure == WriteFailure::None && closed != LXW_NO_ERROR)
        failure = WriteFailure::Close;
    return failure;
}

bool saveWorkbook(const std::string& path, std::span<const SheetData> sheets, std::string& error) {
    AtomicFile file(path);
    if (!file.create()) {
        error = cannotWrite(path, file);
        return false;
    }
    if (writeWorkbook(file.tempPath(), sheets) != WriteFailure::None) {
        error = text::shownFormat(VT_TEXT("写文件时产生错误: %s"), path.c_str());
        return false;
    }
    if (!file.commit()) {
        error = cannotWrite(path, file);
        return false;
    }
    return true;
}

} // namespace vantor::sheet
