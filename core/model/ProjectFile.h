#pragma once
// The .vtc project file: the project as GBK markup with root VantorProject
// (model/ProjectMarkup) in the archive container (markup/ArchiveString).
#include "model/CVantorDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor::model {

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
