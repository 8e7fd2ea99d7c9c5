// The fault matrix: every device exchange of the three programs against the
// simulated gateway with every fault class. Each cell runs the exchange on a
// fake clock once per request it can hit (and per cut position, status
// value) and checks that the run ends, that a failure is said with one of
// the exchange's own texts (the exact one where the class has one) no later
// than its timeout plus 100 ms after the fault, that no success is reported
// after a failure, and that files the exchange keeps are untouched by a
// failed run. Received bytes are handed over in buffers of their exact size,
// so the sanitizer build catches any read past them.
//
// scripts/fault-matrix.sh prints the outcome as the table of
// docs/reliability.md.
#include "FaultRun.h"

#include "load/LoadExchange.h"
#include "model/CVantorDoc.h"
#include "net/NetDownloadExchange.h"
#include "net/NetIpSetExchange.h"
#include "services/ControlWordExchange.h"
#include "services/DeviceInfoExchange.h"
#include "services/FirmwareExchange.h"
#include "services/NetworkParamsExchange.h"
#include "services/SlaveStateExchange.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadExchange.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace vantor::faults {
namespace {

const std::string kHost = "10.0.0.7";

std::string vantorConnect(int port, const char* what) {
    return "连接" + kHost + ":" + std::to_string(port) + what + ",请检查设备的网络参数和网络连接";
}

// A working directory with the address files, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-faults-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        std::filesystem::create_directories(path / "IP");
        std::ofstream(path / "IP" / "ip.txt", std::ios::binary) << kHost;
        std::ofstream(path / "IP" / "port.txt", std::ios::binary) << "502";
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string files() const {
        std::string all;
        for (const char* name : {"ip.txt", "port.txt"}) {
            std::ifstream in(path / "IP" / name, std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            all += std::string(name) + "=" + ss.str() + ";";
        }
        return all;
    }
    std::filesystem::path path;
};

template <typename E> struct Plain : Rig {
    template <typename... A> explicit Plain(A&&... a) : ex(std::forward<A>(a)...) {}
    Exchange& exchange() override { return ex; }
    E ex;
};

struct NetworkParamsRig : Rig {
    NetworkParamsRig() {
        model::CMaster m;
        m.masterName = "KX-P2R0-1.0";
        doc.masters.push_back(m);
        doc.IP = kHost;
    }
    Exchange& exchange() override { return ex; }
    void begin() override {
        RecordingSink sink;
        ex.download({"192.168.1.20", "255.255.255.0", "192.168.1.1", "502"}, sink);
    }
    model::CVantorDoc doc;
    services::NetworkParamsExchange ex{doc};
};

struct SlaveStateRig : Plain<services::SlaveStateExchange> {
    SlaveStateRig() : Plain("KX-P1R0-1.0", services::SlaveStateSettings{kHost}) {}
    bool succeeded() override { return ex.cycles() >= 2; }
};

struct NetDownloadRig : Plain<net::NetDownloadExchange> {
    NetDownloadRig()
        : Plain("KX-P1-1.0", 0, net::NetImages{Bytes(20, 0x11), Bytes(300, 0x22)},
                net::NetDownloadSettings{kHost, 5032}) {}
    void begin() override { ex.pressDownload(); }
};

struct IpSetRig : Rig {
    IpSetRig() : ex(dir.path.string()) {
        net::IpSetFields f;
        f.connectIp = kHost;
        ex.setFields(f);
    }
    Exchange& exchange() override { return ex; }
    void open() override {
        ex.start();
        ex.pressConnect();
    }
    void begin() override { ex.pressDownload(); }
    std::string files() const override { return dir.files(); }
    ScratchDir dir;
    net::NetIpSetExchange ex;
};

struct LoadRig : Rig {
    explicit LoadRig(bool rtu) : rtu(rtu), ex(dir.path.string()) {}
    Exchange& exchange() override { return ex; }
    void open() override {
        ex.start();
        ex.pressConnect();
    }
    void begin() override { rtu ? ex.pressRtu() : ex.pressIp(); }
    bool succeeded() override { return ex.outcome() == load::Outcome::Done; }
    std::string files() const override { return dir.files(); }
    bool rtu;
    ScratchDir dir;
    load::LoadExchange ex;
};

// One row of the matrix.
struct Subject {
    const char* name;
    Peer peer;
    int timeoutMs; // the longest wait for an awaited reply (or the run that stands for it)
    int pauseMs;   // the pause before acting on a reply (a run's tick); 0: none
    std::string refusedText;
    std::string connectTimeoutText;
    std::string noReplyText;
    std::vector<std::string> failureTexts; // every failure text starts with one of these
    // The message of a refused acknowledgement of this command, where the
    // exchange has one.
    std::function<std::optional<std::string>(uint8_t command, uint8_t status)> statusText;
    std::size_t unawaitedTail; // trailing requests nobody waits for (the restart)
    std::size_t maxTargets;    // requests to hit (0: every awaited one)
    std::function<std::unique_ptr<Rig>()> make;
};

std::optional<std::string> downloadStatus(uint8_t command, uint8_t status) {
    if (command == transfer::command::kRtuConfig || command == transfer::command::kFieldbusConfig ||
        command == transfer::command::kEipConfig)
        return std::string("下 载 失 败！") + std::to_string(status);
    return std::nullopt;
}

transfer::DownloadSettings downloadSettings() {
    transfer::DownloadSettings d;
    d.host = kHost;
    return d;
}

template <typename S> S withHost() {
    S s;
    s.host = kHost;
    return s;
}

transfer::ConfigurationBlocks blocks(bool eip) {
    transfer::ConfigurationBlocks b;
    b.rtu = Bytes(40, 0x11);
    b.fieldbus = Bytes(300, 0x22);
    b.hasEip = eip;
    if (eip)
        b.eip = Bytes(260, 0x33);
    return b;
}

const std::vector<Subject>& subjects() {
    static const std::vector<Subject> all = [] {
        using namespace services;
        std::vector<Subject> s;
        const std::vector<std::string> vantorConnectTexts = {vantorConnect(5032, "失败"),
                                                             vantorConnect(5032, "超时")};
        auto with = [](std::vector<std::string> a, std::vector<std::string> b) {
            a.insert(a.end(), b.begin(), b.end());
            return a;
        };
        s.push_back(
            {"download",
             {"KX-P2R0-1.0", false, 0, {transfer::DownloadExchange::kDone}},
             transfer::kDefaultReplyTimeoutMs,
             transfer::kDefaultPaceMs,
             vantorConnect(5032, "失败"),
             vantorConnect(5032, "超时"),
             "下 载 失 败！ 应答超时",
             with(vantorConnectTexts, {"下 载 失 败！", "设备型号不匹配", "设备版本错误", "发送失败"}),
             downloadStatus,
             1,
             0,
             [] {
                 return std::make_unique<Plain<transfer::DownloadExchange>>("KX-P2R0-1.0", blocks(false),
                                                                            downloadSettings());
             }});
        s.push_back({"download_eip",
                     {"TRX-H-QMB6", false, 0, {transfer::DownloadExchange::kDone}},
                     transfer::kDefaultReplyTimeoutMs,
                     transfer::kDefaultPaceMs,
                     vantorConnect(60000, "失败"),
                     vantorConnect(60000, "超时"),
                     "下 载 失 败！ 应答超时",
                     {vantorConnect(60000, "失败"), vantorConnect(60000, "超时"), "下 载 失 败！",
                      "设备型号不匹配", "设备版本错误", "发送失败"},
                     downloadStatus,
                     1,
                     0,
                     [] {
                         return std::make_unique<Plain<transfer::DownloadExchange>>(
                             "TRX-H-QMB6", blocks(true), downloadSettings());
                     }});
        s.push_back({"network_params",
                     {"KX-P2R0-1.0", false, 0, {NetworkParamsExchange::kDone}},
                     (kLastPosition + 2) * kRunTickMs,
                     kRunTickMs,
                     vantorConnect(5032, "失败"),
                     vantorConnect(5032, "超时"),
                     NetworkParamsExchange::kFailed,
                     with(vantorConnectTexts, {NetworkParamsExchange::kFailed, "发送失败"}),
                     [](uint8_t c, uint8_t) -> std::optional<std::string> {
                         if (c == transfer::command::kNetworkParams)
                             return NetworkParamsExchange::kFailed;
                         return std::nullopt;
                     },
                     1,
                     0,
                     [] { return std::make_unique<NetworkParamsRig>(); }});
        const std::vector<std::string> modbusConnect = {
            "连接" + kHost + ":502失败,请检查设备的网络参数和网络连接",
            "连接" + kHost + ":502超时,请检查设备的网络参数和网络连接"};
        s.push_back({"slave_state",
                     {"KX-P1R0-1.0", true, 0, {}},
                     kStateReplyTimeoutMs,
                     kPollPeriodMs,
                     modbusConnect[0],
                     modbusConnect[1],
                     SlaveStateExchange::kNoReply,
                     with(modbusConnect, {SlaveStateExchange::kNoReply, SlaveStateExchange::kModelMismatch,
                                          SlaveStateExchange::kShortReply, "发送失败"}),
                     nullptr,
                     0,
                     4,
                     [] { return std::make_unique<SlaveStateRig>(); }});
        s.push_back({"control_word",
                     {"KX-P2R0-1.0", true, 0, {ControlWordExchange::kDone}},
                     kControlReplyTimeoutMs,
                     0,
                     modbusConnect[0],
                     modbusConnect[1],
                     ControlWordExchange::kNoReply,
                     with(modbusConnect, {ControlWordExchange::kRefused, ControlWordExchange::kNoReply,
                                          ControlWordExchange::kShortReply, "发送失败"}),
                     nullptr,
                     0,
                     0,
                     [] {
                         return std::make_unique<Plain<ControlWordExchange>>(42261, uint16_t{0x00FF},
                                                                             ControlWordSettings{kHost});
                     }});
        s.push_back({"firmware",
                     {"KX-P2R0-1.0", false, 52, {FirmwareExchange::kDone}},
                     kFirmwareReplyTimeoutMs,
                     0,
                     vantorConnect(5032, "失败"),
                     vantorConnect(5032, "超时"),
                     FirmwareExchange::kNoReply,
                     with(vantorConnectTexts,
                          {FirmwareExchange::kModelMismatch, FirmwareExchange::kShortIdentification,
                           FirmwareExchange::kShortBlockReply, FirmwareExchange::kNoReply,
                           "固件升级失败,错误码", "发送失败"}),
                     nullptr,
                     0,
                     0,
                     [] {
                         Bytes file(32 + 500);
                         for (std::size_t i = 0; i < file.size(); ++i)
                             file[i] = static_cast<uint8_t>(i * 13 + 5);
                         return std::make_unique<Plain<FirmwareExchange>>("KX-P2R0-1.0", file,
                                                                          withHost<FirmwareSettings>());
                     }});
        s.push_back(
            {"device_info",
             {"KX-P2R0-1.0", false, 52, {}},
             kInfoReplyTimeoutMs,
             0,
             vantorConnect(5032, "失败"),
             vantorConnect(5032, "超时"),
             DeviceInfoExchange::kNoReply,
             with(vantorConnectTexts, {DeviceInfoExchange::kNoReply, DeviceInfoExchange::kShortIdentification,
                                       DeviceInfoExchange::kShortSerial, "设备型号不匹配", "发送失败"}),
             nullptr,
             0,
             0,
             [] {
                 return std::make_unique<Plain<DeviceInfoExchange>>("KX-P2R0-1.0",
                                                                    withHost<DeviceInfoSettings>());
             }});
        s.push_back({"net_download",
                     {"KX-P1-1.0", false, 0, {net::kNetDone}},
                     net::kNetReplyTimeoutMs,
                     net::kNetPaceMs,
                     net::kNetConnectFailed,
                     net::kNetConnectFailed,
                     std::string(net::kNetFailed) + net::kNetTimeout,
                     {net::kNetConnectFailed, net::kNetFailed, "发送失败"},
                     downloadStatus,
                     1,
                     0,
                     [] { return std::make_unique<NetDownloadRig>(); }});
        s.push_back({"net_ip_settings",
                     {"KX-P1-1.0", false, 0, {net::kNetDone}},
                     (net::kLastTickPosition + 2) * net::kIpSetTickMs,
                     net::kIpSetTickMs,
                     net::kIpSetConnectFailed,
                     net::kIpSetConnectFailed,
                     net::kNetFailed,
                     {net::kIpSetConnectFailed, net::kNetFailed, "发送失败"},
                     [](uint8_t c, uint8_t) -> std::optional<std::string> {
                         if (c == transfer::command::kNetworkParams)
                             return std::string(net::kNetFailed);
                         return std::nullopt;
                     },
                     1,
                     0,
                     [] { return std::make_unique<IpSetRig>(); }});
        const std::vector<std::string> loadFailures = {load::kConnectFailed, load::kFailed, "发送失败"};
        s.push_back({"load_rtu",
                     {"NXE-485-ZRTU2", false, 0, {load::kDone}},
                     load::kReplyTimeoutMs,
                     load::kTickMs,
                     load::kConnectFailed,
                     load::kConnectFailed,
                     load::kFailed,
                     loadFailures,
                     [](uint8_t c, uint8_t) -> std::optional<std::string> {
                         if (c == transfer::command::kFieldbusConfig)
                             return std::string(load::kFailed);
                         return std::nullopt;
                     },
                     1,
                     0,
                     [] { return std::make_unique<LoadRig>(true); }});
        s.push_back({"load_ip",
                     {"NXE-485-ZRTU2", false, 0, {load::kDone}},
                     load::kReplyTimeoutMs,
                     load::kTickMs,
                     load::kConnectFailed,
                     load::kConnectFailed,
                     load::kFailed,
                     loadFailures,
                     nullptr, // any answer to the network settings counts as taken
                     1,
                     0,
                     [] { return std::make_unique<LoadRig>(false); }});
        return s;
    }();
    return all;
}

struct FaultInfo {
    Fault fault;
    const char* name;
    bool perTarget;
};

const std::vector<FaultInfo>& faults() {
    static const std::vector<FaultInfo> all = {
        {Fault::Plain, "plain", false},
        {Fault::Refused, "refused", false},
        {Fault::ConnectUnder, "connect_under", false},
        {Fault::ConnectOver, "connect_over", false},
        {Fault::Silence, "silence", false},
        {Fault::NoReply, "no_reply", true},
        {Fault::DelayUnder, "delay_under", true},
        {Fault::DelayOver, "delay_over", true},
        {Fault::Split, "split", true},
        {Fault::Truncated, "truncated", true},
        {Fault::OverLong, "over_long", true},
        {Fault::Length0, "length_0", true},
        {Fault::Length1, "length_1", true},
        {Fault::Length255, "length_255", true},
        {Fault::Length65535, "length_65535", true},
        {Fault::WrongTransaction, "wrong_transaction", true},
        {Fault::WrongUnit, "wrong_unit", true},
        {Fault::WrongFunction, "wrong_function", true},
        {Fault::Exception, "exception", true},
        {Fault::Status, "status", true},
        {Fault::ResetBefore, "reset_before", true},
        {Fault::ResetAfter, "reset_after", true},
        {Fault::CloseInPause, "close_in_pause", true},
        {Fault::SendFailed, "send_failed", true},
        {Fault::Chatter, "chatter", true},
    };
    return all;
}

// Runs made by the current cell, for the table.
std::size_t runsMade = 0;

RunResult run(const Subject& s, const RunPlan& plan) {
    ++runsMade;
    auto rig = s.make();
    return runFault(*rig, s.peer, plan);
}

// The run without a fault, once per subject: which requests there are and
// what the gateway answers to each.
const RunResult& plainRun(const Subject& s) {
    static std::map<std::string, RunResult> cache;
    auto it = cache.find(s.name);
    if (it == cache.end())
        it = cache.emplace(s.name, run(s, RunPlan{})).first;
    return it->second;
}

std::size_t targetCount(const Subject& s) {
    const auto& plain = plainRun(s);
    std::size_t n = plain.sent.size() > s.unawaitedTail ? plain.sent.size() - s.unawaitedTail : 0;
    if (s.maxTargets)
        n = std::min(n, s.maxTargets);
    return n;
}

enum class Expect { Success, Fails, FailsWith, Either };

struct Expectation {
    Expect kind = Expect::Either;
    std::string text; // FailsWith: the first failure's exact text
};

std::string describeRun(const RunPlan& plan, const RunResult& r) {
    std::string s = "target " + std::to_string(plan.target) + ", param " + std::to_string(plan.param) +
                    ", delay " + std::to_string(plan.delayMs) + "\nreports:";
    for (const auto& rep : r.reports)
        s += " [" + std::to_string(rep.at) + " ms " + (rep.success ? "ok " : "failed ") + rep.text + "]";
    return s + "\ntrace:\n" + r.trace;
}

bool knownFailure(const Subject& s, const std::string& text) {
    if (text.empty())
        return false;
    for (const auto& known : s.failureTexts)
        if (text.rfind(known, 0) == 0)
            return true;
    return false;
}

// The checks every run must pass, and the class's own expectation.
void checkRun(const Subject& s, const RunPlan& plan, const RunResult& r, const Expectation& e) {
    const std::string where = describeRun(plan, r);
    ASSERT_TRUE(r.connectAsked) << where;
    ASSERT_TRUE(r.settled) << "the exchange never ended nor said anything\n" << where;
    for (const auto& rep : r.reports) {
        if (!rep.success) {
            EXPECT_TRUE(knownFailure(s, rep.text)) << "unclear failure text \"" << rep.text << "\"\n"
                                                   << where;
        }
    }
    EXPECT_FALSE(r.successAfterFailure()) << "success reported after a failure\n" << where;
    if (auto f = r.firstFailure()) {
        const int64_t from = std::max<int64_t>(r.faultAt, 0);
        const bool connectFault = plan.fault == Fault::Refused || plan.fault == Fault::ConnectOver;
        const int64_t wait = connectFault ? transfer::kConnectTimeoutMs : s.timeoutMs + s.pauseMs;
        EXPECT_LE(f->at, from + wait + 100) << "failure reported late\n" << where;
        EXPECT_EQ(r.filesAfter, r.filesBefore) << "files changed by a failed run\n" << where;
    }
    switch (e.kind) {
    case Expect::Success:
        EXPECT_TRUE(r.succeeded()) << "expected success\n" << where;
        break;
    case Expect::Fails:
        EXPECT_TRUE(r.failed()) << "expected a failure\n" << where;
        break;
    case Expect::FailsWith: {
        auto f = r.firstFailure();
        ASSERT_TRUE(f.has_value()) << "expected \"" << e.text << "\"\n" << where;
        EXPECT_EQ(f->text, e.text) << where;
        break;
    }
    case Expect::Either:
        break;
    }
}

uint8_t commandOf(const Bytes& request) {
    return request.empty() ? 0 : request[0];
}

// Runs one cell; returns false when the class does not apply to the row.
bool runCell(const Subject& s, const FaultInfo& fi) {
    const bool modbus = s.peer.modbus;
    const Expectation noReply{Expect::FailsWith, s.noReplyText};
    if (!fi.perTarget) {
        RunPlan plan{fi.fault};
        Expectation e;
        switch (fi.fault) {
        case Fault::Plain:
        case Fault::ConnectUnder:
            e = {Expect::Success, {}};
            break;
        case Fault::Refused:
            e = {Expect::FailsWith, s.refusedText};
            break;
        case Fault::ConnectOver:
            e = {Expect::FailsWith, s.connectTimeoutText};
            break;
        default:
            e = noReply;
            break;
        }
        checkRun(s, plan, run(s, plan), e);
        return true;
    }
    switch (fi.fault) {
    case Fault::WrongTransaction:
    case Fault::WrongUnit:
    case Fault::Exception:
        if (!modbus)
            return false;
        break;
    case Fault::Status:
        if (modbus)
            return false;
        break;
    case Fault::CloseInPause:
        if (s.pauseMs == 0)
            return false;
        break;
    default:
        break;
    }
    const auto& plain = plainRun(s);
    const std::size_t targets = targetCount(s);
    EXPECT_GT(targets, 0u) << "the plain run sent nothing\n" << plain.trace;
    bool applied = false;
    for (std::size_t k = 0; k < targets; ++k) {
        const Bytes answer = k < plain.answers.size() ? plain.answers[k] : Bytes{};
        const bool last = k + 1 == targets;
        RunPlan plan{fi.fault, k};
        plan.pauseMs = s.pauseMs;
        auto one = [&](const RunPlan& pl, const Expectation& e) {
            auto r = run(s, pl);
            if (notApplied(r))
                return;
            applied = true;
            checkRun(s, pl, r, e);
        };
        switch (fi.fault) {
        case Fault::NoReply:
            one(plan, noReply);
            break;
        case Fault::DelayUnder:
        case Fault::DelayOver: {
            // The wait for this reply, as the exchange keeps it: the time
            // from the request to the report of its absence.
            RunPlan probe{Fault::NoReply, k};
            auto silent = run(s, probe);
            auto f = silent.firstFailure();
            if (!f || silent.faultAt < 0)
                break;
            const int64_t wait = f->at - silent.faultAt;
            EXPECT_LE(wait, s.timeoutMs + s.pauseMs + 100) << describeRun(probe, silent);
            plan.delayMs = fi.fault == Fault::DelayUnder ? wait - 1 : wait + 1;
            one(plan, fi.fault == Fault::DelayUnder ? Expectation{Expect::Success, {}} : noReply);
            break;
        }
        case Fault::Split:
            for (std::size_t p = 1; p < answer.size(); ++p) {
                plan.param = p;
                one(plan, modbus ? Expectation{Expect::Success, {}} : Expectation{});
            }
            break;
        case Fault::Truncated:
            for (std::size_t n = 1; n < answer.size(); ++n) {
                plan.param = n;
                one(plan, modbus ? noReply : Expectation{});
            }
            break;
        case Fault::OverLong:
        case Fault::Length0:
        case Fault::Length1:
        case Fault::Length255:
        case Fault::Length65535:
            // A MODBUS TCP frame whose announced length does not match what
            // arrives is never taken as the reply.
            one(plan, modbus ? noReply : Expectation{});
            break;
        case Fault::Status:
            for (uint8_t status : {uint8_t{1}, uint8_t{0x80}, uint8_t{0xFF}}) {
                plan.param = status;
                Expectation e;
                if (s.statusText && k < plain.sent.size()) {
                    if (auto t = s.statusText(commandOf(plain.sent[k]), status))
                        e = {Expect::FailsWith, *t};
                }
                one(plan, e);
            }
            break;
        case Fault::ResetBefore:
            one(plan, {Expect::Fails, {}});
            break;
        case Fault::ResetAfter:
        case Fault::CloseInPause:
            one(plan, last ? Expectation{} : Expectation{Expect::Fails, {}});
            break;
        case Fault::SendFailed:
            one(plan, {Expect::FailsWith, Exchange::kSendFailed});
            break;
        case Fault::Chatter:
            // Frames that answer nothing never stand for the reply nor
            // prolong the wait for it: the unanswered request ends in the
            // no-reply text within its timeout ...
            one(plan, noReply);
            if (k == 0) {
                // ... and with every reply late enough for a frame to fall
                // while it is awaited, the exchange still succeeds.
                RunPlan late{Fault::Chatter};
                late.delayMs = kChatterMs + kChatterMs / 5;
                one(late, {Expect::Success, {}});
            }
            break;
        default:
            one(plan, {});
            break;
        }
        if (::testing::Test::HasFatalFailure())
            return true;
    }
    if (fi.fault == Fault::DelayUnder || fi.fault == Fault::DelayOver || fi.fault == Fault::NoReply ||
        fi.fault == Fault::ResetBefore || fi.fault == Fault::SendFailed || fi.fault == Fault::Chatter)
        return true;
    return applied;
}

class FaultCell : public ::testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {};

TEST_P(FaultCell, EndsWithTheExchangesOwnWords) {
    const auto& s = subjects()[std::get<0>(GetParam())];
    const auto& f = faults()[std::get<1>(GetParam())];
    plainRun(s); // not counted: shared by the cells of the row
    runsMade = 0;
    const bool applies = runCell(s, f);
    std::printf("[ runs     ] %s__%s %zu\n", s.name, f.name, runsMade);
    if (!applies)
        GTEST_SKIP() << "not applicable to this framing";
}

INSTANTIATE_TEST_SUITE_P(Matrix, FaultCell,
                         ::testing::Combine(::testing::Range<std::size_t>(0, subjects().size()),
                                            ::testing::Range<std::size_t>(0, faults().size())),
                         [](const auto& info) {
                             return std::string(subjects()[std::get<0>(info.param)].name) + "__" +
                                    faults()[std::get<1>(info.param)].name;
                         });

} // namespace
} // namespace vantor::faults
