#pragma once
// A command as the gateway-address proposal, the overlap checks and the
// default start address see it: area, direction and the two ranges. Both
// configurators describe their commands this way, so the rules serve both
// project models.
#include "model/CVantorDoc.h"

#include <vector>

namespace vantor::editing {

struct CommandSpan {
    int area = -1;
    int readWrite = -1; // 0 read, 1 write multiple, 2 write single
    int start = 0;      // slave start address
    int length = 0;
    int gate = 0; // gateway address

    // Any command type with the project-file field names.
    template <typename Command> static CommandSpan of(const Command& m) {
        return {m.area_num, m.read_wri, m.Start_Add, m.Length, m.Gate_Add};
    }
};

// Every command of a Vantor project in document order (slaves in project
// order, commands in list order).
std::vector<CommandSpan> projectCommands(const model::CVantorDoc& doc);

// The commands of one list, in list order; `skip` (an index) is left out.
template <typename Commands> std::vector<CommandSpan> commandSpans(const Commands& commands, int skip = -1) {
    std::vector<CommandSpan> out;
    out.reserve(commands.size());
    int i = 0;
    for (const auto& m : commands)
        if (i++ != skip)
            out.push_back(CommandSpan::of(m));
    return out;
}

} // namespace vantor::editing
