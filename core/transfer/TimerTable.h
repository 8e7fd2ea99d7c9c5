#pragma once
// Armed single-shot timers of one exchange, by id, each with the deadline
// and the token it was armed with. Drivers keep one (the CLI with a steady
// clock, tests with a fake clock) and fire due timers in deadline order;
// the time is always passed in.
#include <cstdint>
#include <map>
#include <optional>

namespace vantor::transfer {

struct DueTimer {
    int id;
    uint64_t token;
    int64_t deadline;
};

class TimerTable {
public:
    // (Re)arms timer `id`; a timer armed again replaces its earlier run.
    void arm(int id, uint64_t token, int64_t deadline);
    void disarm(int id);
    bool armed(int id) const { return timers_.count(id) != 0; }
    bool empty() const { return timers_.empty(); }
    void clear() { timers_.clear(); }
    // The earliest deadline, or nothing when no timer is armed.
    std::optional<int64_t> nextDeadline() const;
    // Removes and returns the timer with the earliest deadline not after
    // `now` (ties by arming order), or nothing.
    std::optional<DueTimer> popDue(int64_t now);

private:
    struct Entry {
        uint64_t token;
        int64_t deadline;
        uint64_t order;
    };
    std::map<int, Entry> timers_;
    uint64_t order_ = 0;
};

} // namespace vantor::transfer
