#pragma once
// Files of the workbook tests: a scratch folder per test, a project's saved
// bytes, and sheets written to a workbook file and read back.
#include "model/ProjectFile.h"
#include "net/NetProjectFile.h"
#include "sheet/WorkbookReader.h"
#include "sheet/WorkbookWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace vantor::testing {

struct Scratch {
    std::filesystem::path dir;
    Scratch() {
        static int n = 0;
        dir = std::filesystem::temp_directory_path() /
              ("vantor-workbook-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        std::filesystem::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The bytes Save writes for a project.
inline std::string savedBytes(const model::CVantorDoc& doc, const Scratch& s) {
    const std::string path = s.path("saved.vtc");
    std::string error;
    EXPECT_TRUE(model::ProjectFile::save(doc, path, VANTOR_DATA_DIR, &error)) << error;
    return fileBytes(path);
}

inline std::string savedBytes(const net::CVantorNetDoc& doc, const Scratch& s) {
    const std::string path = s.path("saved.vncfg");
    std::string error;
    EXPECT_TRUE(net::NetProjectFile::save(doc, path, VANTOR_DATA_DIR, &error)) << error;
    return fileBytes(path);
}

inline sheet::ReadWorkbook writeAndRead(const std::vector<sheet::SheetData>& sheets, const Scratch& s) {
    const std::string path = s.path("book.xlsx");
    std::string error;
    EXPECT_TRUE(sheet::saveWorkbook(path, sheets, error)) << error;
    return sheet::readWorkbook(path);
}

// One change to an exported workbook, for the refusal tables: a cell set or
// a row appended (a copy of the row, then cells set), a sheet dropped, a
// column renamed to an unknown header, a sheet's rows cleared.
enum class Op { Set, Append, DropSheet, DropColumn, ClearRows };
struct SheetEdit {
    const char* sheet;
    const char* func; // the row: the first whose 功能 is this, else
    int row;          // the data row (0 is the first below the header)
    Op op;
    std::vector<std::pair<std::string, sheet::Cell>> cells;
};

inline std::size_t columnOf(const sheet::SheetData& s, const std::string& header) {
    for (std::size_t c = 0; c < s.headers.size(); ++c)
        if (s.headers[c] == header)
            return c;
    throw std::invalid_argument("no column " + header);
}

// Applies the edit; answers the changed row's number as the spreadsheet
// shows it (the header is row 1).
inline int applyEdit(std::vector<sheet::SheetData>& sheets, const SheetEdit& e) {
    auto target =
        std::find_if(sheets.begin(), sheets.end(), [&](const auto& s) { return s.name == e.sheet; });
    if (target == sheets.end())
        throw std::invalid_argument(std::string("no sheet ") + e.sheet);
    auto& rows = target->rows;
    std::size_t row = static_cast<std::size_t>(e.row);
    if (e.func) {
        const std::size_t func = columnOf(*target, "功能");
        row = static_cast<std::size_t>(
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r[func].text == e.func; }) -
            rows.begin());
    }
    switch (e.op) {
    case Op::DropSheet:
        sheets.erase(target);
        break;
    case Op::DropColumn:
        target->headers[columnOf(*target, e.cells.at(0).first)] = "其他";
        break;
    case Op::ClearRows:
        rows.clear();
        break;
    case Op::Append:
        rows.push_back(rows.at(row));
        row = rows.size() - 1;
        [[fallthrough]];
    case Op::Set:
        for (const auto& [header, cell] : e.cells)
            rows.at(row)[columnOf(*target, header)] = cell;
        break;
    }
    return static_cast<int>(row) + 2;
}

} // namespace vantor::testing
