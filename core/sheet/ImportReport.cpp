#include "sheet/ImportReport.h"

#include <algorithm>

namespace vantor::sheet {

std::string ImportReport::line(const Refusal& r) {
    std::string out = r.sheet;
    if (r.row > 0)
        out += " 第" + std::to_string(r.row) + "行";
    if (!r.column.empty())
        out += " " + r.column;
    return out + ": " + r.message;
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
