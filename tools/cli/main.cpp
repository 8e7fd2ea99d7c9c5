// vantor-cli: the suite's core operations without windows.
#include "CliCommand.h"
#include "JsonOutput.h"
#include "common/InfoOptions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace vantor::cli {
std::vector<CliCommand>& commands() {
    static std::vector<CliCommand> all;
    return all;
}
} // namespace vantor::cli

static std::string usage() {
    std::string text = "usage: vantor-cli COMMAND [ARGS]\n       vantor-cli --version | --help\ncommands:\n";
    for (const auto& c : vantor::cli::commands())
        text += std::string("  ") + c.name + " " + c.usage + (c.json ? " [--json]\n" : "\n");
    return text + vantor::cli::jsonHelp();
}

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (auto status = vantor::common::answerInfoOptions(all, "vantor-cli", usage(), std::cout))
        return *status;
    if (argc < 2) {
        std::fputs(usage().c_str(), stderr);
        return vantor::cli::kUsage;
    }
    for (const auto& c : vantor::cli::commands()) {
        if (std::strcmp(c.name, argv[1]) != 0)
            continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        if (c.json) {
            const auto json = std::remove(args.begin(), args.end(), std::string("--json"));
            vantor::cli::setJsonMode(json != args.end());
            args.erase(json, args.end());
        }
        const int status = c.run(args);
        // A failure that printed no document of its own (a usage error, a
        // file that cannot be read) still ends with one.
        if (vantor::cli::jsonMode() && status != vantor::cli::kOk && !vantor::cli::jsonPrinted())
            vantor::cli::printJsonError(std::string("usage: vantor-cli ") + c.name + " " + c.usage +
                                        " [--json]");
        return status;
    }
    std::fprintf(stderr, "vantor-cli: unknown command '%s'\n", argv[1]);
    std::fputs(usage().c_str(), stderr);
    return vantor::cli::kUsage;
}
