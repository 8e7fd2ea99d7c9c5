// VantorNet on the largest legal project (31 servers, 1024 commands, every
// command inside its gateway data area): compiling both images, and saving
// to a file and opening it again. Goal: below 10 ms each.
#include "net/CVantorNetDoc.h"
#include "net/NetCatalogue.h"
#include "net/NetCompiler.h"
#include "net/NetProjectEditor.h"
#include "net/NetProjectFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace vantor;

net::CVantorNetDoc largestProject() {
    net::CVantorNetDoc doc;
    net::addGateway(doc, "NXE-485-ZRTU2");
    for (int s = 0; s < net::kMaxSlaves; ++s) {
        net::NewServerValues v;
        v.ipadd = "192.168.10." + std::to_string(s + 1);
        v.name = "服务器" + std::to_string(s + 1);
        v.unitAddress = s % 247 + 1;
        net::addServer(doc, v);
    }
    // 128 commands of each function, dealt round the servers; gateway
    // addresses packed per area inside the area ends.
    const int lengths[8] = {16, 16, 1, 16, 10, 5, 1, 5};
    int next[5] = {0, 0, 0, 0, 0};
    for (int i = 0; i < net::kMaxCommands; ++i) {
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(i % 8)];
        net::CModule m;
        m.Func = std::string(kind.func);
        m.area_num = kind.area;
        m.read_wri = kind.readWrite;
        m.Length = lengths[i % 8];
        m.Start_Add = i * 16;
        m.Gate_Add = next[kind.area];
        m.mod_num = 1;
        m.editSend = kind.readWrite != 0 ? i % 2 : 0;
        m.Explain = "命令 " + std::to_string(i);
        next[kind.area] += m.Length;
        net::appendCommand(doc, i % net::kMaxSlaves, m);
    }
    return doc;
}

class Silent : public MessageSink {
public:
    using MessageSink::error;
    void error(const std::string&, const std::string& text) override { last = text; }
    void information(const std::string&, const std::string&) override {}
    bool question(const std::string&, const std::string&) override { return true; }
    std::string last;
};

void BM_NetCompile(benchmark::State& state) {
    const net::CVantorNetDoc doc = largestProject();
    Silent sink;
    for (auto _ : state) {
        auto images = net::compileNet(doc, sink);
        if (!images) {
            state.SkipWithError(("compile refused: " + sink.last).c_str());
            break;
        }
        benchmark::DoNotOptimize(images->b.data());
    }
}
BENCHMARK(BM_NetCompile)->Unit(benchmark::kMillisecond);

void BM_NetSaveOpen(benchmark::State& state) {
    const net::CVantorNetDoc doc = largestProject();
    const auto dir = std::filesystem::temp_directory_path() / ("bench-net-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "largest.vncfg").string();
    for (auto _ : state) {
        std::string error;
        net::CVantorNetDoc back;
        if (!net::NetProjectFile::save(doc, path, dir.string(), &error) ||
            !net::NetProjectFile::open(back, path, &error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(back.slaves.data());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_NetSaveOpen)->Unit(benchmark::kMillisecond);

// The two halves of the file work without the disk: the markup text of the
// project, and the walk of that text into a new project.
void BM_NetBuildText(benchmark::State& state) {
    const net::CVantorNetDoc doc = largestProject();
    for (auto _ : state)
        benchmark::DoNotOptimize(net::NetProjectFile::buildText(doc, "bench").size());
}
BENCHMARK(BM_NetBuildText)->Unit(benchmark::kMillisecond);

void BM_NetReadText(benchmark::State& state) {
    const std::string text = net::NetProjectFile::buildText(largestProject(), "bench");
    state.counters["bytes"] = static_cast<double>(text.size());
    for (auto _ : state) {
        net::CVantorNetDoc back;
        benchmark::DoNotOptimize(net::NetProjectFile::readText(back, text));
    }
}
BENCHMARK(BM_NetReadText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
