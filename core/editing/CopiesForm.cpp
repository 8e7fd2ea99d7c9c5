#include "editing/CopiesForm.h"

#include "editing/FieldText.h"
#include "text/Numbers.h"
#include "text/Shown.h"

namespace vantor::editing {
namespace {

std::optional<int> readField(const std::string& text, const char* name, MessageSink& sink) {
    const auto value = filledDigitsValue(text);
    if (!value) {
        sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("%s有非法字符"), text::shown(name).c_str()));
        return std::nullopt;
    }
    if (*value < 1 || *value > kMaxCopiesField) {
        sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("%s请添入一个1和%d之间的整数"),
                                                      text::shown(name).c_str(), kMaxCopiesField));
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<CopiesRequest> readCopiesForm(const CopiesForm& form, MessageSink& sink) {
    const auto count = readField(form.countText, VT_TEXT("复制数量"), sink);
    if (!count)
        return std::nullopt;
    const auto step = readField(form.stepText, VT_TEXT("地址间隔"), sink);
    if (!step)
        return std::nullopt;
    return CopiesRequest{*count, *step};
}

} // namespace vantor::editing
