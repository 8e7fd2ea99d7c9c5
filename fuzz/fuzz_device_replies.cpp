// The device services' reply readers on any bytes: the identification in
// either layout, the serial number, the identity checks and the mismatch
// text, and the MODBUS register words. No field may be read past the data,
// and what is read must have the shape the window shows.
#include "model/GatewayCatalogue.h"
#include "services/DeviceInfo.h"
#include "services/SlaveStateExchange.h"
#include "services/SlaveStateRegisters.h"

#include <cstddef>
#include <cstdint>

using namespace vantor::services;
using vantor::transfer::Bytes;
using vantor::transfer::ByteView;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const kModels[] = {"KX-P2R0-1.0", "TRX-H-QMB6", "TRC-H-ZRTU", "KX-P1R0-1.0"};
    const char* model = kModels[data[0] % 4];
    // A copy of exactly the reply's size, so reading one byte too far is seen.
    const Bytes reply(data + 1, data + size);
    const ByteView view(reply);

    if (auto id = readIdentification(view)) {
        if (view.size() < identificationSize(id->length) || id->deviceId.size() != 8 ||
            id->mac1.size() != 17 || (id->hasMac2 ? id->mac2.size() != 17 : !id->mac2.empty()))
            __builtin_trap();
        (void)vantor::model::identityMatchesModel(model, id->identity);
        (void)vantor::model::modelMismatchText(model, id->identity);
        (void)runStateFor(model, id->runStateValue);
    }
    if (auto serial = readSerialNumber(view)) {
        if (view.size() < 24 || serial->size() != 24)
            __builtin_trap();
    }
    (void)SlaveStateExchange::identificationMatches(model, view);
    for (std::size_t at = 0; at <= view.size() + 1; at += 2) {
        const bool inside = at + 2 <= view.size();
        if (wordAt(view, at).has_value() != inside)
            __builtin_trap();
    }
    return 0;
}
