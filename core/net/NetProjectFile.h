#pragma once
// The .vncfg project file: one length-prefixed string (the same container as
// the .vtc file) holding the project as GBK markup with root
// VantorNetProject.
#include "net/CVantorNetDoc.h"

#include <string>
#include <string_view>

namespace vantor::net {

// How far a load got: the sections are read in file order and the walk stops
// at the first one missing.
enum class NetLoadStop {
    NotAProject, // no root VantorNetProject: nothing read
    AtBus,
    AtCom,
    AtGlobalValue,
    AtMasterInfo,
    Complete, // up to the slave list (which may be absent: no slaves)
};

struct NetProjectFile {
    // The markup text (GBK) of the project, elements and attributes in the
    // file's fixed order. `softVer` is UTF-8.
    static std::string buildText(const CVantorNetDoc& doc, const std::string& softVer);

    // Walks the markup text (GBK) into the document. What was read before a
    // missing section stays; everything after it keeps its value.
    static NetLoadStop readText(CVantorNetDoc& doc, std::string_view gbkText);

    // Container check and walk of the bytes of a whole file. A damaged
    // container (shorter than its prefix announces) leaves the document as it
    // was and answers false.
    static bool readBytes(CVantorNetDoc& doc, std::string_view fileBytes);

    // Save: the version text from "Vantor.ver" in `directory`, the text, the
    // container, an atomic write.
    static bool save(const CVantorNetDoc& doc, const std::string& path, const std::string& directory,
                     std::string* error);

    // Open: an unreadable file, a damaged container or a text without the
    // root VantorNetProject is reported in `error` and leaves the document
    // untouched. Otherwise the file is read into a new project that replaces
    // the document (counting as unmodified).
    static bool open(CVantorNetDoc& doc, const std::string& path, std::string* error);
};

} // namespace vantor::net
