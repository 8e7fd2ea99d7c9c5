#pragma once
// Small VantorNet projects for the tests.
#include "net/CVantorNetDoc.h"
#include "net/NetCatalogue.h"

#include <stdexcept>
#include <string>

namespace vantor::net::testing {

inline CModule command(const std::string& func, int start, int length, int gate, int editSend = 0) {
    const auto* kind = findFunction(func);
    if (!kind)
        throw std::invalid_argument("unknown function " + func);
    CModule m;
    m.Func = func;
    m.area_num = kind->area;
    m.read_wri = kind->readWrite;
    m.Start_Add = start;
    m.Length = length;
    m.Gate_Add = gate;
    m.mod_num = 1;
    m.editSend = editSend;
    return m;
}

inline CSlave server(const std::string& ip, int port, int unit) {
    CSlave s;
    s.name = "S" + ip;
    s.ipadd = ip;
    s.port = port;
    s.space = 5;
    s.timetip = 50;
    s.control = 1;
    s.nodes.push_back({unit, {}});
    return s;
}

inline CVantorNetDoc project(const std::string& model) {
    CVantorNetDoc doc;
    if (!model.empty())
        doc.masters.push_back({model, 200, 50, model});
    return doc;
}

} // namespace vantor::net::testing
