#pragma once
// The CDT address table of the CDT gateway: where every slave's read data and
// every slave's state land in the CDT telesignal (bits) and telemetry (words)
// areas.
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <array>
#include <string>
#include <vector>

namespace vantor::editing {

// Number, "CDT偏移地址", "MRTU站地址", "数据首地址", "数据长度".
using CdtDataRow = std::array<std::string, 5>;
// Number, "CDT偏移地址", "MRTU站地址".
using CdtStateRow = std::array<std::string, 3>;

struct CdtAddressTable {
    std::vector<CdtDataRow> telesignal;  // areas 0 and 1, and words marked isCDTYx
    std::vector<CdtDataRow> telemetry;   // areas 3 and 4
    std::vector<CdtStateRow> slaveState; // one telesignal bit per slave after all data bits
    int telesignalBits = 0;              // data bits, state bits not counted
    int telemetryWords = 0;
};

// Ports COM1..COM6, slaves by address, read commands by area (0, 1, 3, 4)
// and start address. Rows of every list are numbered from 0. The state rows
// list every slave of the project by address ascending (equal addresses:
// lower port first, then project order).
CdtAddressTable buildCdtAddressTable(const model::CVantorDoc& doc);

// List titles and column titles as the table window shows them.
inline constexpr std::array<const char*, 3> kCdtListTitles{VT_TEXT("Modbus RTU 1/3区->CDT遥信数据区"),
                                                           VT_TEXT("Modbus RTU 3区->CDT遥测数据区"),
                                                           VT_TEXT("MRTU从站状态->CDT遥信数据区")};
inline constexpr std::array<const char*, 5> kCdtDataColumns{"", VT_TEXT("CDT偏移地址"), VT_TEXT("MRTU站地址"),
                                                            VT_TEXT("数据首地址"), VT_TEXT("数据长度")};
inline constexpr std::array<const char*, 3> kCdtStateColumns{"", VT_TEXT("CDT偏移地址"),
                                                             VT_TEXT("MRTU站地址")};

} // namespace vantor::editing
