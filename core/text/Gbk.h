#pragma once
// The one place where text changes encoding. The model holds UTF-8; files,
// byte-length limits and everything sent to a gateway use GBK (code page 936).
#include <optional>
#include <string>
#include <string_view>

namespace vantor::text {

// UTF-8 -> GBK. Empty optional when the text holds a character GBK cannot
// represent or is not valid UTF-8: such text is refused, never trimmed.
std::optional<std::string> toGbk(std::string_view utf8);

// GBK -> UTF-8. Bytes that are not valid GBK are replaced by U+FFFD so that
// reading a damaged file never fails.
std::string fromGbk(std::string_view gbk);

// UTF-8 -> GBK for text already known to be representable (every text in
// the model passed toGbk when it was entered). Unrepresentable characters
// become '?'.
std::string toGbkLossy(std::string_view utf8);

// UTF-16LE code units -> GBK (the wide form of the project-file container).
std::string utf16leToGbk(std::string_view bytes);

// Number of bytes the text takes in GBK (a Chinese character counts two);
// empty when the text cannot be represented.
std::optional<std::size_t> gbkLength(std::string_view utf8);

// Texts between the model (UTF-8) and a GBK file (the project files).
// ASCII reads the same in both and skips the converter: most names,
// addresses and command texts of a project are ASCII or short, and a file
// holds hundreds of them. Characters GBK lacks were refused at input.
std::string toFileText(std::string_view utf8);
std::string fromFileText(std::string_view gbk);

// One code point as GBK bytes (numeric character references in markup);
// '?' when GBK has no such character.
std::string codePointToGbk(unsigned long codePoint);

} // namespace vantor::text
