// Address tables on the largest projects: gateway address map rows, the
// EtherNet/IP allocation and command-70 block, and the .xlsx export.
#include "editing/AddressMap.h"
#include "editing/EipAddressTable.h"
#include "editing/EipParamsForm.h"
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace vantor;

namespace {

// Six lines of 31 slaves, `commands` commands spread over the slaves and the
// eight kinds, each with its own gateway range.
model::CVantorDoc largestProject(const std::string& gateway, int commands, int length) {
    model::CVantorDoc doc;
    doc.masters.push_back({gateway, 35, 35, ""});
    for (int c = 1; c <= 6; ++c) {
        model::CCOM line;
        line.COMName = "COM" + std::to_string(c);
        doc.coms.push_back(line);
        for (int a = 31; a >= 1; --a) {
            model::CSlave s;
            s.com_name = line.COMName;
            s.address = a;
            doc.slaves.push_back(s);
        }
    }
    std::array<int, 4> next{};
    for (int i = 0; i < commands; ++i) {
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(i % 8)];
        model::CModule m;
        m.Func = std::string(kind.func);
        m.area_num = kind.area;
        m.read_wri = kind.readWrite;
        m.Length = kind.readWrite == 2 ? 1 : length;
        m.Start_Add = (i * 7) % 1000;
        auto& n = next[static_cast<std::size_t>(model::areaIndex(kind.area))];
        m.Gate_Add = n;
        n += m.Length;
        doc.slaves[static_cast<std::size_t>(i % doc.slaves.size())].modules.push_back(m);
    }
    return doc;
}

model::CVantorDoc eipProject() {
    auto doc = largestProject("TRX-H-QMB6", 256, 2);
    for (int g = 0; g < 12; ++g)
        editing::setEipGroup(doc, g, {true, editing::eipStartRange(g % 6 + 1).first, 8});
    return doc;
}

void BM_MapRows(benchmark::State& state) {
    auto doc = largestProject("KX-P6R0-1.0", 512, 3);
    for (auto _ : state)
        benchmark::DoNotOptimize(editing::buildAddressMap(doc));
}
BENCHMARK(BM_MapRows);

void BM_EipAllocation(benchmark::State& state) {
    auto doc = eipProject();
    RecordingSink sink;
    for (auto _ : state) {
        auto t = editing::buildEipTable(doc, sink);
        if (t.overflow)
            state.SkipWithError("project does not fit");
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_EipAllocation);

void BM_EipBlock(benchmark::State& state) {
    auto doc = eipProject();
    RecordingSink sink;
    std::vector<uint8_t> block;
    for (auto _ : state) {
        if (!editing::buildEipBlock(doc, sink, block))
            state.SkipWithError("project does not fit");
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["bytes"] = static_cast<double>(block.size());
}
BENCHMARK(BM_EipBlock);

void BM_MapExportXlsx(benchmark::State& state) {
    auto doc = largestProject("KX-P6R0-1.0", 512, 3);
    auto dir = std::filesystem::temp_directory_path() / ("vantor-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "map.xlsx").string();
    for (auto _ : state) {
        std::string errors;
        auto map = editing::buildAddressMap(doc);
        if (!editing::exportAddressMap(map, file, errors))
            state.SkipWithError(errors.c_str());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_MapExportXlsx)->Unit(benchmark::kMillisecond);

void BM_EipExportXlsx(benchmark::State& state) {
    auto doc = eipProject();
    RecordingSink sink;
    auto table = editing::buildEipTable(doc, sink);
    auto dir = std::filesystem::temp_directory_path() / ("vantor-bench-eip-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "eip.xlsx").string();
    for (auto _ : state) {
        std::string errors;
        if (!editing::exportEipTable(table, file, errors))
            state.SkipWithError(errors.c_str());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_EipExportXlsx)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
