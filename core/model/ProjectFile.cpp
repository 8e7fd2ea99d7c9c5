#include "model/ProjectFile.h"

#include "common/AtomicFile.h"

#include "model/ModuleAttributes.h"

#include "markup/CXmlDoc.h"
#include "text/Gbk.h"
#include "text/Numbers.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

void putLittleEndian(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Sequential little-endian reads that fail instead of running past the end.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    bool read(int width, uint64_t& v) {
        if (bytes_.size() - pos_ < static_cast<std::size_t>(width))
            return false;
        v = 0;
        for (int i = 0; i < width; ++i)
            v |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[pos_ + static_cast<std::size_t>(i)]))
                 << (8 * i);
        pos_ += static_cast<std::size_t>(width);
        return true;
    }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    std::string_view take(std::size_t n) {
        auto s = bytes_.substr(pos_, n);
        pos_ += n;
        return s;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// One length prefix. When `wideAllowed`, the 16-bit value 0xFFFE is the
// marker of a wide string and the real length follows it.
bool readLength(ByteReader& r, bool wideAllowed, uint64_t& length, bool& wide) {
    uint64_t v = 0;
    if (!r.read(1, v))
        return false;
    if (v < 0xFF) {
        length = v;
        return true;
    }
    if (!r.read(2, v))
        return false;
    if (wideAllowed && v == 0xFFFE) {
        wide = true;
        return readLength(r, false, length, wide);
    }
    if (v < 0xFFFF) {
        length = v;
        return true;
    }
    if (!r.read(4, v))
        return false;
    if (v < 0xFFFFFFFFu) {
        length = v;
        return true;
    }
    return r.read(8, length);
}

// --- writing helpers ---

void setText(markup::CXmlDoc& xml, std::string_view name, const std::string& utf8) {
    xml.SetAttrib(name, toFileText(utf8));
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
    return fromFileText(xml.GetAttrib(name));
}

void readFlags(const markup::CXmlDoc& xml, std::array<int, 256>& flags) {
    const auto& names = numberNames();
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = readInt(xml, names[i]);
}

} // namespace

// ---------------------------------------------------------------------------
// Shared file helpers

namespace {
bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string toFileText(std::string_view utf8) {
    return isAscii(utf8) ? std::string(utf8) : text::toGbkLossy(utf8);
}
std::string fromFileText(std::string_view gbk) {
    return isAscii(gbk) ? std::string(gbk) : text::fromGbk(gbk);
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.clear();
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

// ---------------------------------------------------------------------------
// Container

std::string encodeArchiveString(std::string_view text) {
    const uint64_t n = text.size();
    std::string out;
    out.reserve(text.size() + 15);
    if (n < 0xFF) {
        putLittleEndian(out, n, 1);
    } else if (n < 0xFFFE) {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, n, 2);
    } else if (n < 0xFFFFFFFFu) {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, 0xFFFF, 2);
        putLittleEndian(out, n, 4);
    } else {
        putLittleEndian(out, 0xFF, 1);
        putLittleEndian(out, 0xFFFF, 2);
        putLittleEndian(out, 0xFFFFFFFFu, 4);
        putLittleEndian(out, n, 8);
    }
    out.append(text);
    return out;
}

std::optional<std::string> decodeArchiveString(std::string_view bytes) {
    ByteReader r(bytes);
    uint64_t length = 0;
    bool wide = false;
    if (!readLength(r, true, length, wide))
        return std::nullopt;
    // Compare in units so that a huge announced length cannot overflow.
    const std::size_t available = wide ? r.remaining() / 2 : r.remaining();
    if (length > available)
        return std::nullopt;
    if (!wide)
        return std::string(r.take(static_cast<std::size_t>(length)));
    return text::utf16leToGbk(r.take(static_cast<std::size_t>(length) * 2));
}

// ---------------------------------------------------------------------------
// Atomic write

bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    auto failure = replaceFile(path, bytes);
    if (failure && error)
        *error = "无法保存文件 " + path + ": " + failure->text();
    return !failure;
}

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
    auto textBytes = decodeArchiveString(fileBytes);
    if (!textBytes)
        return false;
    readText(doc, *textBytes);
    return true;
}

bool ProjectFile::save(const CVantorDoc& doc, const std::string& path, const std::string& directory,
                       std::string* error) {
    const std::string bytes = encodeArchiveString(buildText(doc, readSoftVer(directory)));
    return writeFileAtomically(path, bytes, error);
}

std::optional<std::string> readArchiveFile(const std::string& path, std::string* error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > markup::kMaxDocumentFileBytes) {
        if (error)
            *error = "无法打开文件 " + path + ": " + markup::kDocumentTooLarge;
        return std::nullopt;
    }
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        if (error)
            *error = "无法打开文件 " + path;
        return std::nullopt;
    }
    auto text = decodeArchiveString(bytes);
    if (!text && error)
        *error = "无法打开文件 " + path + ": 文件已损坏或格式不正确";
    return text;
}

bool ProjectFile::open(CVantorDoc& doc, const std::string& path, std::string* error) {
    // The container is checked as a whole before anything is read, and the
    // walk itself cannot fail half-way except by the intended stop at a
    // missing section, so a damaged file never leaves a half-read model.
    auto text = readArchiveFile(path, error);
    if (!text)
        return false;
    readText(doc, *text);
    doc.modified = false;
    return true;
}

} // namespace vantor::model
