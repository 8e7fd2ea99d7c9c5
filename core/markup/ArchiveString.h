#pragma once
// The archive container of both project files (.vtc, .vncfg): one
// length-prefixed string holding the markup text.
//
// Length prefix, little-endian: one byte below 0xFF; else 0xFF and 16 bits
// below 0xFFFE; else 0xFF, 0xFFFF and 32 bits below 0xFFFFFFFF; else 0xFF,
// 0xFFFF, 0xFFFFFFFF and 64 bits. Then the bytes of the string.
#include <optional>
#include <string>
#include <string_view>

namespace vantor::markup {

// The container bytes of an 8-bit string.
std::string encodeArchiveString(std::string_view text);

// The string held at the start of `bytes`, as GBK. A prefix 0xFF 0xFFFE marks
// a wide string: a second length (coded the same way) counts UTF-16LE units,
// which are converted to GBK. Empty optional when the prefix is incomplete or
// announces more bytes than there are. Bytes after the string are ignored.
std::optional<std::string> decodeArchiveString(std::string_view bytes);

// "无法打开文件 <path>": the start of every message of a project file that
// cannot be opened.
std::string cannotOpenText(const std::string& path);

// The string of a whole project file (GBK). Nothing, with the reason in
// `error`, when the file cannot be read (cannotOpenText), is larger than a
// markup document may be, or its container is damaged (": 文件已损坏或格式不正确"
// added).
std::optional<std::string> readArchiveFile(const std::string& path, std::string* error);

} // namespace vantor::markup
