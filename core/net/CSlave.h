#pragma once
// A MODBUS TCP server (IP, port) with the units it carries. Editing gives a
// server exactly one node; a project file may hold more.
#include "net/CNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::net {

struct CSlave {
    int x = 0;
    int y = 0;
    std::string name = "slave";
    int address = -1; // stored and restored only
    int space = 0;    // send interval, units of 10 ms
    uint8_t control = 1;
    std::string picture; // file name below BITMAP, no directory
    std::string ipadd;   // dotted decimal
    int port = 0;
    int timetip = 500; // reply timeout, units of 10 ms
    std::vector<CNode> nodes;

    int commandCount() const {
        int n = 0;
        for (const auto& node : nodes)
            n += static_cast<int>(node.modules.size());
        return n;
    }
    bool operator==(const CSlave&) const = default;
};

} // namespace vantor::net
