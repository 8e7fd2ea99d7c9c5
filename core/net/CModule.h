#pragma once
// One command of a VantorNet node: moves a block of a MODBUS TCP server's
// data to or from one of the gateway's data areas 0, 1 (bits), 3, 4 (words).
#include <string>

namespace vantor::net {

struct CModule {
    int Start_Add = -1; // start address in the server
    int Length = 0;     // bits or words
    int area_num = -1;  // gateway data area 0, 1, 3 or 4
    int read_wri = -1;  // 0 read, 1 write multiple, 2 write single
    int Gate_Add = -1;  // first gateway address in the area
    int mod_num = -1;   // MODBUS address entered with the command; not downloaded
    std::string Func;   // one of the eight function labels
    std::string Explain;
    int editSend = 0; // change-triggered send ("数变即发")

    bool operator==(const CModule&) const = default;
};

} // namespace vantor::net
