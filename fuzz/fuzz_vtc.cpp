// Any bytes as a .vtc file: the archive container, then the markup walk into
// a project document that already holds a project, so the paths that keep
// what the file does not reach run too.
#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vantor::model;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVantorDoc doc;
    doc.masters.push_back({"KX-P2R0-1.0", 35, 35, "KX-P2R0-1.0"});
    doc.coms.resize(1);
    doc.slaves.resize(1);
    const CVantorDoc before = doc;
    const bool read =
        ProjectFile::readBytes(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    // A refused container must leave the document exactly as it was.
    if (!read && !(doc.masters == before.masters && doc.coms == before.coms && doc.slaves == before.slaves &&
                   doc.slaveAddrFlag == before.slaveAddrFlag && doc.eip == before.eip && doc.IP == before.IP))
        __builtin_trap();
    return 0;
}
