#include "sheet/RowFields.h"

#include "text/Shown.h"

#include <charconv>

namespace vantor::sheet {

const std::string& header(const SheetLayout& layout, int column) {
    return layout.columns.at(static_cast<std::size_t>(column)).header;
}

int choiceIndex(const std::string& text, const std::vector<std::string>& choices) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i] == text)
            return static_cast<int>(i);
    return -1;
}

std::string choiceAt(const std::vector<std::string>& choices, int index) {
    return index >= 0 && index < static_cast<int>(choices.size()) ? choices[static_cast<std::size_t>(index)]
                                                                  : std::string();
}

bool takeInteger(const FieldRow& row, const SheetLayout& layout, int column, int low, int high,
                 std::optional<int>& out, RowSink& sink) {
    if (row.blank(column))
        return true;
    const std::string& t = row.text(column);
    long long v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || v < low || v > high) {
        sink.refuse(header(layout, column), text::shownFormat(VT_TEXT("%s请添入一个%d和%d之间的整数"),
                                                              header(layout, column).c_str(), low, high));
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

bool takeChoice(const FieldRow& row, const SheetLayout& layout, int column,
                const std::vector<std::string>& choices, int& index, RowSink& sink,
                std::initializer_list<std::pair<const char*, int>> aliases) {
    index = -1;
    if (row.blank(column))
        return true;
    const std::string& t = row.text(column);
    index = choiceIndex(t, choices);
    for (const auto& [alias, item] : aliases)
        if (t == alias)
            index = item;
    if (index < 0) {
        sink.refuse(header(layout, column), choiceMessage(header(layout, column), choices));
        return false;
    }
    return true;
}

std::string notOffered(const std::string& header) {
    return text::shownFormat(VT_TEXT("此功能没有%s"), header.c_str());
}

bool RefusedKeys::covers(const std::vector<std::string>& key) const {
    for (const auto& refused : keys_) {
        bool match = refused.size() == key.size();
        for (std::size_t i = 0; match && i < key.size(); ++i)
            match = refused[i].empty() || refused[i] == key[i];
        if (match)
            return true;
    }
    return false;
}

} // namespace vantor::sheet
