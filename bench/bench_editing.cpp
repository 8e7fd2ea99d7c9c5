// Editing hot spots on the largest projects: the gateway-address proposal
// when the area is full (the search runs its 9999 steps and finds nothing)
// and the packing of an EtherNet/IP project with the full 256 commands.
#include "editing/GatewayAddressPacker.h"
#include "editing/GatewayAddressPlanner.h"
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vantor;

model::CModule command(const model::CommandKind& kind, int start, int length, int gate) {
    model::CModule m;
    m.Func = std::string(kind.func);
    m.area_num = kind.area;
    m.read_wri = kind.readWrite;
    m.Start_Add = start;
    m.Length = length;
    m.Gate_Add = gate;
    return m;
}

// Six lines of 31 slaves each, `commands` commands spread over them.
model::CVantorDoc largestProject(const std::string& modelName, int commands) {
    model::CVantorDoc doc;
    model::CMaster master;
    master.masterName = modelName;
    doc.masters.push_back(master);
    for (int p = 1; p <= 6; ++p) {
        model::CCOM com;
        com.COMName = "COM" + std::to_string(p);
        doc.coms.push_back(com);
        for (int a = 31; a >= 1; --a) {
            model::CSlave s;
            s.com_name = com.COMName;
            s.address = a;
            doc.slaves.push_back(s);
        }
    }
    for (int i = 0; i < commands; ++i) {
        auto& slave = doc.slaves[static_cast<std::size_t>(i) % doc.slaves.size()];
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(i) % model::kCommandKinds.size()];
        slave.modules.push_back(command(kind, 100 - i % 50, 1 + i % 7, i));
    }
    return doc;
}

void BM_ProposalFullArea(benchmark::State& state) {
    // 512 area-0 commands of 16 bits cover all 8192 addresses.
    auto doc = largestProject("KX-P6R0-1.0", 0);
    for (int i = 0; i < 512; ++i)
        doc.slaves[static_cast<std::size_t>(i) % doc.slaves.size()].modules.push_back(
            command(model::kCommandKinds[0], 0, 16, 16 * i));
    for (auto _ : state) {
        int proposal = editing::proposeGatewayAddress(doc, 100, 0);
        benchmark::DoNotOptimize(proposal);
        if (proposal != -1)
            state.SkipWithError("full area must have no proposal");
    }
}
BENCHMARK(BM_ProposalFullArea)->Unit(benchmark::kMicrosecond);

void BM_PackLargestEtherNetIp(benchmark::State& state) {
    auto doc = largestProject("TRX-H-QMB6", 256);
    for (auto _ : state) {
        editing::packGatewayAddresses(doc);
        benchmark::DoNotOptimize(doc.nextGateAddress);
    }
}
BENCHMARK(BM_PackLargestEtherNetIp)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
