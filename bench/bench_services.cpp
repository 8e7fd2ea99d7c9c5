// Device services against the simulated gateway on loopback: one full
// slave-state poll cycle of a six-port gateway (24 MODBUS TCP requests,
// from the first request to the refreshed list) and a firmware update of
// 1 MiB (one block of 240 bytes per reply; blocks per second reported).
// The simulator is started once as a child process on free ports, and a
// six-port project with 31 slaves per port is downloaded into it first.
#include "BlockingDriver.h"
#include "model/CVantorDoc.h"
#include "services/FirmwareExchange.h"
#include "services/SlaveStateExchange.h"
#include "transfer/ConfigurationImage.h"
#include "transfer/DownloadExchange.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace vantor;
using Clock = std::chrono::steady_clock;

constexpr const char* kModel = "KX-P6R0-1.0";

int readPort(const std::filesystem::path& file) {
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(file);
        int port = 0;
        if (in >> port && port > 0)
            return port;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

// The simulator process for the whole run.
struct Gateway {
    pid_t pid = -1;
    int configPort = -1;
    int modbusPort = -1;
    std::filesystem::path dir;

    Gateway() {
        dir =
            std::filesystem::temp_directory_path() / ("vantor_bench_services_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string portFile = (dir / "port").string();
        const std::string modbusFile = (dir / "modbus-port").string();
        pid = ::fork();
        if (pid == 0) {
            ::execl(VANTOR_GATEWAYSIM, VANTOR_GATEWAYSIM, "--model", kModel, "--port", "0", "--port-file",
                    portFile.c_str(), "--modbus-port", "0", "--modbus-port-file", modbusFile.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        configPort = readPort(portFile);
        modbusPort = readPort(modbusFile);
    }
    ~Gateway() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    bool ok() const { return configPort > 0 && modbusPort > 0; }
};

Gateway& gateway() {
    static Gateway g;
    return g;
}

model::CVantorDoc sixPortProject() {
    model::CVantorDoc doc;
    model::CMaster master;
    master.masterName = kModel;
    doc.masters.push_back(master);
    for (int p = 1; p <= 6; ++p) {
        model::CCOM com;
        com.COMName = "COM" + std::to_string(p);
        com.num_com = p - 1;
        doc.coms.push_back(com);
        for (int a = 1; a <= 31; ++a) {
            model::CSlave s;
            s.com_name = com.COMName;
            s.address = a;
            model::CModule m;
            m.Func = "读4区 03H";
            m.area_num = 4;
            m.read_wri = 0;
            m.Length = 1;
            m.Gate_Add = (p - 1) * 31 + a;
            s.modules.push_back(m);
            doc.slaves.push_back(s);
            doc.coms.back().slave_num += 1;
        }
    }
    return doc;
}

bool downloadProject() {
    static std::optional<bool> done;
    if (done)
        return *done;
    const auto doc = sixPortProject();
    transfer::ConfigurationBlocks blocks{
        transfer::buildRtuBlock(doc), transfer::buildFieldbusBlock(doc), false, {}};
    transfer::DownloadSettings settings;
    settings.host = "127.0.0.1";
    settings.portOverride = gateway().configPort;
    settings.paceMs = 0;
    transfer::DownloadExchange exchange(kModel, std::move(blocks), settings);
    blocking::BlockingDriver driver(exchange);
    done = driver.run().success;
    return *done;
}

// Notes when the first request of a cycle leaves.
class CycleStart : public transfer::WireLog {
public:
    void frame(transfer::WireDirection d, int64_t, transfer::ByteView bytes) override {
        if (d == transfer::WireDirection::Sent && !started && bytes.size() >= 8 && bytes[7] == 4)
            started = Clock::now();
    }
    std::optional<Clock::time_point> started;
};

void BM_PollCycleSixPorts(benchmark::State& state) {
    if (!gateway().ok() || !downloadProject()) {
        state.SkipWithError("simulator not available");
        return;
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        services::SlaveStateExchange exchange(kModel, {"127.0.0.1", gateway().modbusPort});
        CycleStart log;
        blocking::BlockingDriver driver(exchange, &log);
        Clock::time_point end{};
        driver.afterEvent = [&] {
            if (exchange.cycles() >= 1 && !exchange.finished()) {
                end = Clock::now();
                exchange.cancel();
            }
        };
        driver.run();
        if (exchange.cycles() < 1 || !log.started) {
            state.SkipWithError("no complete cycle");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - *log.started).count());
        rows = 0;
        for (const auto& r : exchange.rows())
            rows += r.empty() ? 0 : 1;
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["requests"] = 24;
}
BENCHMARK(BM_PollCycleSixPorts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Firmware1MiB(benchmark::State& state) {
    if (!gateway().ok()) {
        state.SkipWithError("simulator not available");
        return;
    }
    transfer::Bytes file(32 + (1u << 20));
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<uint8_t>(i * 31 + 7);
    const double blocks = static_cast<double>((file.size() - 32 + 239) / 240 + 1);
    for (auto _ : state) {
        services::FirmwareSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = gateway().configPort;
        services::FirmwareExchange exchange(kModel, file, settings);
        blocking::BlockingDriver driver(exchange);
        const auto start = Clock::now();
        const auto result = driver.run();
        const auto end = Clock::now();
        if (!result.success) {
            state.SkipWithError("firmware update failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["blocks"] = blocks;
    state.counters["blocks_per_second"] =
        benchmark::Counter(blocks * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Firmware1MiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
