#pragma once
// The VantorNet project: one project-wide pair of serial ports, at most one
// gateway, and MODBUS TCP servers owning units (nodes) owning commands.
// Texts are UTF-8.
#include "net/CCom.h"
#include "net/CMaster.h"
#include "net/CSlave.h"

#include <array>
#include <string>
#include <vector>

namespace vantor::net {

class CVantorNetDoc {
public:
    CVantorNetDoc() { NewDocument(); }

    // Every field back to its new-project value; both arrays and the next
    // gateway addresses emptied.
    void NewDocument();

    // --- selection: 0 nothing, 1 the bus, 2 the gateway, 3+i slave i ---
    static constexpr int kSelectNothing = 0;
    static constexpr int kSelectBus = 1;
    static constexpr int kSelectGateway = 2;
    static int slaveSelection(int slave) { return slave + 3; }
    // The selected slave's index, or -1 when the selection names no existing
    // slave (a stored selection may point anywhere).
    int selectedSlave() const;

    // --- lookups ---
    int commandCount() const;
    // The gateway model text (first gateway), empty without a gateway.
    const std::string& modelName() const;
    bool hasMaster() const { return !masters.empty(); }

    // --- the project, in declaration order ---
    CBus bus;
    int currentSelect = 0;
    int insert_add = 1;
    int insert_slave_flag = 0;
    CCom com1;
    CCom com2;
    std::vector<CSlave> slaves;
    std::vector<CMaster> masters;
    std::array<int, 4> nextGateAddress{}; // areas 0, 1, 3, 4; not saved
    int rev_allow = 1;
    int test = 0;
    int isDataModifySendEnable = 0;
    int GW_work_mode = 0; // 0 tcp-master+rtu-slave, 1 tcp-master+rtu-master

    bool modified = false;

    bool operator==(const CVantorNetDoc&) const = default;
};

} // namespace vantor::net
