#include "net/CVantorNetDoc.h"

namespace vantor::net {

void CVantorNetDoc::NewDocument() {
    bus = CBus{};
    currentSelect = kSelectNothing;
    insert_add = 1;
    insert_slave_flag = 0;
    com1 = CCom{1, 3, 2, 0, 17};
    com2 = CCom{2, 3, 2, 0, 18};
    slaves.clear();
    masters.clear();
    nextGateAddress.fill(0);
    rev_allow = 1;
    test = 0;
    isDataModifySendEnable = 0;
    GW_work_mode = 0;
    modified = false;
}

int CVantorNetDoc::selectedSlave() const {
    const int s = currentSelect - 3;
    return s >= 0 && s < static_cast<int>(slaves.size()) ? s : -1;
}

int CVantorNetDoc::commandCount() const {
    int n = 0;
    for (const auto& s : slaves)
        n += s.commandCount();
    return n;
}

const std::string& CVantorNetDoc::modelName() const {
    static const std::string none;
    return masters.empty() ? none : masters.front().masterName;
}

} // namespace vantor::net
