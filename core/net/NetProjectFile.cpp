#include "net/NetProjectFile.h"

#include "common/AtomicFile.h"
#include "markup/ArchiveString.h"
#include "markup/CXmlDoc.h"
#include "model/ModuleAttributes.h"
#include "model/ProjectFile.h"
#include "text/Gbk.h"
#include "text/Numbers.h"

namespace vantor::net {
namespace {

constexpr std::string_view kDeclaration = "<?xml version='1.0' encoding='gb2312'?>\r\n";

void setText(markup::CXmlDoc& xml, std::string_view name, const std::string& utf8) {
    xml.SetAttrib(name, text::toFileText(utf8));
}

int number(const markup::CXmlDoc& xml, std::string_view name) {
    return text::readDecimal(xml.GetAttrib(name));
}

std::string textOf(const markup::CXmlDoc& xml, std::string_view name) {
    return text::fromFileText(xml.GetAttrib(name));
}

void writeCom(markup::CXmlDoc& xml, const std::string& prefix, const CCom& c) {
    xml.SetAttrib(prefix + "_baud", c.baud);
    xml.SetAttrib(prefix + "_check_flag", c.parity);
    xml.SetAttrib(prefix + "_com_num", c.number);
    xml.SetAttrib(prefix + "_modadd", c.address);
    xml.SetAttrib(prefix + "_stop_flag", c.stop);
}

void readCom(const markup::CXmlDoc& xml, const std::string& prefix, CCom& c) {
    c.baud = number(xml, prefix + "_baud");
    c.parity = number(xml, prefix + "_check_flag");
    c.number = number(xml, prefix + "_com_num");
    c.address = number(xml, prefix + "_modadd");
    c.stop = number(xml, prefix + "_stop_flag");
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
    setText(xml, "ipadd", s.ipadd);
    setText(xml, "name", s.name);
    setText(xml, "picture", s.picture);
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
    s.address = number(xml, "address");
    s.control = static_cast<uint8_t>(number(xml, "control") & 0xFF);
    s.ipadd = textOf(xml, "ipadd");
    s.name = textOf(xml, "name");
    s.picture = textOf(xml, "picture");
    s.port = number(xml, "port");
    s.space = number(xml, "space");
    s.timetip = number(xml, "timetip");
    s.x = number(xml, "x");
    s.y = number(xml, "y");
    xml.IntoElem();
    while (xml.FindElem("Node")) {
        CNode node;
        node.address = number(xml, "address");
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
    xml.SetDoc(kDeclaration);
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
    doc.bus.length = number(xml, "length");
    doc.bus.x = number(xml, "x");
    doc.bus.y = number(xml, "y");

    if (!xml.FindElem("COM"))
        return NetLoadStop::AtCom;
    readCom(xml, "com1", doc.com1);
    readCom(xml, "com2", doc.com2);

    if (!xml.FindElem("globalValue"))
        return NetLoadStop::AtGlobalValue;
    doc.insert_add = number(xml, "insert_add");
    doc.insert_slave_flag = number(xml, "insert_slave_flag");
    doc.rev_allow = number(xml, "rev_allow");
    doc.currentSelect = number(xml, "currentSelect");
    doc.test = number(xml, "test");
    doc.isDataModifySendEnable = number(xml, "isDataModifySendEnable");

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
            *error = markup::cannotOpenText(path) + ": 不是VantorNet工程文件";
        return false;
    }
    loaded.modified = false;
    doc = std::move(loaded);
    return true;
}

} // namespace vantor::net
