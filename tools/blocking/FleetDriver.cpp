#include "FleetDriver.h"

#include <algorithm>

namespace vantor::blocking {

FleetDriver::FleetDriver(std::vector<fleet::PreparedGateway> gateways, fleet::CommissionSettings settings,
                         int parallel)
    : parallel_(std::max(1, parallel)) {
    slots_.reserve(gateways.size());
    for (auto& g : gateways)
        slots_.push_back({fleet::GatewayCommission(std::move(g), settings), nullptr, {}});
}

int64_t FleetDriver::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
}

void FleetDriver::attach(Slot& slot) {
    auto& c = slot.commission;
    slot.driver = std::make_unique<BlockingDriver>(*c.current());
    slot.driver->onMessage = [&c](const Message& m) { c.message(m); };
    slot.driver->afterEvent = [&c] { c.afterEvent(); };
    slot.driver->start();
}

void FleetDriver::advance(Slot& slot) {
    auto& c = slot.commission;
    for (;;) {
        if (slot.driver && slot.driver->isFinished()) {
            const auto result = *slot.driver->result();
            slot.driver.reset();
            c.currentEnded(result, elapsedMs());
        } else if (!slot.driver && c.wakeAt()) {
            c.advanceTo(elapsedMs());
        }
        if (!slot.driver && c.current() && !c.done()) {
            attach(slot);
            continue; // it may have ended at once (a refused target)
        }
        break;
    }
    const std::string text = c.stageText();
    if (text != slot.shown) {
        slot.shown = text;
        if (onChange)
            onChange(c);
    }
}

std::vector<fleet::GatewayOutcome> FleetDriver::run() {
    start_ = std::chrono::steady_clock::now();
    std::size_t next = 0;
    std::vector<Slot*> running;
    while (next < slots_.size() || !running.empty()) {
        while (static_cast<int>(running.size()) < parallel_ && next < slots_.size()) {
            Slot& slot = slots_[next++];
            slot.commission.start(elapsedMs());
            advance(slot);
            if (!slot.commission.done())
                running.push_back(&slot);
        }
        if (running.empty())
            continue;
        std::vector<BlockingDriver*> drivers;
        std::optional<int64_t> limit;
        for (auto* s : running) {
            if (s->driver)
                drivers.push_back(s->driver.get());
            else if (const auto wake = s->commission.wakeAt())
                limit = std::min(limit.value_or(*wake), *wake);
        }
        if (limit)
            limit = std::max<int64_t>(0, *limit - elapsedMs());
        pollOnce(drivers, limit);
        for (auto* s : running)
            advance(*s);
        std::erase_if(running, [](const Slot* s) { return s->commission.done(); });
    }
    std::vector<fleet::GatewayOutcome> outcomes;
    for (const auto& s : slots_)
        outcomes.push_back(s.commission.outcome());
    return outcomes;
}

} // namespace vantor::blocking
