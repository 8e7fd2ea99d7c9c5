#include "transfer/TimerTable.h"

namespace vantor::transfer {

void TimerTable::arm(int id, uint64_t token, int64_t deadline) {
    timers_[id] = ArmedTimer{token, deadline, ++order_};
}

void TimerTable::disarm(int id) {
    timers_.erase(id);
}

std::optional<int64_t> TimerTable::nextDeadline() const {
    std::optional<int64_t> best;
    for (const auto& [id, e] : timers_)
        if (!best || e.deadline < *best)
            best = e.deadline;
    return best;
}

std::optional<DueTimer> TimerTable::popDue(int64_t now) {
    auto best = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.deadline > now)
            continue;
        if (best == timers_.end() || it->second.deadline < best->second.deadline ||
            (it->second.deadline == best->second.deadline && it->second.order < best->second.order))
            best = it;
    }
    if (best == timers_.end())
        return std::nullopt;
    DueTimer due{best->first, best->second.token, best->second.deadline};
    timers_.erase(best);
    return due;
}

} // namespace vantor::transfer
