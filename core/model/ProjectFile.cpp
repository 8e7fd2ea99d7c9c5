#include "model/ProjectFile.h"

#include "common/AtomicFile.h"
#include "markup/ArchiveString.h"
#include "markup/CXmlDoc.h"
#include "model/ModuleAttributes.h"
#include "text/Gbk.h"
#include "text/Numbers.h"

#include <array>
#include <fstream>

namespace vantor::model {

namespace {

constexpr std::string_view kDeclaration = "<?xml version='1.0' encoding='gb2312'?>\r\n";

// Attribute names "0" .. "255" of the address-flag elements.
const std::array<std::string, 256>& numberNames() {
    static const std::array<std::string, 256> names = [] {
        std::array<std::string, 256> n;
        for (std::size_t i = 0; i < n.size(); ++i)
            n[i] = std::to_string(i);
        return n;
    }();
    return names;
}

// --- writing helpers ---

void setText(markup::CXmlDoc& xml, std::string_view name, const std::string& utf8) {
    xml.SetAttrib(name, text::toFileText(utf8));
}

void setFlags(markup::CXmlDoc& xml, const std::array<int, 256>& flags) {
    const auto& names = numberNames();
    for (std::size_t i = 0; i < flags.size(); ++i)
        xml.SetAttrib(names[i], flags[i]);
}

// --- reading helpers ---

int readInt(const markup::CXmlDoc& xml, std::string_view name) {
    return text::readDecimal(xml.GetAttrib(name));
}

std::string readString(const markup::CXmlDoc& xml, std::string_view name) {
    return text::fromFileText(xml.GetAttrib(name));
}

void readFlags(const markup::CXmlDoc& xml, std::array<int, 256>& flags) {
    const auto& names = numberNames();
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = readInt(xml, names[i]);
}

} // namespace

// ---------------------------------------------------------------------------
// Project file

std::string ProjectFile::readSoftVer(const std::string& directory) {
    std::ifstream in(directory.empty() ? std::string("Vantor.ver") : directory + "/Vantor.ver",
                     std::ios::binary);
    if (!in)
        return {};
    std::string line;
    std::getline(in, line);
    if (line.rfind("\xEF\xBB\xBF", 0) == 0)
        line.erase(0, 3);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // Our version file is UTF-8; an older one may be GBK.
    if (text::toGbk(line))
        return line;
    return text::fromGbk(line);
}

void writeMasterInfo(markup::CXmlDoc& xml, int workMode, const std::vector<CMaster>& masters) {
    xml.AddElem("MasterInfo");
    xml.SetAttrib("GW_work_mode", workMode);
    xml.IntoElem();
    for (const auto& m : masters) {
        xml.AddElem("Master");
        setText(xml, "masterName", m.masterName);
        xml.SetAttrib("x", m.x);
        xml.SetAttrib("y", m.y);
        setText(xml, "bitmap", m.bitmap);
    }
    xml.OutOfElem();
}

bool readMasterInfo(markup::CXmlDoc& xml, int& workMode, std::vector<CMaster>& masters) {
    if (!xml.FindElem("MasterInfo"))
        return false;
    workMode = readInt(xml, "GW_work_mode");
    xml.IntoElem();
    masters.clear();
    while (xml.FindElem("Master")) {
        CMaster m;
        m.masterName = readString(xml, "masterName");
        m.x = readInt(xml, "x");
        m.y = readInt(xml, "y");
        m.bitmap = readString(xml, "bitmap");
        masters.push_back(std::move(m));
    }
    xml.OutOfElem();
    return true;
}

std::string ProjectFile::buildText(const CVantorDoc& doc, const std::string& softVer) {
    markup::CXmlDoc xml;
    xml.SetDoc(kDeclaration);
    xml.AddElem("VantorProject");
    xml.IntoElem();

    xml.AddElem("softVer", text::toGbkLossy(softVer));

    xml.AddElem("slaveAddrFlag");
    setFlags(xml, doc.slaveAddrFlag);

    xml.AddElem("globalValue");
    xml.SetAttrib("addType", doc.addType);
    xml.SetAttrib("repTimeoutTime", doc.repTimeoutTime);
    xml.SetAttrib("sendInterlTime", doc.sendInterlTime);

    writeMasterInfo(xml, doc.GW_work_mode, doc.masters);

    xml.AddElem("COMInfo");
    xml.IntoElem();
    for (const auto& c : doc.coms) {
        xml.AddElem("COM");
        setText(xml, "COMName", c.COMName);
        xml.SetAttrib("num_com", c.num_com);
        xml.SetAttrib("x", c.x);
        xml.SetAttrib("y", c.y);
        xml.SetAttrib("com_length", c.com_length);
        xml.SetAttrib("baud", c.baud);
        xml.SetAttrib("check", c.check);
        xml.SetAttrib("stop", c.stop);
        xml.SetAttrib("slave_num", c.slave_num);
        xml.SetAttrib("space", c.space);
        xml.IntoElem();
        xml.AddElem("addArea");
        setFlags(xml, c.addArea);
        xml.OutOfElem();
    }
    xml.OutOfElem();

    xml.AddElem("SlaveInfo");
    xml.IntoElem();
    for (const auto& s : doc.slaves) {
        xml.AddElem("Slave");
        xml.SetAttrib("x", s.x);
        xml.SetAttrib("y", s.y);
        xml.SetAttrib("address", s.address);
        setText(xml, "com_name", s.com_name);
        xml.SetAttrib("space", s.space);
        xml.SetAttrib("timeout", s.timeout);
        xml.SetAttrib("control", static_cast<unsigned>(s.control));
        setText(xml, "name", s.name);
        xml.IntoElem();
        for (const auto& m : s.modules) {
            xml.AddElem("Module");
            writeModuleAttributes(xml, m);
            xml.SetAttrib("isCDTYx", m.isCDTYx);
        }
        xml.OutOfElem();
    }
    xml.OutOfElem();

    xml.AddElem("ETHParam");
    setText(xml, "IP", doc.IP);
    setText(xml, "SETIP", doc.SETIP);
    setText(xml, "SETMASK", doc.SETMASK);
    setText(xml, "SETGW", doc.SETGW);
    xml.SetAttrib("SETPORT", doc.SETPORT);

    xml.AddElem("EIPDevInfo");
    const auto& keys = eipValueKeys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        xml.SetAttrib(keys[i], doc.eip[i]);

    return xml.GetDoc();
}

bool ProjectFile::readText(CVantorDoc& doc, std::string_view gbkText) {
    markup::CXmlDoc xml;
    xml.SetDoc(gbkText);

    if (!xml.FindElem("VantorProject"))
        return false;
    xml.IntoElem();

    if (!xml.FindElem("slaveAddrFlag"))
        return false;
    readFlags(xml, doc.slaveAddrFlag);

    if (!xml.FindElem("globalValue"))
        return false;
    doc.addType = readInt(xml, "addType");
    doc.repTimeoutTime = readInt(xml, "repTimeoutTime");
    doc.sendInterlTime = readInt(xml, "sendInterlTime");

    if (!readMasterInfo(xml, doc.GW_work_mode, doc.masters))
        return false;

    if (!xml.FindElem("COMInfo"))
        return false;
    xml.IntoElem();
    doc.coms.clear();
    while (xml.FindElem("COM")) {
        CCOM c; // a fresh line each time: its address flags start at 0
        c.COMName = readString(xml, "COMName");
        c.num_com = readInt(xml, "num_com");
        c.x = readInt(xml, "x");
        c.y = readInt(xml, "y");
        c.com_length = readInt(xml, "com_length");
        c.baud = readInt(xml, "baud");
        c.check = readInt(xml, "check");
        c.stop = readInt(xml, "stop");
        c.space = readInt(xml, "space");
        c.slave_num = readInt(xml, "slave_num");
        xml.IntoElem();
        if (xml.FindElem("addArea"))
            readFlags(xml, c.addArea);
        xml.OutOfElem();
        doc.coms.push_back(std::move(c));
    }
    xml.OutOfElem();

    if (!xml.FindElem("SlaveInfo"))
        return false;
    xml.IntoElem();
    doc.slaves.clear();
    while (xml.FindElem("Slave")) {
        CSlave s;
        s.x = readInt(xml, "x");
        s.y = readInt(xml, "y");
        s.address = readInt(xml, "address");
        s.com_name = readString(xml, "com_name");
        s.space = readInt(xml, "space");
        s.timeout = readInt(xml, "timeout");
        s.control = static_cast<uint8_t>(readInt(xml, "control") & 0xFF);
        s.name = readString(xml, "name");
        xml.IntoElem();
        while (xml.FindElem("Module")) {
            CModule m;
            readModuleAttributes(xml, m);
            m.isCDTYx = readInt(xml, "isCDTYx");
            s.modules.push_back(std::move(m));
        }
        xml.OutOfElem();
        doc.slaves.push_back(std::move(s));
    }
    xml.OutOfElem();

    // Read from whatever element is current: without ETHParam that is the
    // slave list, which carries none of these, so the texts come out empty
    // and the port 0 (files written before the element existed).
    xml.FindElem("ETHParam");
    doc.IP = readString(xml, "IP");
    doc.SETIP = readString(xml, "SETIP");
    doc.SETMASK = readString(xml, "SETMASK");
    doc.SETGW = readString(xml, "SETGW");
    doc.SETPORT = readInt(xml, "SETPORT");

    if (xml.FindElem("EIPDevInfo")) {
        const auto& keys = eipValueKeys();
        for (std::size_t i = 0; i < keys.size(); ++i)
            doc.eip[i] = readInt(xml, keys[i]);
    }
    return true;
}

bool ProjectFile::readBytes(CVantorDoc& doc, std::string_view fileBytes) {
    // The container is checked as a whole before anything is read, and the
    // walk itself cannot fail half-way except by the intended stop at a
    // missing section, so a damaged file never leaves a half-read model.
    auto textBytes = markup::decodeArchiveString(fileBytes);
    if (!textBytes)
        return false;
    readText(doc, *textBytes);
    return true;
}

bool ProjectFile::save(const CVantorDoc& doc, const std::string& path, const std::string& directory,
                       std::string* error) {
    const std::string bytes = markup::encodeArchiveString(buildText(doc, readSoftVer(directory)));
    return writeFileAtomically(path, bytes, error);
}

bool ProjectFile::open(CVantorDoc& doc, const std::string& path, std::string* error) {
    // The container is checked as a whole before anything is read, and the
    // walk itself cannot fail half-way except by the intended stop at a
    // missing section, so a damaged file never leaves a half-read model.
    auto text = markup::readArchiveFile(path, error);
    if (!text)
        return false;
    readText(doc, *text);
    doc.modified = false;
    return true;
}

} // namespace vantor::model
