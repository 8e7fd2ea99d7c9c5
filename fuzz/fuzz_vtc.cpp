// Any bytes as a .vtc file: the archive container, then the markup walk into
// a project document that already holds a project (so the keep-what-is-not-
// read paths run too). Afterwards the document must save again.
#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vantor::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVantorDoc doc;
    doc.NewDocument("/nonexistent");
    doc.masters.push_back({"KX-P2R0-1.0", 35, 35, "KX-P2R0-1.0"});
    doc.coms.resize(1);
    doc.slaves.resize(1);
    ProjectFile::readBytes(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    // Whatever was read must write back out as a well-formed container.
    const std::string text = ProjectFile::buildText(doc, "V");
    const auto back = decodeArchiveString(encodeArchiveString(text));
    if (!back || *back != text)
        __builtin_trap();
    return 0;
}
