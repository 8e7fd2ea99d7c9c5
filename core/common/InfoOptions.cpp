#include "common/InfoOptions.h"

namespace vantor::common {

const char* suiteVersion() {
    return VANTOR_VERSION;
}

std::optional<int> answerInfoOptions(const std::vector<std::string>& args, const std::string& program,
                                     const std::string& help, std::ostream& out) {
    if (args.size() != 1)
        return std::nullopt;
    if (args[0] == "--version") {
        out << program << ' ' << suiteVersion() << '\n';
        return 0;
    }
    if (args[0] == "--help") {
        out << help;
        return 0;
    }
    return std::nullopt;
}

} // namespace vantor::common
