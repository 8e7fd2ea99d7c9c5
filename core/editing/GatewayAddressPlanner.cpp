#include "editing/GatewayAddressPlanner.h"

#include <algorithm>
#include <vector>

namespace vantor::editing {
namespace {

constexpr int kMaxSteps = 9999;

// The addresses the area's commands cover. The search's first candidate is
// usually free: it is answered by one pass over the commands. Only when it is
// taken are the covered addresses gathered as sorted, disjoint, merged spans
// [from, to), after which each candidate is one binary search. So proposing
// for the 1024th command of a project costs a pass, not a sort, let alone a
// walk over the whole address space.
class AreaOccupancy {
public:
    AreaOccupancy(std::span<const CommandSpan> commands, int area) : commands_(commands), area_(area) {}

    bool covered(int a) { return !clearRange(a, 1); }

    // No covered address in [from, from + length); a span of length 0 or
    // less asks for `from` alone.
    bool clearRange(int from, int length) {
        const long long lo = from;
        const long long hi = lo + std::max(length, 1);
        if (!gathered_) {
            if (clearByPass(lo, hi))
                return true;
            gather();
        }
        // The first span that ends above `lo`: the spans' ends are sorted too.
        auto it = std::upper_bound(spans_.begin(), spans_.end(), lo,
                                   [](long long value, const auto& span) { return value < span.second; });
        return it == spans_.end() || it->first >= hi;
    }

private:
    // Stored files may hold negative or absurd addresses; below 0 nothing is
    // ever proposed.
    bool span(const CommandSpan& m, long long& from, long long& to) const {
        if (m.area != area_ || m.length <= 0)
            return false;
        from = std::max<long long>(m.gate, 0);
        to = static_cast<long long>(m.gate) + m.length;
        return from < to;
    }

    bool clearByPass(long long lo, long long hi) const {
        long long from = 0, to = 0;
        for (const auto& m : commands_)
            if (span(m, from, to) && from < hi && lo < to)
                return false;
        return true;
    }

    void gather() {
        gathered_ = true;
        std::vector<std::pair<long long, long long>> spans;
        long long from = 0, to = 0;
        for (const auto& m : commands_)
            if (span(m, from, to))
                spans.emplace_back(from, to);
        std::sort(spans.begin(), spans.end());
        for (const auto& s : spans) {
            if (!spans_.empty() && s.first <= spans_.back().second)
                spans_.back().second = std::max(spans_.back().second, s.second);
            else
                spans_.push_back(s);
        }
    }

    std::span<const CommandSpan> commands_;
    int area_;
    bool gathered_ = false;
    std::vector<std::pair<long long, long long>> spans_;
};

// The first candidate: the end of the last command visited (slaves in
// project order, commands in list order) whose address lies at or above the
// lower bound; the lower bound itself when there is none. A candidate outside
// the address space starts over at 0.
int firstCandidate(std::span<const CommandSpan> commands, int nextAddress, int area, int space) {
    long long candidate = nextAddress;
    for (const auto& m : commands)
        if (m.area == area && m.gate >= nextAddress)
            candidate = static_cast<long long>(m.gate) + m.length;
    if (candidate < 0 || candidate >= space)
        candidate = 0;
    return static_cast<int>(candidate);
}

template <typename Free>
int search(std::span<const CommandSpan> commands, int nextAddress, int area, int space, Free&& isFree) {
    if (space <= 0)
        return -1;
    int candidate = firstCandidate(commands, nextAddress, area, space);
    for (int step = 0; step <= kMaxSteps; ++step) {
        if (isFree(candidate))
            return candidate;
        candidate = candidate + 1 >= space ? 0 : candidate + 1;
    }
    return -1;
}

} // namespace

int proposalSpace(int area) {
    switch (area) {
    case 0:
    case 1:
        return 8192;
    case 3:
    case 4:
        return 4000;
    default:
        return 0;
    }
}

int proposeGatewayAddress(std::span<const CommandSpan> commands, int nextAddress, int area, int space) {
    if (space <= 0)
        return -1;
    AreaOccupancy occupancy(commands, area);
    return search(commands, nextAddress, area, space, [&](int a) { return !occupancy.covered(a); });
}

int proposeGatewayAddress(const model::CVantorDoc& doc, int nextAddress, int area) {
    return proposeGatewayAddress(projectCommands(doc), nextAddress, area, proposalSpace(area));
}

int proposeGatewayRange(std::span<const CommandSpan> commands, int nextAddress, int area, int length,
                        int space) {
    if (space <= 0)
        return -1;
    AreaOccupancy occupancy(commands, area);
    return search(commands, nextAddress, area, space, [&](int a) {
        return static_cast<long long>(a) + std::max(length, 1) <= space && occupancy.clearRange(a, length);
    });
}

int proposeGatewayRange(const model::CVantorDoc& doc, int nextAddress, int area, int length) {
    return proposeGatewayRange(projectCommands(doc), nextAddress, area, length, proposalSpace(area));
}

} // namespace vantor::editing
