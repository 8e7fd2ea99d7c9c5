#pragma once
// Reading workbooks (.xlsx) written by any program: the zip container through
// libzip, the XML parts through pugixml. What is read: the sheets in workbook
// order with their names, and per sheet the rows that hold at least one
// cell, each with its number as the spreadsheet shows it. Texts come from
// the shared-string table or inline; numbers may be stored in any decimal
// form ("3", "3.0", "3E0"); a number whose cell style has a date format
// reads as a date, a cell with a formula as a formula (whatever value was
// cached with it).
//
// Workbooks come from outside, so every size is bounded before it costs
// memory: the file, each part as the container declares it and as it
// actually inflates (the inflation stops at the bound, so a zip bomb costs
// no more than the bound), the elements and the nesting of each part, the
// rows of a sheet and the number of sheets. A workbook beyond a bound is
// refused with a message that says which.
#include "sheet/Cell.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor::sheet {

struct ReadLimits {
    std::uint64_t fileBytes = 16u << 20;  // the .xlsx file
    std::uint64_t partBytes = 8u << 20;   // one part, inflated
    std::uint64_t totalBytes = 32u << 20; // all parts read, inflated
    std::size_t partElements = 400000;    // elements of one part
    int depth = 64;                       // element nesting
    int rows = 10000;                     // rows holding cells, per sheet
    int sheets = 64;
    int columns = 256; // cells right of this many columns are ignored
};

struct ReadRow {
    int number = 0;                          // 1-based, as the spreadsheet shows it
    std::vector<std::pair<int, Cell>> cells; // (0-based column, cell), non-empty cells only
    // The cell in `column`, or null.
    const Cell* at(int column) const;
};

struct ReadSheet {
    std::string name;
    std::vector<ReadRow> rows; // rows without any cell are left out
};

struct ReadWorkbook {
    bool ok = false;
    std::string error; // why not, in the user's words
    std::vector<ReadSheet> sheets;
    // The sheet called `name`, or null.
    const ReadSheet* sheet(std::string_view name) const;
};

ReadWorkbook readWorkbook(const std::string& path, const ReadLimits& limits = {});
ReadWorkbook readWorkbookBytes(std::string_view bytes, const ReadLimits& limits = {});

// "B12" -> column 1 (0-based); -1 when the reference has no column letters.
int columnOfReference(std::string_view reference);

// Whether a number format code shows dates or times ("yyyy-mm-dd", "h:mm"):
// a day, month, year, hour or second letter outside quotes, brackets and
// escapes.
bool isDateFormat(std::string_view code);
// Whether a built-in number format id is a date or time format.
bool isDateFormatId(int id);

} // namespace vantor::sheet
