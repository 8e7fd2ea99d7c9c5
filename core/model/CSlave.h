#pragma once
// A slave station on a serial line; owns its commands by value.
#include "model/CModule.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::model {

struct CSlave {
    int x = 0;
    int y = 0;
    std::string com_name; // COMName of its line
    int address = -1;
    int space = 0;    // send interval, units of 10 ms
    int timeout = 50; // reply timeout, units of 10 ms
    uint8_t control = 0x81;
    std::string name = "SLAVE"; // at most 64 GBK bytes
    std::vector<CModule> modules;

    bool operator==(const CSlave&) const = default;
};

} // namespace vantor::model
