#include "transfer/AddressFiles.h"

#include "common/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantor::transfer {

std::string ipFilePath(const std::string& directory) {
    return directory + "/IP/ip.txt";
}

std::string portFilePath(const std::string& directory) {
    return directory + "/IP/port.txt";
}

std::optional<std::string> readAddressFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // An address file holds one short line: what lies beyond the first
    // kMaxAddressFileBytes is never read.
    std::string text;
    for (std::istreambuf_iterator<char> it(in), end; it != end && text.size() < kMaxAddressFileBytes; ++it) {
        if (static_cast<unsigned char>(*it) == 0xFF)
            break;
        text += *it;
    }
    return text;
}

bool writeAddressFile(const std::string& path, std::string_view text, std::string* error) {
    std::error_code ec;
    const auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);
    return writeFileAtomically(path, text, error);
}

AddressFileTexts readAddressFiles(const std::string& directory) {
    return {readAddressFile(ipFilePath(directory)), readAddressFile(portFilePath(directory))};
}

bool writeAddressFiles(const std::string& directory, std::string_view ip, int port, std::string* error) {
    return writeAddressFile(ipFilePath(directory), ip, error) &&
           writeAddressFile(portFilePath(directory), std::to_string(port), error);
}

} // namespace vantor::transfer
