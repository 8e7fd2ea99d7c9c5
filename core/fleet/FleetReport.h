#pragma once
// The fleet's report ("批量下载报告"): one HTML page with the summary (how
// many gateways, how many succeeded and failed, the time the whole run
// took), the plan rows refused before anything was sent, one overview row
// per gateway, and then per gateway its project file and checksum, the
// blocks sent, the download's result, the time it took, the reason of a
// failure, and what the gateway answered (the commissioning report's device
// section: identity, version, serial number, state words). The page is a
// file: its texts stay as written in every language.
#include "fleet/FleetPlan.h"
#include "fleet/GatewayCommission.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::fleet {

struct FleetRun {
    std::string planName;
    std::string generatedAt; // passed in: the core reads no clock
    int64_t elapsedMs = 0;
    std::vector<PlanRefusal> refusals;
    std::vector<GatewayOutcome> gateways;

    int succeeded() const;
    int failed() const { return static_cast<int>(gateways.size()) - succeeded(); }
};

// "20: 120字节, 21: 3400字节".
std::string sentBlocksText(const std::vector<SentBlock>& sent);
// "12.3 s".
std::string secondsText(int64_t ms);
// "20个网关: 17个成功, 3个失败, 用时 25.1 s", as the report and the
// command-line tool write it.
std::string fleetSummaryText(const FleetRun& run);
// The same in the user's language, for the window.
std::string shownFleetSummaryText(const FleetRun& run);

std::string fleetReport(const FleetRun& run);

} // namespace vantor::fleet
