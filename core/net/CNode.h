#pragma once
// One MODBUS unit reached at a server's endpoint; owns its commands.
#include "net/CModule.h"

#include <vector>

namespace vantor::net {

struct CNode {
    int address = 0; // unit address 1..247
    std::vector<CModule> modules;

    bool operator==(const CNode&) const = default;
};

} // namespace vantor::net
