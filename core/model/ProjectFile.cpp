#include "model/ProjectFile.h"

#include "common/AtomicFile.h"
#include "markup/ArchiveString.h"
#include "markup/CXmlDoc.h"
#include "model/ProjectMarkup.h"
#include "text/Gbk.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <array>
#include <fstream>

namespace vantor::model {

namespace {

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

void setFlags(markup::CXmlDoc& xml, const std::array<int, 256>& flags) {
    const auto& names = numberNames();
    for (std::size_t i = 0; i < flags.size(); ++i)
        xml.SetAttrib(names[i], flags[i]);
}

// --- reading helpers ---

void readFlags(const markup::CXmlDoc& xml, std::array<int, 256>& flags) {
    const auto& names = numberNames();
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = numberAttrib(xml, names[i]);
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

std::string ProjectFile::buildText(const CVantorDoc& doc, const std::string& softVer) {
    markup::CXmlDoc xml;
    xml.SetDoc(kProjectDeclaration);
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
        setTextAttrib(xml, "COMName", c.COMName);
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
        setTextAttrib(xml, "com_name", s.com_name);
        xml.SetAttrib("space", s.space);
        xml.SetAttrib("timeout", s.timeout);
        xml.SetAttrib("control", static_cast<unsigned>(s.control));
        setTextAttrib(xml, "name", s.name);
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
    setTextAttrib(xml, "IP", doc.IP);
    setTextAttrib(xml, "SETIP", doc.SETIP);
    setTextAttrib(xml, "SETMASK", doc.SETMASK);
    setTextAttrib(xml, "SETGW", doc.SETGW);
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
    doc.addType = numberAttrib(xml, "addType");
    doc.repTimeoutTime = numberAttrib(xml, "repTimeoutTime");
    doc.sendInterlTime = numberAttrib(xml, "sendInterlTime");

    if (!readMasterInfo(xml, doc.GW_work_mode, doc.masters))
        return false;

    if (!xml.FindElem("COMInfo"))
        return false;
    xml.IntoElem();
    doc.coms.clear();
    while (xml.FindElem("COM")) {
        CCOM c; // a fresh line each time: its address flags start at 0
        c.COMName = textAttrib(xml, "COMName");
        c.num_com = numberAttrib(xml, "num_com");
        c.x = numberAttrib(xml, "x");
        c.y = numberAttrib(xml, "y");
        c.com_length = numberAttrib(xml, "com_length");
        c.baud = numberAttrib(xml, "baud");
        c.check = numberAttrib(xml, "check");
        c.stop = numberAttrib(xml, "stop");
        c.space = numberAttrib(xml, "space");
        c.slave_num = numberAttrib(xml, "slave_num");
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
        s.x = numberAttrib(xml, "x");
        s.y = numberAttrib(xml, "y");
        s.address = numberAttrib(xml, "address");
        s.com_name = textAttrib(xml, "com_name");
        s.space = numberAttrib(xml, "space");
        s.timeout = numberAttrib(xml, "timeout");
        s.control = static_cast<uint8_t>(numberAttrib(xml, "control") & 0xFF);
        s.name = textAttrib(xml, "name");
        xml.IntoElem();
        while (xml.FindElem("Module")) {
            CModule m;
            readModuleAttributes(xml, m);
            m.isCDTYx = numberAttrib(xml, "isCDTYx");
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
    doc.IP = textAttrib(xml, "IP");
    doc.SETIP = textAttrib(xml, "SETIP");
    doc.SETMASK = textAttrib(xml, "SETMASK");
    doc.SETGW = textAttrib(xml, "SETGW");
    doc.SETPORT = numberAttrib(xml, "SETPORT");

    if (xml.FindElem("EIPDevInfo")) {
        const auto& keys = eipValueKeys();
        for (std::size_t i = 0; i < keys.size(); ++i)
            doc.eip[i] = numberAttrib(xml, keys[i]);
    }
    return true;
}

namespace {

// Text without a VantorProject root is no project of this program (another
// program's project, a workbook renamed, any other file in a container).
bool holdsProject(std::string_view gbkText) {
    markup::CXmlDoc xml;
    xml.SetDoc(gbkText);
    return xml.FindElem("VantorProject");
}

} // namespace

bool ProjectFile::readBytes(CVantorDoc& doc, std::string_view fileBytes) {
    // The container is checked as a whole before anything is read, and the
    // walk itself cannot fail half-way except by the intended stop at a
    // missing section, so a damaged file never leaves a half-read model.
    auto textBytes = markup::decodeArchiveString(fileBytes);
    if (!textBytes || !holdsProject(*textBytes))
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
    // Refused as a whole: the open project stays, and so does its name, so a
    // later save cannot write it over the other file.
    if (!holdsProject(*text)) {
        if (error)
            *error = text::shownFormat(VT_TEXT("无法打开文件 %s: 不是Vantor工程文件"), path.c_str());
        return false;
    }
    readText(doc, *text);
    doc.modified = false;
    return true;
}

} // namespace vantor::model
