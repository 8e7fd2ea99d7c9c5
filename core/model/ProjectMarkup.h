#pragma once
// What the markup of both project files (.vtc, .vncfg) shares: the
// declaration, texts written in GBK and numbers read as decimal prefixes,
// the MasterInfo section and the attributes of a Module element.
#include "markup/CXmlDoc.h"
#include "model/CMaster.h"
#include "text/Gbk.h"
#include "text/Numbers.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantor::model {

inline constexpr std::string_view kProjectDeclaration = "<?xml version='1.0' encoding='gb2312'?>\r\n";

// A text attribute (UTF-8 in the model, GBK in the file), and a number
// attribute (a decimal prefix; missing or malformed gives 0).
inline void setTextAttrib(markup::CXmlDoc& xml, std::string_view name, const std::string& utf8) {
    xml.SetAttrib(name, text::toFileText(utf8));
}
inline std::string textAttrib(const markup::CXmlDoc& xml, std::string_view name) {
    return text::fromFileText(xml.GetAttrib(name));
}
inline int numberAttrib(const markup::CXmlDoc& xml, std::string_view name) {
    return text::readDecimal(xml.GetAttrib(name));
}

// MasterInfo with the work mode and one Master per gateway. readMasterInfo
// finds the next MasterInfo among the current element's siblings; false
// (nothing read) when there is none.
void writeMasterInfo(markup::CXmlDoc& xml, int workMode, const std::vector<CMaster>& masters);
bool readMasterInfo(markup::CXmlDoc& xml, int& workMode, std::vector<CMaster>& masters);

// The attributes of a Module element, in their written order: Start_Add,
// Length, Explain, Func, area_num, read_wri, Gate_Add, mod_num, editSend.
// Each file adds its own attributes after these.

template <typename Module> void writeModuleAttributes(markup::CXmlDoc& xml, const Module& m) {
    xml.SetAttrib("Start_Add", m.Start_Add);
    xml.SetAttrib("Length", m.Length);
    setTextAttrib(xml, "Explain", m.Explain);
    setTextAttrib(xml, "Func", m.Func);
    xml.SetAttrib("area_num", m.area_num);
    xml.SetAttrib("read_wri", m.read_wri);
    xml.SetAttrib("Gate_Add", m.Gate_Add);
    xml.SetAttrib("mod_num", m.mod_num);
    xml.SetAttrib("editSend", m.editSend);
}

template <typename Module> void readModuleAttributes(const markup::CXmlDoc& xml, Module& m) {
    m.Start_Add = numberAttrib(xml, "Start_Add");
    m.Length = numberAttrib(xml, "Length");
    m.Explain = textAttrib(xml, "Explain");
    m.Func = textAttrib(xml, "Func");
    m.area_num = numberAttrib(xml, "area_num");
    m.read_wri = numberAttrib(xml, "read_wri");
    m.Gate_Add = numberAttrib(xml, "Gate_Add");
    m.mod_num = numberAttrib(xml, "mod_num");
    m.editSend = numberAttrib(xml, "editSend");
}

} // namespace vantor::model
