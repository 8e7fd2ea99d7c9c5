#include "editing/CommandSpan.h"

namespace vantor::editing {

std::vector<CommandSpan> projectCommands(const model::CVantorDoc& doc) {
    std::vector<CommandSpan> out;
    out.reserve(static_cast<std::size_t>(doc.commandCount()));
    for (const auto& s : doc.slaves)
        for (const auto& m : s.modules)
            out.push_back(CommandSpan::of(m));
    return out;
}

} // namespace vantor::editing
