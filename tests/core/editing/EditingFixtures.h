#pragma once
// Small builders for editing tests: projects assembled field by field so that
// each test states exactly the commands and slaves it relies on.
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor::testing {

inline model::CModule command(std::string_view func, int start, int length, int gate) {
    const model::CommandKind* kind = model::findCommandKind(func);
    if (!kind)
        throw std::invalid_argument("unknown command kind");
    model::CModule m;
    m.Func = std::string(func);
    m.area_num = kind->area;
    m.read_wri = kind->readWrite;
    m.Start_Add = start;
    m.Length = length;
    m.Gate_Add = gate;
    return m;
}

// A project with a gateway of `model` and the lines named in `ports`
// (default positions, nothing selected).
inline model::CVantorDoc project(std::string_view model, std::initializer_list<std::string_view> ports = {}) {
    model::CVantorDoc doc;
    model::CMaster master;
    master.masterName = std::string(model);
    master.bitmap = std::string(model);
    doc.masters.push_back(master);
    for (auto p : ports) {
        model::CCOM com;
        com.COMName = std::string(p);
        com.num_com = static_cast<int>(doc.coms.size());
        com.x = 260;
        com.y = 80;
        doc.coms.push_back(com);
    }
    return doc;
}

// Appends a slave with consistent occupancy tables and line count; answers
// its index.
inline int addTestSlave(model::CVantorDoc& doc, std::string_view port, int address) {
    model::CSlave s;
    s.com_name = std::string(port);
    s.address = address;
    int line = doc.lineByName(s.com_name);
    if (line >= 0) {
        auto& com = doc.coms[static_cast<std::size_t>(line)];
        com.slave_num += 1;
        if (address >= 0 && address < 256)
            com.addArea[static_cast<std::size_t>(address)] = 1;
    }
    if (address >= 0 && address < 256)
        doc.slaveAddrFlag[static_cast<std::size_t>(address)] = 1;
    doc.slaves.push_back(s);
    return static_cast<int>(doc.slaves.size()) - 1;
}

} // namespace vantor::testing
