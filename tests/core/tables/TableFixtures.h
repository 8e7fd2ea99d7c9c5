#pragma once
// Small builders for projects used by the address-table tests.
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace vantor::testing {

inline model::CVantorDoc projectFor(const std::string& gateway) {
    model::CVantorDoc doc;
    if (!gateway.empty())
        doc.masters.push_back(model::CMaster{gateway, 35, 35, ""});
    return doc;
}

// Adds a line named `com` when missing and a slave with `address` on it;
// answers the slave's index.
inline int addSlave(model::CVantorDoc& doc, const std::string& com, int address) {
    if (doc.lineByName(com) < 0) {
        model::CCOM line;
        line.COMName = com;
        line.num_com = static_cast<int>(doc.coms.size());
        doc.coms.push_back(line);
    }
    model::CSlave s;
    s.com_name = com;
    s.address = address;
    doc.slaves.push_back(s);
    return static_cast<int>(doc.slaves.size()) - 1;
}

inline model::CModule& addCommand(model::CVantorDoc& doc, int slave, const std::string& func, int start,
                                  int length, int gate) {
    const model::CommandKind* kind = model::findCommandKind(func);
    if (!kind)
        throw std::invalid_argument(func);
    model::CModule m;
    m.Func = func;
    m.area_num = kind->area;
    m.read_wri = kind->readWrite;
    m.Start_Add = start;
    m.Length = length;
    m.Gate_Add = gate;
    auto& list = doc.slaves.at(static_cast<std::size_t>(slave)).modules;
    list.push_back(m);
    return list.back();
}

inline constexpr const char* kRead0 = "读0区 01H";
inline constexpr const char* kWrite0Multi = "写0区 0FH 写多线圈";
inline constexpr const char* kWrite0Single = "写0区 05H 写单线圈";
inline constexpr const char* kRead1 = "读1区 02H";
inline constexpr const char* kRead3 = "读3区 04H";
inline constexpr const char* kRead4 = "读4区 03H";
inline constexpr const char* kWrite4Single = "写4区 06H 写单字";
inline constexpr const char* kWrite4Multi = "写4区 10H 写多字";

// A fresh directory below the system's temporary directory.
inline std::filesystem::path scratchDir(const std::string& name) {
    auto dir =
        std::filesystem::temp_directory_path() / ("vantor-tables-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Reads a workbook back through the helper script next to this file: one line
// per sheet "#<name>", then each row as tab-separated cell texts.
inline std::string readWorkbook(const std::filesystem::path& file) {
    // Found from the source tree's data folder, not from __FILE__, which a
    // compiler cache may turn into a path relative to the build folder.
    const std::filesystem::path script =
        std::filesystem::path(VANTOR_DATA_DIR).parent_path() / "tests" / "core" / "tables" / "read_xlsx.py";
    std::string cmd = "python3 '" + script.string() + "' '" + file.string() + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return "popen failed";
    std::string out;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        out.append(buf.data(), n);
    int rc = ::pclose(p);
    if (rc != 0)
        out += "\n[reader failed]";
    return out;
}

} // namespace vantor::testing
