#pragma once
// Pieces shared by the fuzz targets that read and write the address files:
// one scratch working directory per process, and the check that the files
// only ever hold a dotted quad and a port number.
#include "transfer/AddressFiles.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace vantor::fuzzing {

inline const std::string& scratchDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return dir;
}

inline void requireWellFormedAddressFiles(const std::string& dir) {
    if (auto ip = transfer::readAddressFile(transfer::ipFilePath(dir));
        ip && ip->find_first_not_of("0123456789.") != std::string::npos)
        std::abort();
    if (auto port = transfer::readAddressFile(transfer::portFilePath(dir));
        port && (port->empty() || port->find_first_not_of("0123456789") != std::string::npos))
        std::abort();
}

} // namespace vantor::fuzzing
