#pragma once
// The default-values form ("默认值设置"): whether new write commands start
// with change-triggered send, and a new slave's send interval and reply
// timeout (ms).
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"

#include <string>

namespace vantor::editing {

struct DefaultValuesForm {
    bool editSendEnabled = false; // "使能" (else "不使能")
    std::string intervalText;     // "报文发送间隔:" (ms)
    std::string timeoutText;      // "应答超时时间:" (ms)
};

DefaultValuesForm openDefaultValuesForm(const model::CVantorDoc& doc);

// OK: interval digits only and at most 3000, timeout digits only and
// 100..3000; both stored in ms, nothing stored unless both pass.
FormResult acceptDefaultValuesForm(model::CVantorDoc& doc, const DefaultValuesForm& form, MessageSink& sink);

} // namespace vantor::editing
