// Any bytes as a .vncfg file: the archive container, then the markup walk
// into a VantorNet project that already holds a project, so the paths that
// keep what the file does not reach run too. Whatever loads is then
// compiled, tabled and edited, and saved and loaded again, which must give
// the same text.
#include "net/CVantorNetDoc.h"
#include "net/NetAddressTables.h"
#include "net/NetCommandForm.h"
#include "net/NetCompiler.h"
#include "net/NetProjectFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace vantor;
using namespace vantor::net;

namespace {

class Silent : public MessageSink {
public:
    using MessageSink::error;
    void error(const std::string&, const std::string&) override {}
    void information(const std::string&, const std::string&) override {}
    bool question(const std::string&, const std::string&) override { return true; }
};

bool sameProject(const CVantorNetDoc& a, const CVantorNetDoc& b) {
    return a.bus == b.bus && a.com1 == b.com1 && a.com2 == b.com2 && a.masters == b.masters &&
           a.slaves == b.slaves && a.currentSelect == b.currentSelect && a.GW_work_mode == b.GW_work_mode;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVantorNetDoc doc;
    doc.masters.push_back({"NXE-485-ZRTU2", 200, 50, "NXE-485-ZRTU2"});
    doc.slaves.resize(1);
    doc.slaves[0].nodes.resize(1);
    const CVantorNetDoc before = doc;
    if (!NetProjectFile::readBytes(doc, std::string_view(reinterpret_cast<const char*>(data), size))) {
        // A refused container must leave the document exactly as it was.
        if (!sameProject(doc, before))
            __builtin_trap();
        return 0;
    }

    Silent sink;
    (void)compileNet(doc, sink);
    (void)buildImageB(doc);
    (void)buildDpTable(doc);
    (void)buildNetAddressMap(doc);
    (void)netModuleRows(doc);
    (void)openEditNetCommandForm(doc, 0);
    (void)openNewNetCommandForm(doc, "写4区 10H 写多字", sink);
    correctGatewayAddresses(doc);

    const std::string text = NetProjectFile::buildText(doc, "fuzz");
    CVantorNetDoc again;
    NetProjectFile::readText(again, text);
    if (NetProjectFile::buildText(again, "fuzz") != text)
        __builtin_trap();
    return 0;
}
