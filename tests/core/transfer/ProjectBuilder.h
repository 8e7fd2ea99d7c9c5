#pragma once
// Small projects for the transfer tests, built directly in the model.
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"

#include <string>

namespace vantor::transfer::testing {

class ProjectBuilder {
public:
    explicit ProjectBuilder(const std::string& model) {
        model::CMaster m;
        m.masterName = model;
        doc.masters.push_back(m);
    }
    ProjectBuilder& line(const std::string& name, int baud = 2, int check = 2, int stop = 0) {
        model::CCOM c;
        c.COMName = name;
        c.num_com = static_cast<int>(doc.coms.size());
        c.baud = baud;
        c.check = check;
        c.stop = stop;
        doc.coms.push_back(c);
        return *this;
    }
    // A slave on `com` with the given address; counts it on its line.
    ProjectBuilder& slave(const std::string& com, int address, int space = 0, int timeout = 50) {
        model::CSlave s;
        s.com_name = com;
        s.address = address;
        s.space = space;
        s.timeout = timeout;
        doc.slaves.push_back(s);
        int line = doc.lineByName(com);
        if (line >= 0)
            doc.coms[static_cast<std::size_t>(line)].slave_num += 1;
        return *this;
    }
    // A command of kind `func` on the last slave.
    ProjectBuilder& command(const std::string& func, int start, int length, int gate, int editSend = 0,
                            int cdtYx = 0) {
        const auto* kind = model::findCommandKind(func);
        model::CModule m;
        m.Func = func;
        m.Start_Add = start;
        m.Length = length;
        m.Gate_Add = gate;
        m.area_num = kind ? kind->area : -1;
        m.read_wri = kind ? kind->readWrite : -1;
        m.editSend = editSend;
        m.isCDTYx = cdtYx;
        doc.slaves.back().modules.push_back(m);
        return *this;
    }
    model::CVantorDoc doc;
};

} // namespace vantor::transfer::testing
