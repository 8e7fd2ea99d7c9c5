#pragma once
// Files of the workbook tests: a scratch folder per test, a project's saved
// bytes, and sheets written to a workbook file and read back.
#include "model/ProjectFile.h"
#include "net/NetProjectFile.h"
#include "sheet/WorkbookReader.h"
#include "sheet/WorkbookWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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

} // namespace vantor::testing
