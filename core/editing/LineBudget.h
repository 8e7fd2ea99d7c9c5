#pragma once
// The serial-line budget: how long one poll cycle of each line takes, from
// the line's baud rate and frame format, each command's request and reply
// sizes, the slaves' send delays and the line's gap, and the reply timeout
// of slaves that do not answer.
//
// Per command: request and reply on the wire (one start bit, 8 data bits,
// the parity bit if any, the stop bits per character), a 3.5-character
// silence before each of the two frames and the slave's send delay; per
// polled slave the line's gap between slaves. A slave that does not answer
// costs its reply timeout instead of the reply. Writes sent only on change (数变即发) are left out of the
// cycle.
#include "model/CVantorDoc.h"

#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vantor::editing {

struct SlaveCost {
    int slave = -1; // index into the project's slaves
    int address = 0;
    double ms = 0;
};

struct LineBudget {
    std::string line; // "COM1"
    int baud = 0;     // bits per second
    int bitsPerCharacter = 0;
    int commands = 0; // polled per cycle
    double cycleMs = 0;
    std::vector<SlaveCost> slaves; // in project order
    SlaveCost costliest;           // slave -1 when the line has none
    bool overThreshold = false;
};

inline constexpr double kDefaultCycleThresholdMs = 1000;

// True for a command the line sends in every cycle: reads, and writes not
// limited to changes of their data (数变即发).
bool polledEveryCycle(const model::CModule& m);

// "COM1:3,COM2:5" into (line name, slave address) pairs, as --dead takes
// them; false when an item is malformed (what was read before stays in
// `dead`).
bool parseDeadSlaves(const std::string& text, std::set<std::pair<std::string, int>>& dead);

// Wire sizes of one command, in bytes: request and reply.
std::pair<int, int> commandFrameBytes(int modbusFunction, int length);

// The budget of every line of the project, in line order. `dead` names the
// slaves (line name, address) taken as not answering.
std::vector<LineBudget> lineBudgets(const model::CVantorDoc& doc,
                                    double thresholdMs = kDefaultCycleThresholdMs,
                                    const std::set<std::pair<std::string, int>>& dead = {});

// The budget as a table (vantor-cli budget, the commissioning report): the
// column titles and one row per line (cycle and cost with one decimal).
const std::array<std::string, 8>& budgetColumnTitles();
std::array<std::string, 8> budgetTableRow(const LineBudget& b);

// One line of text per line: "COM1 轮询周期约 123 ms" (with the costliest
// slave when over the threshold), as the commissioning report writes it in
// every language.
std::string budgetSummary(const LineBudget& b);

// The summary of the selected line, or of the selected slave's line, in the
// user's language (the window shows it); empty when neither is selected.
std::string selectedLineSummary(const model::CVantorDoc& doc);

} // namespace vantor::editing
