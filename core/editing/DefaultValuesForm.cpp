#include "editing/DefaultValuesForm.h"

#include "editing/FieldText.h"
#include "text/Shown.h"

namespace vantor::editing {

DefaultValuesForm openDefaultValuesForm(const model::CVantorDoc& doc) {
    return {doc.editSendDefault == 1, std::to_string(doc.sendInterlTime), std::to_string(doc.repTimeoutTime)};
}

FormResult acceptDefaultValuesForm(model::CVantorDoc& doc, const DefaultValuesForm& form, MessageSink& sink) {
    if (!digitsOnly(form.intervalText)) {
        sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔时间有非法字符"));
        return FormResult::StayOpen;
    }
    const int interval = fieldValue(form.intervalText);
    if (interval > 3000) {
        sink.error(VT_TEXT("错误"), VT_TEXT("报文发送间隔请添入一个0和3000之间的整数"));
        return FormResult::StayOpen;
    }
    if (!digitsOnly(form.timeoutText)) {
        sink.error(VT_TEXT("错误"), VT_TEXT("应答超时时间有非法字符"));
        return FormResult::StayOpen;
    }
    const int timeout = fieldValue(form.timeoutText);
    if (timeout < 100 || timeout > 3000) {
        sink.error(VT_TEXT("错误"), VT_TEXT("应答超时时间请添入一个100和3000之间的整数"));
        return FormResult::StayOpen;
    }
    doc.repTimeoutTime = timeout;
    doc.sendInterlTime = interval;
    doc.editSendDefault = form.editSendEnabled ? 1 : 0;
    doc.modified = true;
    return FormResult::Accepted;
}

} // namespace vantor::editing
