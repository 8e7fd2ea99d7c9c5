#pragma once
// A command in context, as the address tables collect them: the command with
// its port number (1-based position of the line) and its slave's address.
#include "model/CModule.h"

namespace vantor::model {

struct CModuleCom {
    CModule module;
    int port = -1;
    int slaveAddress = -1;
};

} // namespace vantor::model
