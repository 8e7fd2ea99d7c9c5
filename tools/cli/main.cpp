// vantor-cli: the suite's core operations without windows.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vantor-cli COMMAND [ARGS]\n");
        return 2;
    }
    std::fprintf(stderr, "vantor-cli: unknown command '%s'\n", argv[1]);
    return 2;
}
