#pragma once
// Armed single-shot timers of one exchange, by id, each with the deadline
// and the token of its arming. The exchange keeps one (Exchange::timers)
// and runs out due timers in deadline order; the time is always passed in.
#include <cstdint>
#include <map>
#include <optional>

namespace vantor::transfer {

struct DueTimer {
    int id;
    uint64_t token;
    int64_t deadline;
};

struct ArmedTimer {
    uint64_t token;
    int64_t deadline;
    uint64_t order; // arming order, for ties
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
    // Every armed timer by id.
    const std::map<int, ArmedTimer>& armedTimers() const { return timers_; }

private:
    std::map<int, ArmedTimer> timers_;
    uint64_t order_ = 0;
};

} // namespace vantor::transfer
