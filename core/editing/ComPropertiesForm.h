#pragma once
// The line form ("COM属性"): baud, parity and stop-bit choices and the gap
// between slaves.
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"

#include <array>
#include <string>

namespace vantor::editing {

const std::array<std::string, 7>& baudTexts();   // "2400" .. "115.2k"
const std::array<std::string, 3>& parityTexts(); // "无校验", "奇校验", "偶校验"
const std::array<std::string, 2>& stopTexts();   // "1位", "2位"

struct ComPropertiesForm {
    int line = -1;
    int baud = 0;             // index into baudTexts
    int check = 0;            // index into parityTexts
    int stop = 0;             // index into stopTexts
    std::string intervalText; // "从站时间间隔：" (ms)
    std::string dataBitsText = "8";
};

ComPropertiesForm openComForm(const model::CVantorDoc& doc, int line);

// OK: the three choices are stored first; then the gap must be 10..2550 ms
// ("报文发送间隔请添入一个10和2550之间的整数"; a text that is not a plain
// number gives "报文发送间隔格式错误") and is stored in 10 ms units.
FormResult acceptComForm(model::CVantorDoc& doc, const ComPropertiesForm& form, MessageSink& sink);

} // namespace vantor::editing
