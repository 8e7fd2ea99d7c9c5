// The VantorLoad exchange fed arbitrary replies cut anywhere, mixed with the
// gateway's usual answers, with the user pressing 连接/断开, RTU设置 and
// IP设置 at any moment. What must hold: the button states follow the
// connection (断开 only while connected, the actions only while connected),
// requests go out only on an open socket, and the address files only ever
// hold what the fields allowed.
#include "ExchangeFuzz.h"
#include "FuzzScratch.h"
#include "load/LoadExchange.h"
#include "transfer/CommandFrame.h"

#include <string>

using namespace vantor::load;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    std::filesystem::remove_all(vantor::fuzzing::scratchDir() + "/IP");
    LoadExchange ex(vantor::fuzzing::scratchDir());
    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    static const uint8_t kCodes[] = {1, 20, 21, 10, 2};
    drive.wellFormed = [&] {
        Bytes r = commandFrame(kCodes[fdp.ConsumeIntegralInRange<int>(0, 4)], 4);
        putU32(r, fdp.ConsumeIntegralInRange<uint8_t>(0, 5));
        return r;
    };
    drive.check = [&] {
        const bool connected = ex.linkState() == LinkState::Connected;
        if ((connected || ex.actionsEnabled()) && !drive.open)
            std::abort();
        if (ex.actionsEnabled() != connected)
            std::abort();
        switch (fdp.ConsumeIntegralInRange<int>(0, 11)) {
        case 0:
            ex.pressConnect();
            break;
        case 1:
            ex.pressRtu();
            break;
        case 2:
            ex.pressIp();
            break;
        case 3: {
            LoadFields f = ex.fields();
            f.deviceType = fdp.ConsumeIntegralInRange<int>(0, 4);
            f.com1.address = fdp.ConsumeRandomLengthString(4);
            f.modPort = fdp.ConsumeRandomLengthString(6);
            f.newIp = fdp.ConsumeBool() ? "10.1.2.3" : fdp.ConsumeRandomLengthString(16);
            ex.setFields(f);
            break;
        }
        default:
            break;
        }
    };
    drive.start();
    ex.pressConnect();
    drive.pump();
    drive.connect(fdp.ConsumeBool());
    drive.run(800);
    // Whatever was saved is a dotted quad and a port number.
    vantor::fuzzing::requireWellFormedAddressFiles(vantor::fuzzing::scratchDir());
    return 0;
}
