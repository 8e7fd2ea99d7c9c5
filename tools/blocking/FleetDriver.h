#pragma once
// Commissions a fleet of gateways on one thread: up to `parallel` gateways
// at a time, each running its exchanges on its own socket (one
// BlockingDriver per running exchange), all of them waited for in one
// poll() (pollOnce). A gateway that is silent, refuses, resets or answers
// garbage ends alone with its reason; the others go on.
#include "BlockingDriver.h"
#include "fleet/GatewayCommission.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace vantor::blocking {

class FleetDriver {
public:
    FleetDriver(std::vector<fleet::PreparedGateway> gateways, fleet::CommissionSettings settings,
                int parallel);

    // A gateway's stage has changed (it started, moved on or ended).
    std::function<void(const fleet::GatewayCommission&)> onChange;

    // Runs every gateway to its end; the outcomes in plan order.
    std::vector<fleet::GatewayOutcome> run();

    int64_t elapsedMs() const;

private:
    struct Slot {
        fleet::GatewayCommission commission;
        std::unique_ptr<BlockingDriver> driver;
        std::string shown; // the stage text last reported
    };
    // Gives the slot's current exchange a driver and starts it.
    void attach(Slot& slot);
    // Moves the slot on as far as it can go now.
    void advance(Slot& slot);

    std::vector<Slot> slots_;
    int parallel_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace vantor::blocking
