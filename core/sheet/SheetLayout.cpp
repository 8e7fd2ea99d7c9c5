#include "sheet/SheetLayout.h"

#include <cmath>
#include <cstdio>
#include <map>

namespace vantor::sheet {

namespace {

std::string trimmed(std::string s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::string headerText(const Cell& c) {
    return trimmed(c.kind == Cell::Kind::Number ? numberText(c.number) : c.text);
}

// The field text of one cell, or the refusal of the cell.
struct Field {
    std::optional<std::string> text;
    const char* refusal = nullptr;
};

Field fieldOf(const Cell& c, ColumnType type) {
    switch (c.kind) {
    case Cell::Kind::Date:
        return {std::nullopt, kDateCell};
    case Cell::Kind::Formula:
        return {std::nullopt, kFormulaCell};
    case Cell::Kind::Error:
        return {std::nullopt, kErrorCell};
    default:
        break;
    }
    if (type == ColumnType::Flag) {
        const bool number = c.kind == Cell::Kind::Number || c.kind == Cell::Kind::Boolean;
        if ((number && c.number == 1) || (!number && c.text == kFlagYes))
            return {kFlagYes, nullptr};
        if ((number && c.number == 0) || (!number && c.text == kFlagNo))
            return {kFlagNo, nullptr};
        return {std::nullopt, kFlagWrong};
    }
    switch (c.kind) {
    case Cell::Kind::Number:
        return {numberText(c.number), nullptr};
    case Cell::Kind::Boolean:
        return {std::string(c.number != 0 ? "TRUE" : "FALSE"), nullptr};
    default:
        return {c.text, nullptr};
    }
}

} // namespace

std::string SheetLayout::columnFor(std::string_view message) const {
    for (const auto& r : refusalColumns)
        if (message.starts_with(r.messageStart))
            return r.column;
    const ColumnLayout* best = nullptr;
    for (const auto& c : columns)
        if (message.starts_with(c.header) && (!best || c.header.size() > best->header.size()))
            best = &c;
    return best ? best->header : otherColumn;
}

std::string choiceMessage(const std::string& header, std::span<const std::string> choices) {
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list = i == 0 ? choices[i]
                      : text::shownFormat(i + 1 == choices.size() ? VT_TEXT("%s或%s") : VT_TEXT("%s、%s"),
                                          list.c_str(), choices[i].c_str());
    return text::shownFormat(VT_TEXT("%s应为%s"), header.c_str(), list.c_str());
}

SheetData sheetData(const SheetLayout& layout, std::vector<std::vector<Cell>> rows) {
    SheetData d{layout.name, {}, std::move(rows), true};
    for (const auto& c : layout.columns)
        d.headers.push_back(c.header);
    return d;
}

const std::string& FieldRow::text(int column) const {
    static const std::string empty;
    const auto& v = values.at(static_cast<std::size_t>(column));
    return v ? *v : empty;
}

std::optional<bool> FieldRow::flag(int column) const {
    const auto& v = values.at(static_cast<std::size_t>(column));
    if (!v)
        return std::nullopt;
    return *v == kFlagYes;
}

std::string numberText(double value) {
    char buf[40];
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        std::snprintf(buf, sizeof buf, "%.0f", value == 0 ? 0.0 : value);
    else
        std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

SheetTable SheetTable::read(const ReadWorkbook& book, const SheetLayout& layout, ImportReport& report) {
    SheetTable table;
    table.layout = &layout;
    const ReadSheet* sheet = book.sheet(layout.name);
    if (!sheet) {
        if (layout.optional)
            table.present = true;
        else
            report.refuse({layout.name, 0, {}, kSheetMissing});
        return table;
    }
    if (sheet->rows.empty()) {
        // A sheet without even its header row holds no objects; its required
        // columns are missing all the same.
        for (const auto& c : layout.columns)
            if (c.required) {
                report.refuse({layout.name, 0, c.header, kColumnMissing});
                return table;
            }
        table.present = true;
        return table;
    }
    // The header row: the first row holding cells.
    const ReadRow& header = sheet->rows.front();
    std::map<std::string, int> byName; // header text -> sheet column
    std::vector<int> column(layout.columns.size(), -1);
    bool ok = true;
    bool unknown = false; // a header no column of the layout has
    for (const auto& [at, cell] : header.cells) {
        const std::string name = headerText(cell);
        bool known = false;
        for (std::size_t i = 0; i < layout.columns.size(); ++i) {
            if (layout.columns[i].header != name)
                continue;
            known = true;
            if (column[i] >= 0) {
                report.refuse({layout.name, header.number, name, kColumnTwice});
                ok = false;
            }
            column[i] = at;
        }
        unknown = unknown || (!known && !name.empty());
    }
    // An optional column may be left out; but beside a header the layout does
    // not know, its absence is more likely a misspelt or renamed header
    // ("站地址 ", "从站 地址"), whose values would be lost without a word.
    for (std::size_t i = 0; i < layout.columns.size(); ++i)
        if ((layout.columns[i].required || unknown) && column[i] < 0) {
            report.refuse({layout.name, header.number, layout.columns[i].header, kColumnMissing});
            ok = false;
        }
    if (!ok)
        return table;
    table.present = true;
    for (std::size_t r = 1; r < sheet->rows.size(); ++r) {
        const ReadRow& row = sheet->rows[r];
        FieldRow f{row.number, std::vector<std::optional<std::string>>(layout.columns.size())};
        bool taken = false; // a row whose layout columns are all blank is an empty row
        const char* refusal = nullptr;
        std::string refusedColumn;
        // Every cell is read, past a refused one too: what depends on a
        // refused row finds it by its other cells.
        for (std::size_t i = 0; i < layout.columns.size(); ++i) {
            const Cell* cell = column[i] >= 0 ? row.at(column[i]) : nullptr;
            if (!cell || cell->empty())
                continue;
            // Blanks typed into a cell look like a blank cell: they do not
            // make a row, and a number or a flag of blanks is blank. A text
            // keeps them when the row has other cells.
            const bool blanks = cell->kind == Cell::Kind::Text && trimmed(cell->text).empty();
            if (blanks && layout.columns[i].type != ColumnType::Text)
                continue;
            Field field = fieldOf(*cell, layout.columns[i].type);
            if (field.refusal && !refusal) {
                refusal = field.refusal;
                refusedColumn = layout.columns[i].header;
            }
            f.values[i] = std::move(field.text);
            taken = taken || !blanks;
        }
        if (!taken && !refusal)
            continue;
        for (std::size_t i = 0; i < layout.columns.size() && !refusal; ++i)
            if (layout.columns[i].required && (!f.values[i] || trimmed(*f.values[i]).empty())) {
                refusal = kRequiredBlank;
                refusedColumn = layout.columns[i].header;
            }
        if (refusal) {
            report.refuse({layout.name, row.number, refusedColumn, refusal});
            table.refused.push_back(std::move(f));
        } else
            table.rows.push_back(std::move(f));
    }
    return table;
}

} // namespace vantor::sheet
