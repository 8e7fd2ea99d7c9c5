#pragma once
// The .vtc project file: one length-prefixed string (the archive container)
// holding the project as GBK markup with root VantorProject.
#include "model/CVantorDoc.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::markup {
class CXmlDoc;
}

namespace vantor::model {

// --- the archive container ---------------------------------------------
// Length prefix, little-endian: one byte below 0xFF; else 0xFF and 16 bits
// below 0xFFFE; else 0xFF, 0xFFFF and 32 bits below 0xFFFFFFFF; else 0xFF,
// 0xFFFF, 0xFFFFFFFF and 64 bits. Then the bytes of the string.

// The container bytes of an 8-bit string.
std::string encodeArchiveString(std::string_view text);

// The string held at the start of `bytes`, as GBK. A prefix 0xFF 0xFFFE marks
// a wide string: a second length (coded the same way) counts UTF-16LE units,
// which are converted to GBK. Empty optional when the prefix is incomplete or
// announces more bytes than there are. Bytes after the string are ignored.
std::optional<std::string> decodeArchiveString(std::string_view bytes);

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames
// it over `path`, so a failed or interrupted write never destroys the
// previous file. False with a message (UTF-8) in `error` on failure.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// The string of a whole project file (GBK). Nothing, with the reason in
// `error`, when the file cannot be read ("无法打开文件 <path>") or its
// container is damaged (": 文件已损坏或格式不正确" added).
std::optional<std::string> readArchiveFile(const std::string& path, std::string* error);

// The whole content of a regular file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes);

// Texts between the model (UTF-8) and a project file (GBK). ASCII reads the
// same in both and skips the converter (most names, addresses and command
// texts of a project are ASCII or short, and a file holds hundreds of them).
std::string toFileText(std::string_view utf8);
std::string fromFileText(std::string_view gbk);

// The section both project files share: MasterInfo with the work mode and
// one Master per gateway. readMasterInfo finds the next MasterInfo among the
// current element's siblings; false (nothing read) when there is none.
void writeMasterInfo(markup::CXmlDoc& xml, int workMode, const std::vector<CMaster>& masters);
bool readMasterInfo(markup::CXmlDoc& xml, int& workMode, std::vector<CMaster>& masters);

// --- the project file ----------------------------------------------------
struct ProjectFile {
    // The version text written into every saved project: the first line of
    // "Vantor.ver" in `directory` (UTF-8; a version file in GBK is converted).
    // A missing or unreadable version file gives an empty text, so the
    // project is written with an empty softVer element: the element is never
    // read back, and refusing to save a project for want of it would lose
    // the user's work.
    static std::string readSoftVer(const std::string& directory);

    // The markup text (GBK) of the project, elements and attributes in the
    // file's fixed order. `softVer` is UTF-8.
    static std::string buildText(const CVantorDoc& doc, const std::string& softVer);

    // Walks the markup text (GBK) into the document. A missing section ends
    // the walk silently; what was read so far stays, and everything the file
    // does not reach keeps its value. True when every section up to the slave
    // list was found.
    static bool readText(CVantorDoc& doc, std::string_view gbkText);

    // Container check and walk of the bytes of a whole file. When the
    // container is damaged the document is left exactly as it was and the
    // answer is false.
    static bool readBytes(CVantorDoc& doc, std::string_view fileBytes);

    // Save: version from `directory`, text, container, atomic write.
    static bool save(const CVantorDoc& doc, const std::string& path, const std::string& directory,
                     std::string* error);

    // Open: a file that cannot be read, or whose container is damaged, is
    // reported in `error` and leaves the document untouched. On success the
    // document counts as unmodified.
    static bool open(CVantorDoc& doc, const std::string& path, std::string* error);
};

} // namespace vantor::model
