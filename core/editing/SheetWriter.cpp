#include "editing/SheetWriter.h"

#include "common/AtomicFile.h"
#include "sheet/WorkbookWriter.h"

#include "text/Numbers.h"
#include "text/Shown.h"

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
        errors_ += text::shown(VT_TEXT("打开文件时产生错误")) + "\n";
        failed_ = true;
        return false;
    }
    sheetOpen_ = false;
    if (current_.headers.empty()) {
        errors_ += text::shown(VT_TEXT("添加列头时产生错误")) + "\n";
        failed_ = true;
        return false;
    }
    std::set<std::string> seen;
    for (const auto& h : current_.headers) {
        if (!seen.insert(h).second) {
            errors_ += text::shownFormat(VT_TEXT("首行列头字段重复:%s"), h.c_str()) + "\n";
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
    const std::string openError = text::shown(format_ == Format::Workbook ? VT_TEXT("打开文件时产生错误")
                                                                          : VT_TEXT("写文件时产生错误")) +
                                  "\n";
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
    // Every cell a text, the plain layout of the table exports.
    std::vector<sheet::SheetData> data;
    data.reserve(sheets_.size());
    for (const auto& s : sheets_) {
        sheet::SheetData d{s.name, s.headers, {}, false};
        d.rows.reserve(s.rows.size());
        for (const auto& row : s.rows) {
            std::vector<sheet::Cell> cells;
            cells.reserve(row.size());
            for (const auto& field : row)
                cells.push_back(sheet::Cell::of(field));
            d.rows.push_back(std::move(cells));
        }
        data.push_back(std::move(d));
    }
    switch (sheet::writeWorkbook(tempPath, data)) {
    case sheet::WriteFailure::None:
        return true;
    case sheet::WriteFailure::Header:
        errors_ += text::shown(VT_TEXT("添加列头时产生错误")) + "\n";
        return false;
    case sheet::WriteFailure::Row:
        errors_ += text::shown(VT_TEXT("写文件时产生错误")) + "\n";
        return false;
    default:
        errors_ += text::shown(VT_TEXT("打开文件时产生错误")) + "\n";
        return false;
    }
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
        errors_ += text::shown(VT_TEXT("写文件时产生错误")) + "\n";
        return false;
    }
    return true;
}

} // namespace vantor::editing
