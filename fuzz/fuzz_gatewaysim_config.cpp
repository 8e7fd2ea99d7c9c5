// The simulated gateway's configuration port fed any request bytes, cut into
// segments anywhere: frame reassembly, chunk joining for blocks 21 and 70,
// firmware blocks and the device services, with the fault switches the input
// picks. The session runs without a socket, through a recording SessionIo.
// After a reset nothing more may be written.
#include "../tools/gatewaysim/ConfigSession.cpp"
#include "../tools/gatewaysim/GatewayState.cpp"
#include "../tools/gatewaysim/SimDeviceServices.cpp"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

struct RecordingIo : vantor::sim::SessionIo {
    void write(vantor::sim::Bytes bytes, int) override {
        if (ended)
            __builtin_trap(); // written after the connection was ended
        written += bytes.size();
    }
    void reset(int) override { ended = true; }
    void close() override { ended = true; }
    int fd() const override { return -1; }
    int64_t nowMs() const override { return 0; }
    std::size_t written = 0;
    bool ended = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    static const char* const kModels[] = {"KX-P2R0-1.0", "TRX-H-QMB6", "TRC-H-ZRTU"};
    vantor::sim::GatewayState state(kModels[fdp.ConsumeIntegralInRange<int>(0, 2)], "");
    static const int kLayouts[] = {0, 52, 44};
    state.services.identity().layout = kLayouts[fdp.ConsumeIntegralInRange<int>(0, 2)];
    const uint32_t faulty = fdp.ConsumeIntegralInRange<uint32_t>(0, 80);
    switch (fdp.ConsumeIntegralInRange<int>(0, 4)) {
    case 1:
        state.faults.shortReply.insert(faulty);
        break;
    case 2:
        state.faults.splitReply.insert(faulty);
        state.faults.splitHold = fdp.ConsumeBool();
        break;
    case 3:
        state.faults.status[faulty] = fdp.ConsumeIntegral<uint8_t>();
        break;
    case 4:
        state.services.setFirmwareResult(fdp.ConsumeIntegral<uint8_t>());
        break;
    default:
        break;
    }
    vantor::sim::ConfigSession session(state);
    RecordingIo io;
    while (fdp.remaining_bytes() > 0) {
        const auto segment = fdp.ConsumeBytes<uint8_t>(fdp.ConsumeIntegralInRange<std::size_t>(0, 600));
        session.onData(segment, io);
    }
    for (const auto& [command, block] : state.blocks())
        if (block.size() > size)
            __builtin_trap(); // a block can only hold bytes that came in
    return 0;
}
