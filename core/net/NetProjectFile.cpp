#include "net/NetProjectFile.h"

#include "common/AtomicFile.h"
#include "markup/ArchiveString.h"
#include "markup/CXmlDoc.h"
#include "model/ProjectFile.h"
#include "model/ProjectMarkup.h"
#include "text/Gbk.h"
#include "text/Numbers.h"
#include "text/Shown.h"

namespace vantor::net {
namespace {

using model::numberAttrib;
using model::setTextAttrib;
using model::textAttrib;

void writeCom(markup::CXmlDoc& xml, const std::string& prefix, const CCom& c) {
    xml.SetAttrib(prefix + "_baud", c.baud);
    xml.SetAttrib(prefix + "_check_flag", c.parity);
    xml.SetAttrib(prefix + "_com_num", c.number);
    xml.SetAttrib(prefix + "_modadd", c.address);
    xml.SetAttrib(prefix + "_stop_flag", c.stop);
}

void readCom(const markup::CXmlDoc& xml, const std::string& prefix, CCom& c) {
    c.baud = numberAttrib(xml, prefix + "_baud");
    c.parity = numberAttrib(xml, prefix + "_check_flag");
    c.number = numberAttrib(xml, prefix + "_com_num");
    c.address = numberAttrib(xml, prefix + "_modadd");
    c.stop = numberAttrib(xml, prefix + "_stop_flag");
}

void writeModule(markup::CXmlDoc& xml, const CModule& m) {
    xml.AddElem("Module");
    model::writeModuleAttributes(xml, m);
}

CModule readModule(const markup::CXmlDoc& xml) {
    CModule m;
    model::readModuleAttributes(xml, m);
    return m;
}

void writeSlave(markup::CXmlDoc& xml, const CSlave& s) {
    xml.AddElem("Slave");
    xml.SetAttrib("address", s.address);
    xml.SetAttrib("control", static_cast<unsigned>(s.control));
    setTextAttrib(xml, "ipadd", s.ipadd);
    setTextAttrib(xml, "name", s.name);
    setTextAttrib(xml, "picture", s.picture);
    xml.SetAttrib("port", s.port);
    xml.SetAttrib("space", s.space);
    xml.SetAttrib("timetip", s.timetip);
    xml.SetAttrib("x", s.x);
    xml.SetAttrib("y", s.y);
    xml.IntoElem();
    for (const auto& node : s.nodes) {
        xml.AddElem("Node");
        xml.SetAttrib("address", node.address);
        xml.IntoElem();
        for (const auto& m : node.modules)
            writeModule(xml, m);
        xml.OutOfElem();
    }
    xml.OutOfElem();
}

CSlave readSlave(markup::CXmlDoc& xml) {
    CSlave s;
    s.address = numberAttrib(xml, "address");
    s.control = static_cast<uint8_t>(numberAttrib(xml, "control") & 0xFF);
    s.ipadd = textAttrib(xml, "ipadd");
    s.name = textAttrib(xml, "name");
    s.picture = textAttrib(xml, "picture");
    s.port = numberAttrib(xml, "port");
    s.space = numberAttrib(xml, "space");
    s.timetip = numberAttrib(xml, "timetip");
    s.x = numberAttrib(xml, "x");
    s.y = numberAttrib(xml, "y");
    xml.IntoElem();
    while (xml.FindElem("Node")) {
        CNode node;
        node.address = numberAttrib(xml, "address");
        xml.IntoElem();
        while (xml.FindElem("Module"))
            node.modules.push_back(readModule(xml));
        xml.OutOfElem();
        s.nodes.push_back(std::move(node));
    }
    xml.OutOfElem();
    return s;
}

} // namespace

std::string NetProjectFile::buildText(const CVantorNetDoc& doc, const std::string& softVer) {
    markup::CXmlDoc xml;
    xml.SetDoc(model::kProjectDeclaration);
    xml.AddElem("VantorNetProject");
    xml.IntoElem();

    xml.AddElem("softVer", text::toGbkLossy(softVer));

    xml.AddElem("bus");
    xml.SetAttrib("length", doc.bus.length);
    xml.SetAttrib("x", doc.bus.x);
    xml.SetAttrib("y", doc.bus.y);

    xml.AddElem("COM");
    writeCom(xml, "com1", doc.com1);
    writeCom(xml, "com2", doc.com2);

    xml.AddElem("globalValue");
    xml.SetAttrib("insert_add", doc.insert_add);
    xml.SetAttrib("insert_slave_flag", doc.insert_slave_flag);
    xml.SetAttrib("rev_allow", doc.rev_allow);
    xml.SetAttrib("currentSelect", doc.currentSelect);
    xml.SetAttrib("test", doc.test);
    xml.SetAttrib("isDataModifySendEnable", doc.isDataModifySendEnable);

    model::writeMasterInfo(xml, doc.GW_work_mode, doc.masters);

    xml.AddElem("SlaveInfo");
    xml.IntoElem();
    for (const auto& s : doc.slaves)
        writeSlave(xml, s);
    xml.OutOfElem();
    return xml.GetDoc();
}

NetLoadStop NetProjectFile::readText(CVantorNetDoc& doc, std::string_view gbkText) {
    markup::CXmlDoc xml;
    xml.SetDoc(gbkText);
    if (!xml.FindElem("VantorNetProject"))
        return NetLoadStop::NotAProject;
    xml.IntoElem();

    if (!xml.FindElem("bus"))
        return NetLoadStop::AtBus;
    doc.bus.length = numberAttrib(xml, "length");
    doc.bus.x = numberAttrib(xml, "x");
    doc.bus.y = numberAttrib(xml, "y");

    if (!xml.FindElem("COM"))
        return NetLoadStop::AtCom;
    readCom(xml, "com1", doc.com1);
    readCom(xml, "com2", doc.com2);

    if (!xml.FindElem("globalValue"))
        return NetLoadStop::AtGlobalValue;
    doc.insert_add = numberAttrib(xml, "insert_add");
    doc.insert_slave_flag = numberAttrib(xml, "insert_slave_flag");
    doc.rev_allow = numberAttrib(xml, "rev_allow");
    doc.currentSelect = numberAttrib(xml, "currentSelect");
    doc.test = numberAttrib(xml, "test");
    doc.isDataModifySendEnable = numberAttrib(xml, "isDataModifySendEnable");

    if (!model::readMasterInfo(xml, doc.GW_work_mode, doc.masters))
        return NetLoadStop::AtMasterInfo;

    // Without a slave list the project has no slaves.
    doc.slaves.clear();
    if (xml.FindElem("SlaveInfo")) {
        xml.IntoElem();
        while (xml.FindElem("Slave"))
            doc.slaves.push_back(readSlave(xml));
        xml.OutOfElem();
    }
    return NetLoadStop::Complete;
}

bool NetProjectFile::readBytes(CVantorNetDoc& doc, std::string_view fileBytes) {
    auto textBytes = markup::decodeArchiveString(fileBytes);
    if (!textBytes)
        return false;
    readText(doc, *textBytes);
    return true;
}

bool NetProjectFile::save(const CVantorNetDoc& doc, const std::string& path, const std::string& directory,
                          std::string* error) {
    const std::string softVer = model::ProjectFile::readSoftVer(directory);
    return writeFileAtomically(path, markup::encodeArchiveString(buildText(doc, softVer)), error);
}

bool NetProjectFile::open(CVantorNetDoc& doc, const std::string& path, std::string* error) {
    auto text = markup::readArchiveFile(path, error);
    if (!text)
        return false;
    // An opened file replaces the project: nothing of the one before stays,
    // even where the file stops early.
    CVantorNetDoc loaded;
    if (readText(loaded, *text) == NetLoadStop::NotAProject) {
        if (error)
            *error =
                text::shownFormat(VT_TEXT("%s: 不是VantorNet工程文件"), markup::cannotOpenText(path).c_str());
        return false;
    }
    loaded.modified = false;
    doc = std::move(loaded);
    return true;
}

} // namespace vantor::net
