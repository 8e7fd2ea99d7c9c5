#include "editing/GatewayAddressPlanner.h"

#include <algorithm>
#include <vector>

namespace vantor::editing {
namespace {

constexpr int kMaxSteps = 9999;

// How many commands of the area cover each address, as a prefix-summed table
// with one extra slot: covered(a) answers for a single address, clearRange
// for a span. Built once per proposal so that the step-by-step search costs
// one table lookup per candidate instead of a pass over every command.
class AreaOccupancy {
public:
    AreaOccupancy(std::span<const CommandSpan> commands, int area, int space) {
        long long top = space;
        for (const auto& m : commands)
            if (m.area == area && m.length > 0)
                top = std::max(top, static_cast<long long>(m.gate) + m.length);
        // Stored files may hold absurd lengths; nothing above this bound can
        // matter for a proposal inside the address space.
        top = std::min<long long>(top, static_cast<long long>(space) + 70000);
        size_ = static_cast<int>(top);
        std::vector<int> diff(static_cast<std::size_t>(size_) + 1, 0);
        for (const auto& m : commands) {
            if (m.area != area || m.length <= 0)
                continue;
            long long lo = std::max<long long>(m.gate, 0);
            long long hi = std::min<long long>(static_cast<long long>(m.gate) + m.length, size_);
            if (lo >= hi)
                continue;
            diff[static_cast<std::size_t>(lo)] += 1;
            diff[static_cast<std::size_t>(hi)] -= 1;
        }
        // used_[a] = 1 when address a is covered; prefix_[a] = covered count below a.
        prefix_.assign(static_cast<std::size_t>(size_) + 1, 0);
        used_.assign(static_cast<std::size_t>(size_), 0);
        int depth = 0;
        for (int a = 0; a < size_; ++a) {
            depth += diff[static_cast<std::size_t>(a)];
            used_[static_cast<std::size_t>(a)] = depth > 0 ? 1 : 0;
            prefix_[static_cast<std::size_t>(a) + 1] =
                prefix_[static_cast<std::size_t>(a)] + used_[static_cast<std::size_t>(a)];
        }
    }

    bool covered(int a) const { return a >= 0 && a < size_ && used_[static_cast<std::size_t>(a)] != 0; }

    bool clearRange(int from, int length) const {
        if (length <= 0)
            return !covered(from);
        long long lo = std::clamp<long long>(from, 0, size_);
        long long hi = std::clamp<long long>(static_cast<long long>(from) + length, 0, size_);
        return prefix_[static_cast<std::size_t>(hi)] - prefix_[static_cast<std::size_t>(lo)] == 0;
    }

private:
    int size_ = 0;
    std::vector<int> used_;
    std::vector<int> prefix_;
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
    AreaOccupancy occupancy(commands, area, space);
    return search(commands, nextAddress, area, space, [&](int a) { return !occupancy.covered(a); });
}

int proposeGatewayAddress(const model::CVantorDoc& doc, int nextAddress, int area) {
    return proposeGatewayAddress(projectCommands(doc), nextAddress, area, proposalSpace(area));
}

int proposeGatewayRange(std::span<const CommandSpan> commands, int nextAddress, int area, int length,
                        int space) {
    if (space <= 0)
        return -1;
    AreaOccupancy occupancy(commands, area, space);
    return search(commands, nextAddress, area, space, [&](int a) {
        return static_cast<long long>(a) + std::max(length, 1) <= space && occupancy.clearRange(a, length);
    });
}

int proposeGatewayRange(const model::CVantorDoc& doc, int nextAddress, int area, int length) {
    return proposeGatewayRange(projectCommands(doc), nextAddress, area, length, proposalSpace(area));
}

} // namespace vantor::editing
