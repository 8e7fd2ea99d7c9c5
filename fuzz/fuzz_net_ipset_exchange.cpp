// The VantorNet network-settings exchange fed arbitrary replies cut
// anywhere, mixed with acknowledgements, timers running out, the link
// failing and the user pressing 连接/断开 and 下载配置 with any field texts.
// What must hold: 下载配置 is enabled only while connected, success needs an
// acknowledgement, and the address files only ever hold a dotted quad and a
// port number.
#include "ExchangeFuzz.h"
#include "FuzzScratch.h"
#include "net/NetIpSetExchange.h"
#include "transfer/AddressFiles.h"
#include "transfer/CommandFrame.h"

#include <filesystem>
#include <fstream>
#include <string>

using namespace vantor::net;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    std::filesystem::remove_all(vantor::fuzzing::scratchDir() + "/IP");
    std::filesystem::create_directories(vantor::fuzzing::scratchDir() + "/IP");
    std::ofstream(ipFilePath(vantor::fuzzing::scratchDir())) << "192.168.1.10";
    std::ofstream(portFilePath(vantor::fuzzing::scratchDir())) << "502";
    NetIpSetExchange ex(vantor::fuzzing::scratchDir());
    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        Bytes r = commandFrame(fdp.ConsumeBool() ? command::kNetworkParams : command::kRestart, 4);
        putU32(r, fdp.ConsumeBool() ? 0 : fdp.ConsumeIntegralInRange<uint8_t>(0, 6));
        return r;
    };
    drive.check = [&] {
        if (ex.downloadEnabled() && !ex.connected())
            std::abort();
        // (Once the dialog has ended it no longer shows a link.)
        if (!ex.finished() && ex.connected() && !drive.open)
            std::abort();
        switch (fdp.ConsumeIntegralInRange<int>(0, 11)) {
        case 0:
            ex.pressConnect();
            break;
        case 1:
            ex.pressDownload();
            break;
        case 2: {
            IpSetFields f = ex.fields();
            f.newIp = fdp.ConsumeBool() ? "10.1.2.3" : fdp.ConsumeRandomLengthString(16);
            f.mask = fdp.ConsumeBool() ? "255.255.0.0" : fdp.ConsumeRandomLengthString(16);
            f.gateway = fdp.ConsumeBool() ? "10.1.0.1" : fdp.ConsumeRandomLengthString(16);
            f.port = fdp.ConsumeRandomLengthString(6);
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
    ex.pressDownload();
    drive.pump();
    drive.run(800);

    if (drive.finished && drive.finished->success && !ex.acknowledged())
        __builtin_trap();
    vantor::fuzzing::requireWellFormedAddressFiles(vantor::fuzzing::scratchDir());
    return 0;
}
