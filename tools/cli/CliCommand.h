#pragma once
// Each vantor-cli command lives in its own file and registers itself here.
#include <string>
#include <vector>

namespace vantor::cli {

// Exit codes: 0 success, 1 a check refused, 2 usage or file error.
enum ExitCode { kOk = 0, kRefused = 1, kUsage = 2 };

struct CliCommand {
    const char* name;
    const char* usage; // arguments after the command name
    int (*run)(const std::vector<std::string>& args);
    bool json = false; // takes --json (see JsonOutput.h)
};

std::vector<CliCommand>& commands();

struct Register {
    explicit Register(CliCommand c) { commands().push_back(c); }
};

} // namespace vantor::cli
