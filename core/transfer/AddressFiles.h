#pragma once
// The address files: "IP/ip.txt" and "IP/port.txt" below the working
// directory keep the last gateway address the network settings were written
// to (its IP as dotted text, its MODBUS TCP port as a decimal number), so
// that the next start proposes it. The downloaders of the suite read and
// rewrite the same two files.
//
// A file's text is every byte up to its end; a byte 0xFF also ends it, and
// only the first kMaxAddressFileBytes are read. The files are written without a line end, each one anew and
// atomically (a failed write leaves the previous file as it was).
#include "text/Shown.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantor::transfer {

inline constexpr std::size_t kMaxAddressFileBytes = 4096;

// What the downloaders show when the IP file is missing.
inline constexpr const char* kAddressFileMissing = VT_TEXT("你选择了下载空文件！");

// "<directory>/IP/ip.txt" and "<directory>/IP/port.txt".
std::string ipFilePath(const std::string& directory);
std::string portFilePath(const std::string& directory);

// The text of one address file; nothing when it cannot be opened.
std::optional<std::string> readAddressFile(const std::string& path);

// Writes `text` as the whole file, creating the folder when it is missing.
// False with a message (UTF-8) in `error` on failure.
bool writeAddressFile(const std::string& path, std::string_view text, std::string* error);

struct AddressFileTexts {
    std::optional<std::string> ip;
    std::optional<std::string> port;
};

AddressFileTexts readAddressFiles(const std::string& directory);

// Both files: `ip` into ip.txt, `port` in decimal into port.txt. Stops at
// the first failure.
bool writeAddressFiles(const std::string& directory, std::string_view ip, int port, std::string* error);

} // namespace vantor::transfer
