#pragma once
// Proposal of a free gateway address for a new command. The search starts
// at the lower bound (the area's next gateway address) or, when commands of
// the area lie at or above it, after the one visited last in document order
// (slaves in project order, commands in list order; the last one wins, not
// the highest); it wraps at the end of the area's address space and steps
// upward one address at a time, at most 9999 times.
#include "editing/CommandSpan.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <span>

namespace vantor::editing {

// What the command forms and the paste say when no proposal is found.
inline constexpr const char* kNoFreeGatewayAddress = VT_TEXT("没有可用的网关地址");

// Address space the proposal walks through: 8192 bits for areas 0 and 1,
// 4000 words for areas 3 and 4 (the command form accepts 0..3999).
int proposalSpace(int area);

// Proposal for a new command of `area` with lower bound `nextAddress` (the
// area's next gateway address). Only the candidate address itself is tested
// against the area's commands; the caller's overlap check decides about the
// whole range. Answers -1 when no address is free after 9999 steps.
int proposeGatewayAddress(const model::CVantorDoc& doc, int nextAddress, int area);

// Like proposeGatewayAddress, but a candidate counts as free only when the
// whole range [candidate, candidate + length) is clear of the area's commands
// and ends inside the address space.
// Used where no overlap check follows (pasting a slave's commands).
int proposeGatewayRange(const model::CVantorDoc& doc, int nextAddress, int area, int length);

// The same proposal over any project's commands (in document order) with the
// address space given: the candidate wraps from `space` to 0. VantorNet walks
// 8192 bits and 2000 words.
int proposeGatewayAddress(std::span<const CommandSpan> commands, int nextAddress, int area, int space);

// The whole-range proposal over any project's commands with the address
// space given (VantorNet copies its servers' commands with it).
int proposeGatewayRange(std::span<const CommandSpan> commands, int nextAddress, int area, int length,
                        int space);

} // namespace vantor::editing
