// Writing a control word, fed arbitrary MODBUS TCP replies cut anywhere,
// mixed with the echo a gateway gives, time-outs and link failures. Success
// is only reported after the echo of this very write arrived.
#include "ExchangeFuzz.h"
#include "services/ControlWordExchange.h"

#include <algorithm>

using namespace vantor::services;
using vantor::transfer::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const int address = fdp.ConsumeIntegralInRange<int>(40000, 40000 + 0xFFFF);
    const uint16_t value = fdp.ConsumeIntegral<uint16_t>();
    ControlWordExchange ex(address, value, ControlWordSettings{"10.0.0.7"});
    const Bytes echo = ControlWordExchange::writeRequest(address, value);

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    std::vector<Bytes> delivered;
    drive.wellFormed = [&] {
        // The echo, or the exception reply.
        if (fdp.ConsumeIntegralInRange<int>(0, 3) == 0)
            return Bytes{0, 0, 0, 0, 0, 3, kModbusUnit, kWriteSingleException, 2};
        return echo;
    };
    drive.start();
    drive.connect(true);
    drive.run();
    if (drive.finished && drive.finished->success &&
        (drive.messages.empty() || drive.messages.back().text != ControlWordExchange::kDone))
        __builtin_trap();
    return 0;
}
