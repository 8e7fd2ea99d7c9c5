#pragma once
// Reading the number fields of the editing forms: a field holds decimal
// digits only (an empty field counts as 0); values too large for the form's
// limits saturate instead of wrapping, so "99999999999" stays out of range.
#include <optional>
#include <string>
#include <string_view>

namespace vantor::editing {

// True when every character is a decimal digit (true for an empty text).
bool digitsOnly(std::string_view text);

// The value of a digits-only text, capped at 999999999; 0 for an empty text.
// Call only after digitsOnly.
int fieldValue(std::string_view text);

// The value of a field that must not be empty: nothing when the text is
// empty or holds anything but digits; values past the cap saturate.
std::optional<int> filledDigitsValue(std::string_view text);

// True when the text holds a character other than '0' (so a zero value
// written "00" or "0a" is told apart from "0").
bool holdsOtherThanZero(std::string_view text);

// The text without the blanks and tabs around it.
std::string trimmed(std::string_view text);

} // namespace vantor::editing
