#pragma once
// The CDT gateway's options: serial settings of the CDT link (the COM1 line),
// the two CDT station addresses and the two send periods.
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <array>
#include <string>

namespace vantor::editing {

// Baud items of the form, in order, and their line baud codes.
inline constexpr std::array<const char*, 4> kCdtBaudItems{"1200", "2400", "4800", "9600"};
inline constexpr std::array<int, 4> kCdtBaudCodes{7, 0, 1, 2};
inline constexpr std::array<const char*, 3> kCdtParityItems{VT_TEXT("无校验"), VT_TEXT("奇校验"),
                                                            VT_TEXT("偶校验")};

// Item index for a line baud code; unknown codes show "1200".
int cdtBaudItem(int baudCode);

class CdtOptionsForm {
public:
    int baudItem = 0;   // index into kCdtBaudItems
    int parityItem = 0; // index into kCdtParityItems
    std::string remoteStation;
    std::string gatewayStation;
    std::string telemetryPeriod;  // ms
    std::string telesignalPeriod; // ms

    // Opening: the COM1 line's baud and parity, the four numbers in decimal.
    static CdtOptionsForm load(const model::CVantorDoc& doc);

    // OK: five checks in order; the first failure is reported and nothing is
    // stored. Periods that are not multiples of 10 are rounded down and the
    // rounded text is written back into the form (even when a later check
    // fails). On success stores the COM1 line's baud and parity codes and the
    // four numbers.
    bool apply(model::CVantorDoc& doc, MessageSink& sink);
};

} // namespace vantor::editing
