#pragma once
// The attributes of a Module element that both project files write, in their
// written order: Start_Add, Length, Explain, Func, area_num, read_wri,
// Gate_Add, mod_num, editSend. Texts go to the file in GBK; numbers are read
// as decimal prefixes. Each file adds its own attributes after these.
#include "markup/CXmlDoc.h"
#include "text/Gbk.h"
#include "text/Numbers.h"

namespace vantor::model {

template <typename Module> void writeModuleAttributes(markup::CXmlDoc& xml, const Module& m) {
    xml.SetAttrib("Start_Add", m.Start_Add);
    xml.SetAttrib("Length", m.Length);
    xml.SetAttrib("Explain", text::toFileText(m.Explain));
    xml.SetAttrib("Func", text::toFileText(m.Func));
    xml.SetAttrib("area_num", m.area_num);
    xml.SetAttrib("read_wri", m.read_wri);
    xml.SetAttrib("Gate_Add", m.Gate_Add);
    xml.SetAttrib("mod_num", m.mod_num);
    xml.SetAttrib("editSend", m.editSend);
}

template <typename Module> void readModuleAttributes(const markup::CXmlDoc& xml, Module& m) {
    auto number = [&xml](std::string_view name) { return text::readDecimal(xml.GetAttrib(name)); };
    m.Start_Add = number("Start_Add");
    m.Length = number("Length");
    m.Explain = text::fromFileText(xml.GetAttrib("Explain"));
    m.Func = text::fromFileText(xml.GetAttrib("Func"));
    m.area_num = number("area_num");
    m.read_wri = number("read_wri");
    m.Gate_Add = number("Gate_Add");
    m.mod_num = number("mod_num");
    m.editSend = number("editSend");
}

} // namespace vantor::model
