#pragma once
// "--version" and "--help" of every program and tool, answered before a
// window system or any other resource is needed.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vantor::common {

// The suite's release, e.g. "1.0.0".
const char* suiteVersion();

// When `args` (without the program name) is exactly "--version" or
// "--help", prints "<program> <version>" or `help` to `out` and returns the
// exit status 0; nullopt for anything else, which the program handles.
std::optional<int> answerInfoOptions(const std::vector<std::string>& args, const std::string& program,
                                     const std::string& help, std::ostream& out);

} // namespace vantor::common
