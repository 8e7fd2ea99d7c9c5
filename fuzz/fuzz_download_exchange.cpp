// The configuration download fed arbitrary replies: after the start and the
// connection, the reads carry any bytes, cut anywhere, mixed with replies a
// gateway would give, timers running out and the link failing. The download
// may only report success after every block went out and the restart request
// was sent.
#include "ExchangeFuzz.h"
#include "model/GatewayCatalogue.h"
#include "transfer/CommandFrame.h"
#include "transfer/DownloadExchange.h"

using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    static const char* const kModels[] = {"KX-P2R0-1.0", "TRX-H-QMB6", "TRC-H-ZRTU"};
    const std::string model = kModels[fdp.ConsumeIntegralInRange<int>(0, 2)];
    ConfigurationBlocks blocks;
    blocks.rtu = Bytes(fdp.ConsumeIntegralInRange<std::size_t>(0, 300), 0x11);
    blocks.fieldbus = Bytes(fdp.ConsumeIntegralInRange<std::size_t>(0, 700), 0x22);
    blocks.hasEip = model == "TRX-H-QMB6";
    if (blocks.hasEip)
        blocks.eip = Bytes(fdp.ConsumeIntegralInRange<std::size_t>(0, 500), 0x33);
    DownloadSettings settings{"192.168.1.10", 5032, fdp.ConsumeBool() ? 0 : kDefaultPaceMs};
    DownloadExchange ex(model, blocks, settings);

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        const auto phase = ex.phase();
        if (phase == DownloadExchange::Phase::DeviceState) {
            Bytes r = commandFrame(command::kDeviceState, 16);
            putU32(r, 0);
            const auto code = vantor::model::gatewayModel(model).modelCode;
            putU8(r, code ? *code : 0);
            for (uint8_t b : vantor::model::kIdentityTail)
                putU8(r, b);
            putU16(r, 0);
            putU8(r, 1);
            putU8(r, 1);
            putU32(r, 0);
            return r;
        }
        const uint32_t code = phase == DownloadExchange::Phase::Rtu        ? command::kRtuConfig
                              : phase == DownloadExchange::Phase::Fieldbus ? command::kFieldbusConfig
                                                                           : command::kEipConfig;
        Bytes r = commandFrame(code, 4);
        putU32(r, fdp.ConsumeBool() ? 0 : 4);
        return r;
    };
    drive.start();
    drive.connect(true);
    drive.run();

    if (drive.finished && drive.finished->success) {
        const std::size_t chunks =
            chunkCount(blocks.fieldbus.size()) + (blocks.hasEip ? chunkCount(blocks.eip.size()) : 0);
        if (drive.sent.size() != 2 + chunks + 1 || drive.sent.back() != bareRequest(command::kRestart))
            __builtin_trap();
    }
    return 0;
}
