#include "sheet/ImportReport.h"

#include "text/Numbers.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::sheet {

std::string ImportReport::line(const Refusal& r) {
    // The sheet and column as the workbook names them; the message in the
    // user's language (a composed one already is).
    const std::string message = text::shown(r.message);
    const char* sheet = r.sheet.c_str();
    const char* column = r.column.c_str();
    if (r.row > 0 && !r.column.empty())
        return text::shownFormat(VT_TEXT("%s 第%d行 %s: %s"), sheet, r.row, column, message.c_str());
    if (r.row > 0)
        return text::shownFormat(VT_TEXT("%s 第%d行: %s"), sheet, r.row, message.c_str());
    if (!r.column.empty())
        return text::format("%s %s: %s", sheet, column, message.c_str());
    return text::format("%s: %s", sheet, message.c_str());
}

std::string ImportReport::text() const {
    std::string out;
    for (const auto& r : refusals_)
        out += line(r) + "\n";
    return out;
}

void ImportReport::sort(const std::vector<std::string>& sheetOrder) {
    auto rank = [&](const Refusal& r) {
        return std::find(sheetOrder.begin(), sheetOrder.end(), r.sheet) - sheetOrder.begin();
    };
    std::stable_sort(refusals_.begin(), refusals_.end(), [&](const Refusal& a, const Refusal& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.row < b.row;
    });
}

void RowSink::error(const std::string&, const std::string& text) {
    if (refused_)
        return;
    refused_ = true;
    message_ = text;
}

void RowSink::refuse(const std::string& column, const std::string& text) {
    if (refused_)
        return;
    refused_ = true;
    message_ = text;
    column_ = column;
}

} // namespace vantor::sheet
