#include "editing/FieldText.h"

namespace vantor::editing {

bool digitsOnly(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int fieldValue(std::string_view text) {
    constexpr long long kCap = 999999999;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
        if (v > kCap)
            return static_cast<int>(kCap);
    }
    return static_cast<int>(v);
}

std::optional<int> filledDigitsValue(std::string_view text) {
    if (text.empty() || !digitsOnly(text))
        return std::nullopt;
    return fieldValue(text);
}

bool holdsOtherThanZero(std::string_view text) {
    for (char c : text)
        if (c != '0')
            return true;
    return false;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace vantor::editing
