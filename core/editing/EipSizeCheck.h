#pragma once
// The EtherNet/IP input/output size check run after a command is added on the
// EtherNet/IP gateway (command form and paste). It lives with the EtherNet/IP
// tables; editing only calls it. It shows its own message and answers false
// when the project no longer fits; an empty function lets everything pass.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"

#include <functional>

namespace vantor::editing {

using EipSizeCheck = std::function<bool(const model::CVantorDoc&, MessageSink&)>;

// The EtherNet/IP tables' own size check: the default of every editing step
// that adds commands.
const EipSizeCheck& standardEipSizeCheck();

// Runs the check when the project's model needs it and a check is plugged in.
bool runEipSizeCheck(const EipSizeCheck& check, const model::CVantorDoc& doc, MessageSink& sink);

} // namespace vantor::editing
