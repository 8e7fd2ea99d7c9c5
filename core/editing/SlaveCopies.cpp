#include "editing/SlaveCopies.h"

#include "editing/ProjectEditor.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"

namespace vantor::editing {
namespace {

// Taken in the table of the addressing mode, or on the line in any mode.
bool addressTaken(const model::CVantorDoc& doc, int line, int address) {
    const auto a = static_cast<std::size_t>(address);
    return doc.coms[static_cast<std::size_t>(line)].addArea[a] != 0 ||
           (doc.addType == 1 && doc.slaveAddrFlag[a] != 0);
}

// Makes the copies on `work`; false at the first message (in `sink`).
bool copyInto(model::CVantorDoc& work, int slave, int line, const CopiesRequest& request, CopiesOutcome& out,
              RecordingSink& sink, const EipSizeCheck& eipCheck) {
    const int first = work.slaves[static_cast<std::size_t>(slave)].address;
    const std::size_t commands = work.slaves[static_cast<std::size_t>(slave)].modules.size();
    for (int k = 1; k <= request.count; ++k) {
        if (!model::checkSlaveCount(work, line, sink))
            return false;
        const int address = first + k * request.step;
        if (address < 1 || address > 247) {
            sink.error(VT_TEXT("错误"), VT_TEXT("地址请添入一个1和247之间的整数"));
            return false;
        }
        if (addressTaken(work, line, address)) {
            sink.error(VT_TEXT("错误"), copyAddressTaken(address));
            return false;
        }
        const PasteOutcome made = appendPastedSlave(work, slave, line, address, sink, eipCheck);
        if (!sink.messages.empty() || static_cast<std::size_t>(made.commands) != commands)
            return false;
        out.slaves.push_back(made.slave);
    }
    return true;
}

} // namespace

CopiesOutcome makeSlaveCopies(model::CVantorDoc& doc, int slave, const CopiesRequest& request,
                              MessageSink& sink, const EipSizeCheck& eipCheck) {
    CopiesOutcome out;
    if (slave < 0 || slave >= static_cast<int>(doc.slaves.size())) {
        sink.error(VT_TEXT("错误"), VT_TEXT("请选择从站"));
        return out;
    }
    const int line = doc.lineOfSlave(slave);
    if (line < 0) {
        sink.error(VT_TEXT("错误"), VT_TEXT("没有选中的COM线"));
        return out;
    }
    // Everything happens on a copy of the project, which replaces it only
    // when every copy was made in full.
    model::CVantorDoc work = doc;
    RecordingSink seen;
    if (!copyInto(work, slave, line, request, out, seen, eipCheck)) {
        if (!seen.messages.empty())
            sink.error(seen.messages.front().caption, seen.messages.front().text);
        return {};
    }
    work.selectedItem = work.comItem(line);
    work.modified = true;
    doc = std::move(work);
    out.made = true;
    return out;
}

FormResult acceptSlaveCopiesForm(model::CVantorDoc& doc, int slave, const CopiesForm& form, MessageSink& sink,
                                 const EipSizeCheck& eipCheck) {
    const auto request = readCopiesForm(form, sink);
    if (!request || !makeSlaveCopies(doc, slave, *request, sink, eipCheck).made)
        return FormResult::StayOpen;
    return FormResult::Accepted;
}

} // namespace vantor::editing
