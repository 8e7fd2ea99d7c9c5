#pragma once
// "批量复制" of a server in VantorNet: N copies, copy k (1..N) at the
// original's IP with its last part + k × step, or at the original's unit
// addresses + k × step (every node's), the rest of the server as it is, and
// every command of the original on a fresh gateway range of its area (the
// whole range free and inside the area). Each copy passes the checks of a
// new server and of a new command: the server limit, an IP the server
// dialog accepts, unit addresses 1..247, no server with the same IP, port
// and unit, a free gateway range, the command limit. All or nothing: the
// first refusal is shown alone and the project stays as it was; made copies
// are one edit, the last one selected.
#include "common/MessageSink.h"
#include "editing/CopiesForm.h"
#include "editing/FormResult.h"
#include "net/CVantorNetDoc.h"
#include "text/Shown.h"

#include <array>
#include <string_view>

namespace vantor::net {

enum class CopyStep { Ip, Unit };

// The choice in the form ("递增："), in CopyStep order.
inline constexpr std::array<std::string_view, 2> kCopyStepTexts{VT_TEXT("IP地址末位"),
                                                                VT_TEXT("从站MOD地址")};

editing::CopiesOutcome makeServerCopies(CVantorNetDoc& doc, int server, const editing::CopiesRequest& request,
                                        CopyStep by, MessageSink& sink);

// OK of the form on `server`: the fields, then the copies; the form stays
// open after any refusal.
editing::FormResult acceptServerCopiesForm(CVantorNetDoc& doc, int server, const editing::CopiesForm& form,
                                           CopyStep by, MessageSink& sink);

} // namespace vantor::net
