#pragma once
// "批量复制" of a slave in Vantor: N copies on the slave's own line, each at
// the original's address + k × step (k = 1..N) and each made as a paste makes
// its slave (name "SLAVE", the original's times, the original's commands on
// fresh gateway ranges). All or nothing: the first refusal (the line's slave
// limit, an address outside 1..247 or already taken, no free gateway range,
// the command limit, the area check, the EtherNet/IP sizes) is shown alone
// and the project stays exactly as it was; made copies are one edit.
#include "common/MessageSink.h"
#include "editing/CopiesForm.h"
#include "editing/EipSizeCheck.h"
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <string>

namespace vantor::editing {

// The refusal of a copy whose address is taken: it names the address, since
// the user typed only the count and the step.
inline std::string copyAddressTaken(int address) {
    return text::shownFormat(VT_TEXT("地址%d已经被占用,请更换地址间隔或复制数量"), address);
}

// Afterwards the slave's line is selected (as after a paste).
CopiesOutcome makeSlaveCopies(model::CVantorDoc& doc, int slave, const CopiesRequest& request,
                              MessageSink& sink, const EipSizeCheck& eipCheck = standardEipSizeCheck());

// OK of the form on `slave`: the fields, then the copies; the form stays
// open after any refusal.
FormResult acceptSlaveCopiesForm(model::CVantorDoc& doc, int slave, const CopiesForm& form, MessageSink& sink,
                                 const EipSizeCheck& eipCheck = standardEipSizeCheck());

} // namespace vantor::editing
