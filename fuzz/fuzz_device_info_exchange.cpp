// Reading the gateway's identity and serial number, fed arbitrary replies
// cut anywhere, mixed with the replies a gateway gives, time-outs and link
// failures. Success always comes with a serial number of 24 hex digits.
#include "ExchangeFuzz.h"
#include "services/DeviceInfoExchange.h"
#include "transfer/CommandFrame.h"

using namespace vantor::services;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    static const char* const kModels[] = {"KX-P2R0-1.0", "TRX-H-QMB6", "TRC-H-ZRTU"};
    DeviceInfoExchange ex(kModels[fdp.ConsumeIntegralInRange<int>(0, 2)],
                          DeviceInfoSettings{"10.0.0.7", 5032, std::nullopt});

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        if (!ex.identified()) {
            // Either layout, the identity and the rest from the input.
            const bool with2 = fdp.ConsumeBool();
            Bytes r = commandFrame(command::kDeviceState, with2 ? 52 : 44);
            Bytes rest = fdp.ConsumeBytes<uint8_t>(with2 ? 56 : 48);
            rest.resize(with2 ? 56 : 48, 0);
            r.insert(r.end(), rest.begin(), rest.end());
            return r;
        }
        Bytes r = commandFrame(command::kSerialNumber, 12);
        Bytes rest = fdp.ConsumeBytes<uint8_t>(16);
        rest.resize(16, 0xA5);
        r.insert(r.end(), rest.begin(), rest.end());
        return r;
    };
    drive.start();
    drive.connect(true);
    drive.run();
    if (drive.finished && drive.finished->success && ex.fields().serialNumber.size() != 24)
        __builtin_trap();
    return 0;
}
