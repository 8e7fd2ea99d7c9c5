#pragma once
// Line health (通信诊断): what the slaves' state and control words say over
// time, fed one completed poll cycle at a time with the time it completed
// (passed in, never read here).
//
// Per slave it keeps a ring of the successes and failures of each poll
// cycle, taken as the differences of the counters in two successive state
// words: the success field wraps at 64 (status layout) or 128; the failure
// field wraps the same way, but sets its overflow bit when it does, so a
// failure count that drops while the overflow bit stays clear (or whose
// overflow bit goes clear) was cleared through the control word, and the
// count since is the new value. Counters are read once a cycle: more
// exchanges between two reads than a field holds cannot be told apart.
//
// Classes: stopped when bit 0 of the control word is clear (the gateway no
// longer polls the slave); online when the state word says the last
// exchange was answered; otherwise time-out, or never answered (silent)
// when no answer has been seen: no answering state word, no success count,
// no success counted since. A slave of the project that the gateway does not
// list (state word 0) is silent too.
//
// With the project the health also knows the slaves' names and each
// slave's share of its line's poll cycle (the serial-line budget, taking
// the slaves that time out or never answered as costing their reply
// timeout, and stopped slaves as costing nothing).
#include "model/CVantorDoc.h"
#include "services/DeviceInfo.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace vantor::services {

class SlaveStateExchange;

enum class HealthClass { Online, Timeout, Stopped, Silent };

// "online", "timeout", "stopped", "silent": the CLI's and JSON's names.
const char* healthClassKey(HealthClass c);
// "在线", "超时", "已停止", "从未应答".
const char* healthClassText(HealthClass c);
// The colour of a class in the health grid: green, red, grey, dark red.
Rgb healthClassColour(HealthClass c);

struct CycleCounts {
    unsigned successes = 0;
    unsigned failures = 0;
    bool operator==(const CycleCounts&) const = default;
};

// Failures over all exchanges of `counts`; nothing without any exchange.
std::optional<double> failureRateOf(const CycleCounts& counts);

// One configured slave as a poll cycle read it.
struct SlaveSample {
    int port = 0; // 1..6
    int address = 0;
    uint16_t state = 0;
    std::optional<uint16_t> control; // nothing until the control words came
};

// The configured slaves of the exchange's last completed cycle.
std::vector<SlaveSample> samplesOf(const SlaveStateExchange& exchange);

struct SlaveHealth {
    int port = 0;
    int address = 0;
    std::string name; // empty for a slave the project does not hold
    bool inProject = false;
    bool reported = false; // the gateway listed it in the last cycle
    uint16_t state = 0;
    std::optional<uint16_t> control;
    HealthClass health = HealthClass::Silent;
    int64_t sinceMs = 0; // when the present class began
    std::optional<int64_t> lastSuccessMs;
    bool everAnswered = false;
    // One entry per cycle since the slave was first seen (the first one,
    // with no earlier word to compare, counts nothing), newest last, at most
    // the window's length.
    std::deque<CycleCounts> history;
    CycleCounts windowTotal; // the sum of `history`, kept as it moves
    double budgetShare = 0;  // of its line's poll cycle, 0..1; 0 without the project

    CycleCounts total() const { return windowTotal; }
    std::optional<double> failureRate() const { return failureRateOf(total()); }
};

// A line's slaves summed per cycle (aligned at the newest cycle).
struct LineSummary {
    int port = 0;
    std::vector<CycleCounts> history; // newest last
    CycleCounts total;
    std::optional<double> failureRate;
};

class LineHealth {
public:
    // 300 one-second cycles: the last five minutes.
    static constexpr std::size_t kDefaultWindowCycles = 300;

    explicit LineHealth(bool statusLayout, std::size_t windowCycles = kDefaultWindowCycles);

    // The slaves of the project's lines (COM1..COM6), with their names, and
    // the budget their shares come from.
    void setProject(const model::CVantorDoc& doc);
    // One completed poll cycle at `nowMs`.
    void addCycle(int64_t nowMs, const std::vector<SlaveSample>& samples);

    int cycles() const { return cycles_; }
    int64_t nowMs() const { return nowMs_; }
    std::size_t windowCycles() const { return window_; }
    // By port, then address.
    const std::vector<SlaveHealth>& slaves() const { return slaves_; }
    const SlaveHealth* find(int port, int address) const;
    // The ports with at least one slave, ascending.
    std::vector<int> ports() const;
    LineSummary line(int port) const;
    // Highest failure rate first (slaves without exchanges in the window
    // last); equal rates by class (silent, time-out, stopped, online), then
    // by budget share, then by port and address.
    std::vector<const SlaveHealth*> worstFirst() const;

private:
    struct Counters {
        unsigned successes = 0;
        unsigned failures = 0;
        bool overflowed = false;
    };
    struct Tracking {
        std::optional<Counters> last; // the counters of the last word read
        bool observed = false;
    };
    SlaveHealth& slaveAt(int port, int address);
    SlaveHealth* findMutable(int port, int address);
    void observe(SlaveHealth& s, const SlaveSample* sample);
    void updateShares();

    bool statusLayout_;
    std::size_t window_;
    int cycles_ = 0;
    int64_t nowMs_ = 0;
    std::optional<model::CVantorDoc> project_;
    std::vector<SlaveHealth> slaves_;
    std::vector<Tracking> tracking_; // parallel to slaves_
};

// The worst-first list: column titles (marked, for the window to translate)
// and one row per slave. The texts below are composed for the window, in the
// user's language.
const std::array<std::string, 7>& healthListTitles();
std::array<std::string, 7> healthListRow(const SlaveHealth& s, int64_t nowMs);
// "12.5%", or "-" without exchanges.
std::string failureRateText(std::optional<double> rate);
// "12 秒", "3 分 5 秒" (whole seconds).
std::string durationText(int64_t ms);
// "刚刚" (within a second), "12 秒前", "3 分 5 秒前", or "从未" without a time.
std::string agoText(std::optional<int64_t> atMs, int64_t nowMs);
// A grid cell's tooltip: "COM1 从站 3 泵站\n超时（已持续 12 秒）\n状态字 0x8202"
// ("网关未列出此从站" in the last line when the gateway did not list it).
std::string healthTooltip(const SlaveHealth& s, int64_t nowMs);

// The trend charts' captions: "COM1 从站 3 泵站  失败率 12.5%",
// "COM1 合计  失败率 33.3%", and the legend "最近 300 个轮询周期：成功向上，失败向下".
std::string slaveTrendTitle(const SlaveHealth& s);
std::string lineTrendTitle(const LineSummary& line);
std::string trendLegend(std::size_t windowCycles);

} // namespace vantor::services
