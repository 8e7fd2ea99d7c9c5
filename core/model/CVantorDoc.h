#pragma once
// The project: one gateway, its serial lines, the slaves on them and each
// slave's commands, plus the project-wide settings. Texts are UTF-8.
#include "model/CCOM.h"
#include "model/CMaster.h"
#include "model/CSlave.h"
#include "text/Shown.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vantor::model {

// What an operation that needs the gateway says when the project has none
// (both programs).
inline constexpr const char* kNoGateway = VT_TEXT("请添加一个主站!");

// Keys of the 36 EtherNet/IP port-area values, in group order (state enable,
// state start, state length, control enable, control start, control length),
// each group for COM1..COM6.
const std::array<std::string, 36>& eipValueKeys();

class CVantorDoc {
public:
    CVantorDoc();

    // The new-project step. `directory` is the start-up directory; the access
    // IP is read from IP/ETHOption.xml below it.
    void NewDocument(const std::string& directory);

    // --- selection: 0..S-1 slaves, S..S+M-1 masters, S+M..S+M+C-1 lines ---
    int selectedItem = -1;
    int selectedSlave() const;  // slave index or -1
    int selectedMaster() const; // master index or -1
    int selectedCom() const;    // line index or -1
    int slaveItem(int slave) const { return slave; }
    int masterItem(int master) const { return static_cast<int>(slaves.size()) + master; }
    int comItem(int com) const { return static_cast<int>(slaves.size() + masters.size()) + com; }

    // --- lookups ---
    int lineOfSlave(int slave) const;                 // first line with the slave's com_name, or -1
    int lineByName(const std::string& comName) const; // or -1
    std::vector<int> slavesOfLine(int line) const;    // in array order
    int commandCount() const;
    // The gateway model text, empty without a gateway.
    const std::string& modelName() const;
    bool hasMaster() const { return !masters.empty(); }

    // Lowest address 1..255 whose flag is clear (the line's addArea in
    // data-area addressing, slaveAddrFlag in remote-slave addressing);
    // -1 when every address is taken.
    int proposeSlaveAddress(int line) const;

    // Placement of a new slave on a line: returns (x, y), grows the line's
    // drawn length when needed and counts the slave on the line.
    std::pair<int, int> placeNewSlave(int line);

    // --- the project ---
    std::vector<CMaster> masters; // at most one
    std::vector<CSlave> slaves;   // all lines, creation order
    std::vector<CCOM> coms;       // creation order
    std::array<int, 256> slaveAddrFlag{};
    std::array<int, 4> nextGateAddress{}; // areas 0, 1, 3, 4; not saved
    int lastProposedSlaveAddress = 0;
    std::string IP;
    int accessPort = 5032;
    int addType = 0; // 0 data-area addressing, 1 remote-slave addressing
    int editSendDefault = 0;
    int sendInterlTime = 0;
    int repTimeoutTime = 500;
    std::array<int, 4> cdtOptions{1, 2, 500,
                                  200}; // remote station, gateway station, telemetry ms, telesignal ms
    int copiedSlave = -1;
    std::string SETIP;
    std::string SETMASK;
    std::string SETGW;
    int SETPORT = 502;
    std::array<int, 36> eip{};
    int GW_work_mode = 0;

    // The framework's modified flag.
    bool modified = false;

    bool operator==(const CVantorDoc&) const = default;
};

// Reads the access IP from the access-address file (root ETHOption, element
// ip); empty when the file or the element is missing.
std::string readAccessIp(const std::string& ethOptionPath);

} // namespace vantor::model
