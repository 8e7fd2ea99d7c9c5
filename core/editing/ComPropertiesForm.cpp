#include "editing/ComPropertiesForm.h"

#include "editing/ApplyWhenAccepted.h"
#include "editing/FieldText.h"
#include "text/Shown.h"

namespace vantor::editing {

const std::array<std::string, 7>& baudTexts() {
    static const std::array<std::string, 7> t{"2400", "4800", "9600", "19200", "38400", "57600", "115.2k"};
    return t;
}

const std::array<std::string, 3>& parityTexts() {
    static const std::array<std::string, 3> t{VT_TEXT("无校验"), VT_TEXT("奇校验"), VT_TEXT("偶校验")};
    return t;
}

const std::array<std::string, 2>& stopTexts() {
    static const std::array<std::string, 2> t{VT_TEXT("1位"), VT_TEXT("2位")};
    return t;
}

ComPropertiesForm openComForm(const model::CVantorDoc& doc, int line) {
    const model::CCOM& com = doc.coms.at(static_cast<std::size_t>(line));
    ComPropertiesForm f;
    f.line = line;
    f.baud = com.baud;
    f.check = com.check;
    f.stop = com.stop;
    f.intervalText = std::to_string(com.space * 10);
    return f;
}

FormResult acceptComForm(model::CVantorDoc& project, const ComPropertiesForm& form, MessageSink& sink) {
    return applyWhenAccepted(project, [&](model::CVantorDoc& doc) {
        model::CCOM& com = doc.coms.at(static_cast<std::size_t>(form.line));
        com.baud = form.baud;
        com.check = form.check;
        com.stop = form.stop;
        doc.modified = true;
        // Only plain digits make a gap: "0a" or "12a" are format errors rather
        // than being read up to the first non-digit.
        if (!digitsOnly(form.intervalText)) {
            sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔格式错误"));
            return FormResult::StayOpen;
        }
        const int interval = fieldValue(form.intervalText);
        if (interval < 10 || interval > 2550) {
            sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔请添入一个10和2550之间的整数"));
            return FormResult::StayOpen;
        }
        com.space = interval / 10;
        return FormResult::Accepted;
    });
}

} // namespace vantor::editing
