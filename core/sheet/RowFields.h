#pragma once
// Taking the cells of one imported row that no editing form reads as text:
// whole numbers in a range, items of a list of choices, and the header of
// the column a refusal names. Shared by every program's workbook import.
#include "sheet/ImportReport.h"
#include "sheet/SheetLayout.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vantor::sheet {

const std::string& header(const SheetLayout& layout, int column);

// Index of `text` in `choices`, -1 when it is none of them.
int choiceIndex(const std::string& text, const std::vector<std::string>& choices);

// The item at `index`, "" when the index is outside the list (a damaged
// file): the export leaves such a cell blank.
std::string choiceAt(const std::vector<std::string>& choices, int index);

// A whole number (optional minus sign, digits) within [low, high] in an
// optional column: the value, or nothing when blank. False after refusing
// with "<header>请添入一个<low>和<high>之间的整数".
bool takeInteger(const FieldRow& row, const SheetLayout& layout, int column, int low, int high,
                 std::optional<int>& out, RowSink& sink);

// The index of a choice column's text in `choices` (an alias counts as the
// item it names), or -1 when blank. False after refusing with
// choiceMessage.
bool takeChoice(const FieldRow& row, const SheetLayout& layout, int column,
                const std::vector<std::string>& choices, int& index, RowSink& sink,
                std::initializer_list<std::pair<const char*, int>> aliases = {});

// "此功能没有<header>": a box ticked that the row's function does not
// offer, in the user's language (the header as the sheet has it).
std::string notOffered(const std::string& header);

// The keys of refused rows (a line's port; a slave's line and address),
// for the rows that name them: such a row depends on a refused row and is
// not reported again, while a row naming a key that no row of its sheet has
// is refused. A key part that could not be read (blank or refused) may have
// been anything, so it matches every value.
class RefusedKeys {
public:
    void add(std::vector<std::string> key) { keys_.push_back(std::move(key)); }
    bool covers(const std::vector<std::string>& key) const;

private:
    std::vector<std::vector<std::string>> keys_;
};

} // namespace vantor::sheet
