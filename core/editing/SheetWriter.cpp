#include "editing/SheetWriter.h"

#include "common/AtomicFile.h"

#include "text/Numbers.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace vantor::editing {

namespace {

bool endsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

} // namespace

SheetWriter::SheetWriter(std::string path) : path_(std::move(path)), format_(formatFor(path_)) {}

SheetWriter::Format SheetWriter::formatFor(const std::string& path) {
    return endsWithNoCase(path, ".xlsx") ? Format::Workbook : Format::DelimitedText;
}

void SheetWriter::open(const std::string& sheet) {
    current_ = Sheet{sheet, {}, {}};
    sheetOpen_ = true;
}

void SheetWriter::setHeaders(std::vector<std::string> headers) {
    current_.headers = std::move(headers);
}

void SheetWriter::addRow(std::vector<std::string> row) {
    current_.rows.push_back(std::move(row));
}

bool SheetWriter::commit() {
    if (!sheetOpen_) {
        errors_ += "打开文件时产生错误\n";
        failed_ = true;
        return false;
    }
    sheetOpen_ = false;
    if (current_.headers.empty()) {
        errors_ += "添加列头时产生错误\n";
        failed_ = true;
        return false;
    }
    std::set<std::string> seen;
    for (const auto& h : current_.headers) {
        if (!seen.insert(h).second) {
            errors_ += text::format("首行列头字段重复:%s\n", h.c_str());
            failed_ = true;
            return false;
        }
    }
    auto same =
        std::find_if(sheets_.begin(), sheets_.end(), [&](const Sheet& s) { return s.name == current_.name; });
    if (same != sheets_.end())
        *same = std::move(current_);
    else
        sheets_.push_back(std::move(current_));
    current_ = Sheet{};
    return true;
}

bool SheetWriter::save() {
    if (path_.empty() || failed_)
        return false;
    // Written beside the target and renamed over it: an export that fails
    // halfway leaves the previous file as it was.
    AtomicFile file(path_);
    const char* openError = format_ == Format::Workbook ? "打开文件时产生错误\n" : "写文件时产生错误\n";
    if (!file.create()) {
        errors_ += openError;
        return false;
    }
    const bool ok = format_ == Format::Workbook ? saveWorkbook(file.tempPath()) : saveText(file);
    if (ok && !file.commit()) {
        errors_ += openError;
        return false;
    }
    return ok;
}

bool SheetWriter::saveWorkbook(const std::string& tempPath) {
    lxw_workbook* book = workbook_new(tempPath.c_str());
    if (book == nullptr) {
        errors_ += "打开文件时产生错误\n";
        return false;
    }
    bool ok = true;
    for (const auto& sheet : sheets_) {
        lxw_worksheet* ws = workbook_add_worksheet(book, sheet.name.c_str());
        if (ws == nullptr) {
            errors_ += "打开文件时产生错误\n";
            ok = false;
            break;
        }
        for (std::size_t c = 0; c < sheet.headers.size() && ok; ++c) {
            if (worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), sheet.headers[c].c_str(), nullptr) !=
                LXW_NO_ERROR) {
                errors_ += "添加列头时产生错误\n";
                ok = false;
            }
        }
        for (std::size_t r = 0; r < sheet.rows.size() && ok; ++r) {
            const auto& row = sheet.rows[r];
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (worksheet_write_string(ws, static_cast<lxw_row_t>(r + 1), static_cast<lxw_col_t>(c),
                                           row[c].c_str(), nullptr) != LXW_NO_ERROR) {
                    errors_ += "写文件时产生错误\n";
                    ok = false;
                    break;
                }
            }
        }
        if (!ok)
            break;
    }
    // Closing writes the file and frees the workbook in every case.
    lxw_error closed = workbook_close(book);
    if (ok && closed != LXW_NO_ERROR) {
        errors_ += "打开文件时产生错误\n";
        ok = false;
    }
    return ok;
}

std::string SheetWriter::quoteField(const std::string& field, char delimiter) {
    bool quote = field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string::npos ||
                 (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote)
        return field;
    std::string out = "\"";
    for (char ch : field) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    out += '"';
    return out;
}

bool SheetWriter::saveText(AtomicFile& file) {
    // Each sheet: its name on a line of its own, the header row, the rows;
    // a blank line between sheets.
    std::string out;
    const char delimiter = ',';
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i)
                out += delimiter;
            out += quoteField(cells[i], delimiter);
        }
        out += "\r\n";
    };
    for (std::size_t s = 0; s < sheets_.size(); ++s) {
        if (s)
            out += "\r\n";
        line({sheets_[s].name});
        line(sheets_[s].headers);
        for (const auto& row : sheets_[s].rows)
            line(row);
    }
    if (!file.write(out)) {
        errors_ += "写文件时产生错误\n";
        return false;
    }
    return true;
}

} // namespace vantor::editing
