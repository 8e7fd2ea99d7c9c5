#pragma once
// Writing workbooks (.xlsx, through libxlsxwriter): sheets of typed cells
// under a header row. Numbers are written as numbers, texts as texts (UTF-8,
// so Chinese stays intact), truth values, dates and formulas as such.
//
// A sheet meant to be read and edited by people (readable) gets a bold
// header row that stays in view while scrolling (the first row frozen) and
// columns as wide as their widest entry; the address-map and table exports
// keep the plain layout they always had.
#include "sheet/Cell.h"

#include <span>
#include <string>
#include <vector>

namespace vantor::sheet {

struct SheetData {
    std::string name;
    std::vector<std::string> headers;
    std::vector<std::vector<Cell>> rows; // below the header row, in order
    bool readable = false;
};

enum class WriteFailure { None, Open, Header, Row, Close };

// Writes the sheets, in order, as a new workbook at `path`. Callers that
// replace a file write to an AtomicFile's temporary path (or use
// saveWorkbook).
WriteFailure writeWorkbook(const std::string& path, std::span<const SheetData> sheets);

// Writes beside `path` and renames over it, so a failed export leaves the
// previous file as it was. False with the reason (UTF-8) in `error`.
bool saveWorkbook(const std::string& path, std::span<const SheetData> sheets, std::string& error);

// The width a readable column gets for its entries, in characters as the
// spreadsheet counts them (a Chinese character takes two).
double displayWidth(const Cell& cell);

} // namespace vantor::sheet
