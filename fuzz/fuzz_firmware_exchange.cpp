// The firmware update fed arbitrary replies cut anywhere, mixed with the
// replies a gateway gives, over a file of any length (shorter than its
// header too). Success only after every block and the closing frame went
// out.
#include "ExchangeFuzz.h"
#include "services/FirmwareExchange.h"
#include "transfer/CommandFrame.h"

using namespace vantor::services;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    std::optional<Bytes> file;
    if (fdp.ConsumeIntegralInRange<int>(0, 7) != 0)
        file = Bytes(fdp.ConsumeIntegralInRange<std::size_t>(0, 1500), 0x5A);
    FirmwareExchange ex("KX-P2R0-1.0", file, FirmwareSettings{"10.0.0.7", 5032, std::nullopt});

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        if (ex.phase() == FirmwareExchange::Phase::Identifying) {
            Bytes r{1, 0, 0, 0, 52, 0, 0, 0, 0, 0, 0, 0, 0x74, 0x34, 0x58, 0x06};
            r.resize(fdp.ConsumeIntegralInRange<std::size_t>(16, 64), 0x31);
            return r;
        }
        Bytes r = commandFrame(command::kFirmwareBlock, 4);
        putU32(r, fdp.ConsumeIntegralInRange<int>(0, 7) == 0 ? 2 : 0);
        return r;
    };
    drive.start();
    drive.connect(true);
    drive.run(600);
    if (drive.finished && drive.finished->success) {
        auto fw = splitFirmware(*file);
        const std::size_t blocks =
            fw->image.empty() ? 1 : (fw->image.size() + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
        if (drive.sent.size() != 2 + blocks ||
            drive.sent.back() != firmwareClosingFrame(static_cast<uint32_t>(blocks), fw->header))
            __builtin_trap();
    }
    return 0;
}
