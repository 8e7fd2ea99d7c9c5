#pragma once
// One command of a slave: moves a block of slave data to or from one of the
// gateway's data areas 0, 1 (bits), 3, 4 (words).
#include <string>

namespace vantor::model {

struct CModule {
    int Start_Add = -1; // start address in the slave
    int Length = 0;     // coils/inputs or registers
    int area_num = -1;  // gateway data area 0, 1, 3 or 4
    int read_wri = -1;  // 0 read, 1 write multiple, 2 write single
    int Gate_Add = -1;  // start in the gateway area (bits in 0/1, words in 3/4)
    int mod_num = -1;   // never changed by editing; stored in the file
    std::string Func;   // one of the eight command kind texts
    std::string Explain;
    int editSend = 0; // change-triggered send ("数变即发")
    int isCDTYx = 0;  // also mapped into the CDT telesignal area

    bool operator==(const CModule&) const = default;
};

} // namespace vantor::model
