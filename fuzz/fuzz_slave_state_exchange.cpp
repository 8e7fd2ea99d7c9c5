// Slave-state polling fed arbitrary MODBUS TCP replies cut anywhere, mixed
// with well-formed read replies (any register values), identifications on
// the link, poll ticks, reply time-outs and link failures. The list always
// keeps its rows, and every rebuilt slave list stays consistent.
#include "ExchangeFuzz.h"
#include "services/SlaveStateExchange.h"

using namespace vantor::services;
using vantor::transfer::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    static const char* const kModels[] = {"KX-P6R0-1.0", "KX-P2R0-1.0", "KX-P1R0-1.0", "TRC-H-ZRTU"};
    SlaveStateExchange ex(kModels[fdp.ConsumeIntegralInRange<int>(0, 3)], SlaveStateSettings{"10.0.0.7"});

    vantor::fuzzing::ExchangeFuzz drive(ex, fdp);
    drive.wellFormed = [&] {
        // A read reply: MBAP, unit, the last request's function, byte count,
        // 125 registers: a few bytes from the input repeated, the rest zero.
        const Bytes& last = drive.sent.empty() ? Bytes(12, 0) : drive.sent.back();
        Bytes r{last[0], last[1], 0, 0, 0, 3 + kReadDataBytes, kModbusUnit, last[7], kReadDataBytes};
        const Bytes pattern = fdp.ConsumeBytes<uint8_t>(fdp.ConsumeIntegralInRange<std::size_t>(0, 16));
        const std::size_t filled = fdp.ConsumeIntegralInRange<std::size_t>(0, kReadDataBytes);
        for (std::size_t i = 0; i < kReadDataBytes; ++i)
            r.push_back(pattern.empty() || i >= filled ? 0 : pattern[i % pattern.size()]);
        return r;
    };
    // Between the state pass and the control pass a port's control words
    // are those of the previous cycle; when the list is refreshed at the end
    // of a cycle, every polled port's lists must agree.
    int cycles = 0;
    drive.check = [&] {
        if (ex.rows().size() != SlaveStateExchange::kRowCount)
            __builtin_trap();
        const bool refreshed = ex.cycles() != cycles;
        cycles = ex.cycles();
        for (int port = 1; port <= 6; ++port) {
            const PortSlaves& s = ex.slaves(port);
            const std::size_t n = s.addresses.size();
            if (s.states.size() != n || s.stateAddresses.size() != n || s.controlAddresses.size() != n ||
                n > kSlavesPerPort || (refreshed && port <= ex.portCount() && s.controls.size() != n))
                __builtin_trap();
        }
    };
    drive.start();
    drive.connect(true);
    drive.run(600);
    return 0;
}
