// The VantorNet download fed arbitrary replies cut anywhere, mixed with the
// gateway's usual answers, timers running out, the link failing and the
// user pressing 下载 and 断开 at any moment. What must hold: 下载 is enabled
// only while connected and idle, and success is only reported after every
// part of image B went out and the restart was sent.
#include "ExchangeFuzz.h"
#include "net/NetDownloadExchange.h"
#include "transfer/CommandFrame.h"

using namespace vantor::net;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    static const char* const kModels[] = {"KX-P1-1.0", "LNK-P1-1.0", "NXE-485-ZRTU2"};
    const std::string model = kModels[fdp.ConsumeIntegralInRange<int>(0, 2)];
    const int workMode = fdp.ConsumeIntegralInRange<int>(0, 1);
    NetImages images{Bytes(fdp.ConsumeIntegralInRange<std::size_t>(0, 60), 0x11),
                     Bytes(fdp.ConsumeIntegralInRange<std::size_t>(1, 800), 0x22)};
    NetDownloadSettings settings;
    settings.paceMs = fdp.ConsumeBool() ? 0 : kNetPaceMs;
    int revAllow = 0;
    NetDownloadExchange ex(model, workMode, images, settings, &revAllow);

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        const auto phase = ex.phase();
        const uint32_t code = phase == NetDownloadExchange::Phase::Identification ? command::kDeviceState
                              : phase == NetDownloadExchange::Phase::Rtu          ? command::kRtuConfig
                                                                                  : command::kFieldbusConfig;
        Bytes r = commandFrame(code, 4);
        putU32(r, fdp.ConsumeBool() ? 0 : fdp.ConsumeIntegralInRange<uint8_t>(0, 6));
        return r;
    };
    drive.check = [&] {
        if (ex.downloadEnabled() != (ex.phase() == NetDownloadExchange::Phase::Connected))
            std::abort();
        if (ex.downloadEnabled() && !drive.open)
            std::abort();
        switch (fdp.ConsumeIntegralInRange<int>(0, 15)) {
        case 0:
            ex.pressDownload();
            break;
        case 1:
            ex.pressDisconnect();
            break;
        default:
            break;
        }
    };
    drive.start();
    drive.connect(fdp.ConsumeBool());
    ex.pressDownload();
    drive.pump();
    drive.run(600);

    if (drive.finished && drive.finished->success) {
        const std::size_t parts = imageBPartCount(images.b);
        if (ex.partsSent() != parts || drive.sent.empty() ||
            drive.sent.back() != bareRequest(command::kRestart))
            __builtin_trap();
    }
    return 0;
}
