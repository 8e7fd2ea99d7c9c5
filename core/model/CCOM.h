#pragma once
// A serial line of the gateway.
#include <array>
#include <string>

namespace vantor::model {

struct CCOM {
    std::string COMName; // "COM1" .. "COM6"; slaves refer to the line by it
    int num_com = -1;    // number of lines that existed before this one
    int x = 0;
    int y = 0;
    int com_length = 260;
    int baud = 2;  // index into 2400 .. 115200
    int check = 2; // parity index
    int stop = 0;  // stop-bit index
    int slave_num = 0;
    std::array<int, 256> addArea{}; // per-line slave address occupancy
    int space = 30;                 // gap between slaves, units of 10 ms

    bool operator==(const CCOM&) const = default;
};

} // namespace vantor::model
