#pragma once
// One cell of a workbook as the writer takes it and the reader gives it: a
// number, a text, or one of the kinds a reader meets in workbooks written by
// other programs (a truth value, a date, a formula, an error value), which
// the import refuses where a number or a text is expected.
#include <string>
#include <utility>

namespace vantor::sheet {

struct Cell {
    enum class Kind { Empty, Number, Text, Boolean, Date, Formula, Error };
    Kind kind = Kind::Empty;
    double number = 0; // Number; Boolean 0 or 1; Date the serial day number
    std::string text;  // Text; Error its code ("#N/A"); Formula its expression

    static Cell of(double value) { return {Kind::Number, value, {}}; }
    static Cell of(std::string value) { return {Kind::Text, 0, std::move(value)}; }
    bool empty() const { return kind == Kind::Empty || (kind == Kind::Text && text.empty()); }
    bool operator==(const Cell&) const = default;
};

} // namespace vantor::sheet
