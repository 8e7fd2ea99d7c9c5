// Writing the network settings, fed arbitrary replies cut anywhere, mixed
// with the gateway's acknowledgement, through the run of ticks. The settings
// reach the project only when the acknowledgement came and the run ended
// with success.
#include "ExchangeFuzz.h"
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"
#include "services/NetworkParamsExchange.h"
#include "transfer/CommandFrame.h"

using namespace vantor::services;
using namespace vantor::transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    vantor::model::CVantorDoc doc;
    static const char* const kModels[] = {"KX-P2R0-1.0", "TRX-H-QMB6", "KX-P1R0-1.0"};
    const char* model = kModels[fdp.ConsumeIntegralInRange<int>(0, 2)];
    doc.masters.push_back({model, 35, 35, model});
    doc.IP = "192.168.1.10";
    const vantor::model::CVantorDoc before = doc;
    NetworkParamsExchange ex(doc);

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        Bytes r = commandFrame(command::kNetworkParams, 4);
        putU32(r, 0);
        return r;
    };
    drive.start();
    drive.connect(true);
    vantor::RecordingSink sink;
    const NetworkSettings fields{"192.168.1.20", "255.255.255.0", "192.168.1.1", "503"};
    if (fdp.ConsumeBool() && ex.download(fields, sink))
        drive.pump();
    drive.run(800);
    const bool stored = doc.SETIP != before.SETIP || doc.SETMASK != before.SETMASK ||
                        doc.SETGW != before.SETGW || doc.SETPORT != before.SETPORT;
    if (stored != (drive.finished && drive.finished->success) ||
        (stored && (doc.SETIP != fields.ip || doc.SETMASK != fields.mask || doc.SETGW != fields.gateway ||
                    doc.SETPORT != 503)))
        __builtin_trap();
    return 0;
}
