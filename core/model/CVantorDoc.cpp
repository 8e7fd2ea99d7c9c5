#include "model/CVantorDoc.h"

#include "markup/CXmlDoc.h"
#include "text/Gbk.h"

namespace vantor::model {

const std::array<std::string, 36>& eipValueKeys() {
    static const std::array<std::string, 36> keys = [] {
        std::array<std::string, 36> k;
        const char* groups[6] = {"state_enable", "state_start_addr", "state_start_len",
                                 "ctrl_enable",  "ctrl_start_addr",  "ctrl_start_len"};
        for (int g = 0; g < 6; ++g)
            for (int c = 0; c < 6; ++c)
                k[static_cast<std::size_t>(g * 6 + c)] = "EIP_COM" + std::to_string(c + 1) + "_" + groups[g];
        return k;
    }();
    return keys;
}

CVantorDoc::CVantorDoc() = default;

std::string readAccessIp(const std::string& path) {
    markup::CXmlDoc xml;
    if (!xml.Load(path))
        return {};
    if (!xml.FindElem("ETHOption") || !xml.IntoElem() || !xml.FindElem("ip"))
        return {};
    return text::fromGbk(xml.GetData());
}

void CVantorDoc::NewDocument(const std::string& directory) {
    selectedItem = -1;
    slaveAddrFlag.fill(0);
    nextGateAddress.fill(0);
    // The built-in default "192.168.1.15" is always replaced by the access
    // address file's entry, which is empty when the file or element is missing.
    IP = readAccessIp(directory + "/IP/ETHOption.xml");
    accessPort = 5032;
    SETIP = "192.168.1.10";
    SETMASK = "255.255.255.0";
    SETGW = "192.168.1.1";
    SETPORT = 502;
    addType = 0;
    editSendDefault = 0;
    sendInterlTime = 0;
    repTimeoutTime = 500;
    slaves.clear();
    masters.clear();
    coms.clear();
    cdtOptions = {1, 2, 500, 200};
    copiedSlave = -1;
    eip.fill(0);
    GW_work_mode = 0;
    lastProposedSlaveAddress = 0;
    modified = false;
}

int CVantorDoc::selectedSlave() const {
    return selectedItem >= 0 && selectedItem < static_cast<int>(slaves.size()) ? selectedItem : -1;
}

int CVantorDoc::selectedMaster() const {
    int m = selectedItem - static_cast<int>(slaves.size());
    return m >= 0 && m < static_cast<int>(masters.size()) ? m : -1;
}

int CVantorDoc::selectedCom() const {
    int c = selectedItem - static_cast<int>(slaves.size() + masters.size());
    return c >= 0 && c < static_cast<int>(coms.size()) ? c : -1;
}

int CVantorDoc::lineByName(const std::string& comName) const {
    for (std::size_t i = 0; i < coms.size(); ++i)
        if (coms[i].COMName == comName)
            return static_cast<int>(i);
    return -1;
}

int CVantorDoc::lineOfSlave(int slave) const {
    return lineByName(slaves.at(static_cast<std::size_t>(slave)).com_name);
}

std::vector<int> CVantorDoc::slavesOfLine(int line) const {
    const std::string& name = coms.at(static_cast<std::size_t>(line)).COMName;
    std::vector<int> out;
    for (std::size_t i = 0; i < slaves.size(); ++i)
        if (slaves[i].com_name == name)
            out.push_back(static_cast<int>(i));
    return out;
}

int CVantorDoc::commandCount() const {
    int n = 0;
    for (const auto& s : slaves)
        n += static_cast<int>(s.modules.size());
    return n;
}

const std::string& CVantorDoc::modelName() const {
    static const std::string none;
    return masters.empty() ? none : masters.front().masterName;
}

int CVantorDoc::proposeSlaveAddress(int line) const {
    const auto& flags = addType == 1 ? slaveAddrFlag : coms.at(static_cast<std::size_t>(line)).addArea;
    for (int a = 1; a <= 255; ++a)
        if (flags[static_cast<std::size_t>(a)] == 0)
            return a;
    return -1;
}

std::pair<int, int> CVantorDoc::placeNewSlave(int line) {
    CCOM& com = coms.at(static_cast<std::size_t>(line));
    int y = com.y + 35;
    int x = com.x + 50;
    bool any = false;
    int largest = 0;
    for (const auto& s : slaves)
        if (s.com_name == com.COMName) {
            if (!any || s.x > largest)
                largest = s.x;
            any = true;
        }
    if (any)
        x = largest + 80;
    if (com.x + com.com_length < x + 80)
        com.com_length = x - com.x + 80;
    com.slave_num += 1;
    return {x, y};
}

} // namespace vantor::model
