#pragma once
// Reading a whole file at once (project files, firmware images): the bytes
// of a regular file, or nothing.
#include <string>

namespace vantor {

// The whole content of a regular file; false when it cannot be read (no
// such file, a directory, a read error).
bool readWholeFile(const std::string& path, std::string& bytes);

} // namespace vantor
