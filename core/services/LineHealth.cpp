#include "services/LineHealth.h"

#include "editing/LineBudget.h"
#include "services/SlaveStateExchange.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/ConfigurationImage.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace vantor::services {

namespace {

std::string lineName(int port) {
    return "COM" + std::to_string(port);
}

// Each class in the order of HealthClass: its key, its text, its colour,
// and its rank for ties in the worst-first list (the least working first).
struct ClassInfo {
    const char* key;
    const char* text;
    Rgb colour;
    int severity;
};
constexpr ClassInfo kClasses[] = {
    {"online", VT_TEXT("在线"), {46, 160, 67}, 3},
    {"timeout", VT_TEXT("超时"), {220, 50, 47}, 1},
    {"stopped", VT_TEXT("已停止"), {150, 150, 150}, 2},
    {"silent", VT_TEXT("从未应答"), {128, 16, 16}, 0},
};

const ClassInfo& infoOf(HealthClass c) {
    return kClasses[static_cast<std::size_t>(c)];
}

bool stoppedBy(const std::optional<uint16_t>& control) {
    return control && (*control & 0x1) == 0;
}

} // namespace

const char* healthClassKey(HealthClass c) {
    return infoOf(c).key;
}

const char* healthClassText(HealthClass c) {
    return infoOf(c).text;
}

Rgb healthClassColour(HealthClass c) {
    return infoOf(c).colour;
}

std::optional<double> failureRateOf(const CycleCounts& c) {
    const unsigned all = c.successes + c.failures;
    if (all == 0)
        return std::nullopt;
    return static_cast<double>(c.failures) / all;
}

std::vector<SlaveSample> samplesOf(const SlaveStateExchange& exchange) {
    std::vector<SlaveSample> out;
    for (int port = 1; port <= exchange.portCount(); ++port) {
        const PortSlaves& s = exchange.slaves(port);
        for (std::size_t j = 0; j < s.addresses.size(); ++j) {
            SlaveSample sample{port, s.addresses[j], s.states[j], std::nullopt};
            if (j < s.controls.size())
                sample.control = s.controls[j];
            out.push_back(sample);
        }
    }
    return out;
}

LineHealth::LineHealth(bool statusLayout, std::size_t windowCycles)
    : statusLayout_(statusLayout), window_(std::max<std::size_t>(windowCycles, 1)) {}

SlaveHealth& LineHealth::slaveAt(int port, int address) {
    auto at = std::lower_bound(slaves_.begin(), slaves_.end(), std::pair{port, address},
                               [](const SlaveHealth& s, const std::pair<int, int>& key) {
                                   return std::pair{s.port, s.address} < key;
                               });
    if (at != slaves_.end() && at->port == port && at->address == address)
        return *at;
    const auto index = at - slaves_.begin();
    SlaveHealth fresh;
    fresh.port = port;
    fresh.address = address;
    fresh.sinceMs = nowMs_;
    tracking_.insert(tracking_.begin() + index, Tracking{});
    return *slaves_.insert(at, std::move(fresh));
}

const SlaveHealth* LineHealth::find(int port, int address) const {
    for (const auto& s : slaves_)
        if (s.port == port && s.address == address)
            return &s;
    return nullptr;
}

SlaveHealth* LineHealth::findMutable(int port, int address) {
    return const_cast<SlaveHealth*>(std::as_const(*this).find(port, address));
}

void LineHealth::setProject(const model::CVantorDoc& doc) {
    project_ = doc;
    for (const auto& slave : doc.slaves) {
        const int port = transfer::portNumber(slave.com_name) + 1;
        if (port < 1 || slave.address < 1 || slave.address > model::kSlavesPerPort)
            continue;
        SlaveHealth& s = slaveAt(port, slave.address);
        s.inProject = true;
        s.name = slave.name;
    }
    updateShares();
}

void LineHealth::addCycle(int64_t nowMs, const std::vector<SlaveSample>& samples) {
    nowMs_ = nowMs;
    ++cycles_;
    std::map<std::pair<int, int>, const SlaveSample*> byKey;
    for (const auto& sample : samples) {
        byKey[{sample.port, sample.address}] = &sample;
        slaveAt(sample.port, sample.address);
    }
    for (std::size_t i = 0; i < slaves_.size(); ++i) {
        SlaveHealth& s = slaves_[i];
        auto it = byKey.find({s.port, s.address});
        observe(s, it == byKey.end() ? nullptr : it->second);
    }
    updateShares();
}

void LineHealth::observe(SlaveHealth& s, const SlaveSample* sample) {
    Tracking& track = tracking_[static_cast<std::size_t>(&s - slaves_.data())];
    auto& last = track.last;
    CycleCounts delta;
    bool answering = false;
    s.reported = sample != nullptr;
    if (sample) {
        const StateWordFields f = readStateWord(statusLayout_, sample->state);
        s.state = sample->state;
        s.control = sample->control;
        answering = f.answering;
        if (last) {
            const unsigned successSpan = successCounterSpan(statusLayout_);
            const unsigned failureSpan = failureCounterMax(statusLayout_) + 1;
            delta.successes = (f.successes + successSpan - last->successes) % successSpan;
            // A wrap of the failure field sets its overflow bit; a drop
            // without it, or with the bit going clear, is a clear.
            const bool cleared =
                (last->overflowed && !f.overflowed) || (f.failures < last->failures && !f.overflowed);
            delta.failures = cleared ? f.failures : (f.failures + failureSpan - last->failures) % failureSpan;
        } else if (answering && !stoppedBy(sample->control)) {
            s.lastSuccessMs = nowMs_; // its last exchange, at most a cycle ago, was answered
        }
        last = Counters{f.successes, f.failures, f.overflowed};
        if (answering || f.successes != 0)
            s.everAnswered = true;
    } else {
        last.reset(); // a slave that comes back starts its counting afresh
    }
    if (delta.successes > 0) {
        s.lastSuccessMs = nowMs_;
        s.everAnswered = true;
    }
    s.history.push_back(delta);
    s.windowTotal.successes += delta.successes;
    s.windowTotal.failures += delta.failures;
    while (s.history.size() > window_) {
        s.windowTotal.successes -= s.history.front().successes;
        s.windowTotal.failures -= s.history.front().failures;
        s.history.pop_front();
    }

    HealthClass now = HealthClass::Silent;
    if (sample && stoppedBy(s.control))
        now = HealthClass::Stopped;
    else if (answering)
        now = HealthClass::Online;
    else if (s.everAnswered)
        now = HealthClass::Timeout;
    if (now != s.health || !track.observed)
        s.sinceMs = nowMs_;
    track.observed = true;
    s.health = now;
}

void LineHealth::updateShares() {
    if (!project_)
        return;
    std::set<std::pair<std::string, int>> dead;
    for (const auto& s : slaves_)
        if (s.health == HealthClass::Timeout || s.health == HealthClass::Silent)
            dead.insert({lineName(s.port), s.address});
    for (const auto& b : editing::lineBudgets(*project_, editing::kDefaultCycleThresholdMs, dead)) {
        const int port = transfer::portNumber(b.line) + 1;
        if (port < 1)
            continue;
        // Stopped slaves are not polled: they cost the line nothing.
        double cycle = 0;
        std::vector<std::pair<SlaveHealth*, double>> costs;
        for (const auto& cost : b.slaves) {
            if (cost.address < 1 || cost.address > model::kSlavesPerPort)
                continue;
            SlaveHealth* s = findMutable(port, cost.address);
            if (!s)
                continue;
            const double ms = s->health == HealthClass::Stopped ? 0 : cost.ms;
            costs.emplace_back(s, ms);
            cycle += ms;
        }
        for (auto [s, ms] : costs)
            s->budgetShare = cycle > 0 ? ms / cycle : 0;
    }
}

std::vector<int> LineHealth::ports() const {
    std::vector<int> out;
    for (const auto& s : slaves_)
        if (out.empty() || out.back() != s.port)
            out.push_back(s.port);
    return out;
}

LineSummary LineHealth::line(int port) const {
    LineSummary out;
    out.port = port;
    for (const auto& s : slaves_) {
        if (s.port != port)
            continue;
        if (s.history.size() > out.history.size())
            out.history.insert(out.history.begin(), s.history.size() - out.history.size(), CycleCounts{});
        // Aligned at the newest cycle: a slave seen later has fewer entries.
        const std::size_t offset = out.history.size() - s.history.size();
        for (std::size_t k = 0; k < s.history.size(); ++k) {
            out.history[offset + k].successes += s.history[k].successes;
            out.history[offset + k].failures += s.history[k].failures;
        }
    }
    for (const auto& c : out.history) {
        out.total.successes += c.successes;
        out.total.failures += c.failures;
    }
    out.failureRate = failureRateOf(out.total);
    return out;
}

std::vector<const SlaveHealth*> LineHealth::worstFirst() const {
    std::vector<const SlaveHealth*> out;
    for (const auto& s : slaves_)
        out.push_back(&s);
    auto key = [](const SlaveHealth* s) {
        const auto rate = s->failureRate();
        return std::make_tuple(rate ? -*rate : 1.0, infoOf(s->health).severity, -s->budgetShare, s->port,
                               s->address);
    };
    std::stable_sort(out.begin(), out.end(),
                     [&](const SlaveHealth* a, const SlaveHealth* b) { return key(a) < key(b); });
    return out;
}

const std::array<std::string, 7>& healthListTitles() {
    static const std::array<std::string, 7> titles{"COM",
                                                   VT_TEXT("从站地址"),
                                                   VT_TEXT("名称"),
                                                   VT_TEXT("状态"),
                                                   VT_TEXT("失败率"),
                                                   VT_TEXT("最后成功"),
                                                   VT_TEXT("周期占比")};
    return titles;
}

std::string failureRateText(std::optional<double> rate) {
    return rate ? text::format("%.1f%%", *rate * 100) : "-";
}

std::string durationText(int64_t ms) {
    const long long seconds = std::max<int64_t>(0, ms) / 1000;
    if (seconds < 60)
        return text::shownFormat(VT_TEXT("%lld 秒"), seconds);
    return text::shownFormat(VT_TEXT("%lld 分 %lld 秒"), seconds / 60, seconds % 60);
}

std::string agoText(std::optional<int64_t> atMs, int64_t nowMs) {
    if (!atMs)
        return text::shown(VT_TEXT("从未"));
    if (nowMs - *atMs < 1000)
        return text::shown(VT_TEXT("刚刚"));
    return text::shownFormat(VT_TEXT("%s前"), durationText(nowMs - *atMs).c_str());
}

std::array<std::string, 7> healthListRow(const SlaveHealth& s, int64_t nowMs) {
    return {lineName(s.port),
            std::to_string(s.address),
            s.name,
            text::shown(healthClassText(s.health)),
            failureRateText(s.failureRate()),
            agoText(s.lastSuccessMs, nowMs),
            text::format("%.0f%%", s.budgetShare * 100)};
}

namespace {

// "COM2 从站 5 Pump": the slave as the tooltip and the trend name it.
std::string slaveCaption(const SlaveHealth& s) {
    std::string out = text::shownFormat(VT_TEXT("%s 从站 %d"), lineName(s.port).c_str(), s.address);
    if (!s.name.empty())
        out += " " + s.name;
    return out;
}

} // namespace

std::string healthTooltip(const SlaveHealth& s, int64_t nowMs) {
    std::string out =
        slaveCaption(s) + "\n" +
        text::shownFormat(VT_TEXT("%s（已持续 %s）"), text::shown(healthClassText(s.health)).c_str(),
                          durationText(nowMs - s.sinceMs).c_str());
    if (s.reported)
        out += "\n" + text::shownFormat(VT_TEXT("状态字 0x%04X"), static_cast<unsigned>(s.state));
    else
        out += "\n" + text::shown(VT_TEXT("网关未列出此从站"));
    return out;
}

std::string slaveTrendTitle(const SlaveHealth& s) {
    return slaveCaption(s) +
           text::shownFormat(VT_TEXT("  失败率 %s"), failureRateText(s.failureRate()).c_str());
}

std::string lineTrendTitle(const LineSummary& line) {
    return text::shownFormat(VT_TEXT("%s 合计  失败率 %s"), lineName(line.port).c_str(),
                             failureRateText(line.failureRate).c_str());
}

std::string trendLegend(std::size_t windowCycles) {
    return text::shownFormat(VT_TEXT("最近 %zu 个轮询周期：成功向上，失败向下"), windowCycles);
}

} // namespace vantor::services
