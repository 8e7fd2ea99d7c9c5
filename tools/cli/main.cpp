// vantor-cli: the suite's core operations without windows.
#include "CliCommand.h"

#include <cstdio>
#include <cstring>

namespace vantor::cli {
std::vector<CliCommand>& commands() {
    static std::vector<CliCommand> all;
    return all;
}
} // namespace vantor::cli

static void usage() {
    std::fprintf(stderr, "usage: vantor-cli COMMAND [ARGS]\ncommands:\n");
    for (const auto& c : vantor::cli::commands())
        std::fprintf(stderr, "  %s %s\n", c.name, c.usage);
}

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        usage();
        return vantor::cli::kUsage;
    }
    for (const auto& c : vantor::cli::commands())
        if (std::strcmp(c.name, argv[1]) == 0)
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
    std::fprintf(stderr, "vantor-cli: unknown command '%s'\n", argv[1]);
    usage();
    return vantor::cli::kUsage;
}
