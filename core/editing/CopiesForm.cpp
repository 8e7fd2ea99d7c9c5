#include "editing/CopiesForm.h"

#include "editing/FieldText.h"
#include "text/Numbers.h"

namespace vantor::editing {
namespace {

std::optional<int> readField(const std::string& text, const char* name, MessageSink& sink) {
    const auto value = filledDigitsValue(text);
    if (!value) {
        sink.error("错误", std::string(name) + "有非法字符");
        return std::nullopt;
    }
    if (*value < 1 || *value > kMaxCopiesField) {
        sink.error("错误", text::format("%s请添入一个1和%d之间的整数", name, kMaxCopiesField));
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<CopiesRequest> readCopiesForm(const CopiesForm& form, MessageSink& sink) {
    const auto count = readField(form.countText, "复制数量", sink);
    if (!count)
        return std::nullopt;
    const auto step = readField(form.stepText, "地址间隔", sink);
    if (!step)
        return std::nullopt;
    return CopiesRequest{*count, *step};
}

} // namespace vantor::editing
