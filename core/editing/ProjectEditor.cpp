#include "editing/ProjectEditor.h"

#include "editing/GatewayAddressPlanner.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace vantor::editing {
namespace {

bool validAddress(int a) {
    return a >= 0 && a < 256;
}

bool addressUsed(const model::CVantorDoc& doc, int address, const std::string* onLine) {
    return std::any_of(doc.slaves.begin(), doc.slaves.end(), [&](const model::CSlave& s) {
        return s.address == address && (!onLine || s.com_name == *onLine);
    });
}

// Releases a removed slave's address: the line's entry unless another slave
// of the line still has it, the project-wide entry unless any slave does.
void releaseAddress(model::CVantorDoc& doc, int line, int address) {
    if (!validAddress(address))
        return;
    const auto a = static_cast<std::size_t>(address);
    if (line >= 0) {
        auto& com = doc.coms[static_cast<std::size_t>(line)];
        if (!addressUsed(doc, address, &com.COMName))
            com.addArea[a] = 0;
    }
    if (!addressUsed(doc, address, nullptr))
        doc.slaveAddrFlag[a] = 0;
}

bool isZrtu2(const std::string& name) {
    return name == "NXE-485-ZRTU2" || name == "NXE-485-ZRTU2E";
}

// Lines are drawn one below the other by port position on the multi-port
// models; every other model draws its line at the top.
int lineRow(const model::GatewayModel& m, const std::string& portName) {
    if (m.ports.size() < 2 || m.has(model::FeatureCdt))
        return 0;
    auto it = std::find(m.ports.begin(), m.ports.end(), portName);
    return it == m.ports.end() ? 0 : static_cast<int>(it - m.ports.begin());
}

CatalogueOutcome refused() {
    return {CatalogueAction::Refused, -1, {}};
}

CatalogueOutcome activatePort(model::CVantorDoc& doc, const std::string& port, MessageSink& sink) {
    if (!doc.hasMaster()) {
        sink.error(VT_TEXT("错误"), VT_TEXT("没有主站，请添加主站！"));
        return refused();
    }
    const std::string& name = doc.modelName();
    const model::GatewayModel& m = model::gatewayModel(name);
    if (std::find(m.ports.begin(), m.ports.end(), port) == m.ports.end()) {
        sink.error(VT_TEXT("错误"), portNotAllowedMessage(name));
        return refused();
    }
    // The CDT gateway's COM1 is its CDT link, created with the gateway; the
    // catalogue item opens its options instead.
    if (m.has(model::FeatureCdt) && port == "COM1")
        return {CatalogueAction::OpenCdtOptions, doc.lineByName(port), {}};
    if (doc.lineByName(port) >= 0) {
        sink.error(VT_TEXT("错误"), portExistsMessage(name, port));
        return refused();
    }
    return {CatalogueAction::LineAdded, addLine(doc, port), {}};
}

CatalogueOutcome activateNormalSlave(model::CVantorDoc& doc, MessageSink& sink) {
    int line = doc.selectedCom();
    if (line < 0) {
        if (int s = doc.selectedSlave(); s >= 0) {
            line = doc.lineOfSlave(s);
            if (line >= 0)
                doc.selectedItem = doc.comItem(line);
        }
    }
    if (line < 0) {
        sink.error(VT_TEXT("错误"), VT_TEXT("没有选中的COM线"));
        return refused();
    }
    if (!model::checkSlaveCount(doc, line, sink))
        return refused();
    if (doc.proposeSlaveAddress(line) < 0) {
        sink.error(VT_TEXT("错误"), kNoFreeSlaveAddress);
        return refused();
    }
    return {CatalogueAction::OpenNewSlaveForm, line, {}};
}

} // namespace

std::string portNotAllowedMessage(const std::string& modelName) {
    // Both variants of the two-port model go by the first one's name.
    if (isZrtu2(modelName))
        return text::shownFormat(VT_TEXT("%s只有两个COM口"), "NXE-485-ZRTU2");
    if (modelName == "KX-P4R0-1.0")
        return text::shownFormat(VT_TEXT("%s只有四个COM口"), modelName.c_str());
    if (modelName == "TRC-H-ZRTU")
        return text::shownFormat(VT_TEXT("%s只有两个COM口"), modelName.c_str());
    return text::shownFormat(VT_TEXT("%s只有%d个COM口"), modelName.c_str(),
                             static_cast<int>(model::gatewayModel(modelName).ports.size()));
}

std::string portExistsMessage(const std::string& modelName, const std::string& port) {
    const std::string shownModel = isZrtu2(modelName) ? "NXE-485-ZRTU2" : modelName;
    return text::shownFormat(VT_TEXT("%s的%s已经存在"), shownModel.c_str(), port.c_str());
}

CatalogueOutcome activateCatalogueItem(model::CVantorDoc& doc, std::string_view text, std::string_view parent,
                                       MessageSink& sink) {
    const std::string item(text);
    if (model::findGatewayModel(item)) {
        if (doc.hasMaster()) {
            sink.error(VT_TEXT("错误"), VT_TEXT("只支持单主站"));
            return refused();
        }
        addGateway(doc, item);
        return {CatalogueAction::GatewayAdded, -1, {}};
    }
    if (parent == kComRoot)
        return activatePort(doc, item, sink);
    if (text == kNormalSlave)
        return activateNormalSlave(doc, sink);
    if (parent == kNormalSlave && model::findCommandKind(text)) {
        if (doc.selectedSlave() < 0) {
            sink.error(VT_TEXT("错误"), VT_TEXT("请选择从站!"));
            return refused();
        }
        if (!model::checkCommandCount(doc, sink))
            return refused();
        return {CatalogueAction::OpenCommandForm, -1, item};
    }
    return {};
}

int addGateway(model::CVantorDoc& doc, const std::string& modelName) {
    model::CMaster m;
    m.masterName = modelName;
    m.bitmap = modelName;
    m.x = 35;
    m.y = 35;
    doc.masters.push_back(m);
    doc.selectedItem = doc.masterItem(static_cast<int>(doc.masters.size()) - 1);
    doc.modified = true;
    if (model::gatewayModel(modelName).has(model::FeatureCdt)) {
        // COM1 carries the CDT link: not drawn, no parity, counted as holding
        // the two CDT stations.
        model::CCOM link;
        link.COMName = "COM1";
        link.num_com = 1;
        link.x = -1;
        link.y = -1;
        link.com_length = 0;
        link.check = 0;
        link.stop = 0;
        link.slave_num = 2;
        doc.coms.push_back(link);
        int com2 = addLine(doc, "COM2");
        doc.coms[static_cast<std::size_t>(com2)].check = 0;
    }
    return static_cast<int>(doc.masters.size()) - 1;
}

int addLine(model::CVantorDoc& doc, const std::string& portName) {
    model::CCOM com;
    com.COMName = portName;
    com.num_com = static_cast<int>(doc.coms.size());
    com.x = 260;
    com.y = 80 + 150 * lineRow(model::gatewayModel(doc.modelName()), portName);
    doc.coms.push_back(com);
    int index = static_cast<int>(doc.coms.size()) - 1;
    doc.selectedItem = doc.comItem(index);
    doc.modified = true;
    return index;
}

int addSlave(model::CVantorDoc& doc, int line, const NewSlaveValues& values) {
    model::CSlave s;
    s.address = values.address;
    s.space = values.space;
    s.timeout = values.timeout;
    s.name = values.name;
    s.com_name = doc.coms.at(static_cast<std::size_t>(line)).COMName;
    auto [x, y] = doc.placeNewSlave(line);
    s.x = x;
    s.y = y;
    doc.slaves.push_back(s);
    int index = static_cast<int>(doc.slaves.size()) - 1;
    doc.selectedItem = doc.slaveItem(index);
    doc.modified = true;
    return index;
}

void removeSlave(model::CVantorDoc& doc, int slave) {
    if (slave < 0 || slave >= static_cast<int>(doc.slaves.size()))
        throw std::invalid_argument("slave index out of range");
    if (doc.copiedSlave == slave)
        doc.copiedSlave = -1;
    else if (doc.copiedSlave > slave)
        doc.copiedSlave -= 1;
    int line = doc.lineOfSlave(slave);
    int address = doc.slaves[static_cast<std::size_t>(slave)].address;
    doc.slaves.erase(doc.slaves.begin() + slave);
    if (line >= 0)
        doc.coms[static_cast<std::size_t>(line)].slave_num -= 1;
    releaseAddress(doc, line, address);
}

bool deleteSelection(model::CVantorDoc& doc, MessageSink& sink) {
    const int slave = doc.selectedSlave();
    const int master = doc.selectedMaster();
    const int line = doc.selectedCom();
    const char* caption = slave >= 0    ? VT_TEXT("删除从站")
                          : line >= 0   ? VT_TEXT("删除com")
                          : master >= 0 ? VT_TEXT("删除主站")
                                        : nullptr;
    if (!caption || !sink.question(caption, VT_TEXT("确实要删除吗？")))
        return false;
    if (slave >= 0) {
        removeSlave(doc, slave);
    } else if (line >= 0) {
        const std::string name = doc.coms[static_cast<std::size_t>(line)].COMName;
        for (int k = static_cast<int>(doc.slaves.size()) - 1; k >= 0; --k)
            if (doc.slaves[static_cast<std::size_t>(k)].com_name == name)
                removeSlave(doc, k);
        doc.coms[static_cast<std::size_t>(line)].addArea.fill(0);
        doc.coms.erase(doc.coms.begin() + line);
    } else {
        for (int k = static_cast<int>(doc.slaves.size()) - 1; k >= 0; --k)
            removeSlave(doc, k);
        doc.coms.clear();
        doc.masters.clear();
        doc.copiedSlave = -1;
    }
    doc.selectedItem = -1;
    doc.modified = true;
    return true;
}

void copySelection(model::CVantorDoc& doc) {
    doc.copiedSlave = doc.selectedSlave();
}

PasteOutcome appendPastedSlave(model::CVantorDoc& doc, int source, int line, int address, MessageSink& sink,
                               const EipSizeCheck& eipCheck) {
    PasteOutcome out;
    auto& com = doc.coms.at(static_cast<std::size_t>(line));
    com.addArea[static_cast<std::size_t>(address)] = 1;
    doc.slaveAddrFlag[static_cast<std::size_t>(address)] = 1;
    doc.lastProposedSlaveAddress = address;

    // The new slave.
    const model::CSlave original = doc.slaves.at(static_cast<std::size_t>(source));
    model::CSlave s;
    s.address = address;
    s.name = "SLAVE";
    s.space = original.space;
    s.timeout = original.timeout;
    s.com_name = com.COMName;
    auto [x, y] = doc.placeNewSlave(line);
    s.x = x;
    s.y = y;
    doc.slaves.push_back(s);
    out.slave = static_cast<int>(doc.slaves.size()) - 1;
    auto modules = [&]() -> std::vector<model::CModule>& {
        return doc.slaves[static_cast<std::size_t>(out.slave)].modules;
    };

    // The commands, each on a free gateway range of its own.
    for (const model::CModule& command : original.modules) {
        model::CModule m = command;
        const int area = model::areaIndex(m.area_num);
        const int lowerBound = area >= 0 ? doc.nextGateAddress[static_cast<std::size_t>(area)] : 0;
        const int gate = proposeGatewayRange(doc, lowerBound, m.area_num, m.Length);
        if (gate < 0) {
            sink.error(VT_TEXT("错误"), kNoFreeGatewayAddress);
            break;
        }
        m.Gate_Add = gate;
        if (area >= 0)
            doc.nextGateAddress[static_cast<std::size_t>(area)] += m.Length;
        if (!model::checkCommandCount(doc, sink))
            break;
        modules().push_back(m);
        if (!model::checkAreas(doc, sink)) {
            modules().pop_back();
            continue;
        }
        if (!runEipSizeCheck(eipCheck, doc, sink)) {
            modules().pop_back();
            continue;
        }
        ++out.commands;
    }
    out.pasted = true;
    return out;
}

PasteOutcome paste(model::CVantorDoc& doc, MessageSink& sink, const EipSizeCheck& eipCheck) {
    if (doc.copiedSlave < 0 || doc.copiedSlave >= static_cast<int>(doc.slaves.size())) {
        sink.error(VT_TEXT("错误"), VT_TEXT("请选择从站"));
        return {};
    }
    // 1. Target line.
    int line = doc.selectedCom();
    if (line < 0 && doc.selectedSlave() >= 0)
        line = doc.lineOfSlave(doc.selectedSlave());
    if (line < 0) {
        sink.error(VT_TEXT("错误"), VT_TEXT("没有选中的COM线"));
        return {};
    }
    // 2. Slave limit.
    if (!model::checkSlaveCount(doc, line, sink))
        return {};
    // 3. Address: the lowest free one in the table of the addressing mode.
    const int address = doc.proposeSlaveAddress(line);
    if (address < 0) {
        sink.error(VT_TEXT("错误"), kNoFreeSlaveAddress);
        return {};
    }
    if (doc.coms[static_cast<std::size_t>(line)].addArea[static_cast<std::size_t>(address)] != 0) {
        sink.error(VT_TEXT("错误"), kAddressTaken);
        return {};
    }
    // 4., 5. The new slave with its commands.
    PasteOutcome out = appendPastedSlave(doc, doc.copiedSlave, line, address, sink, eipCheck);

    // 6. The target line becomes the selection.
    doc.selectedItem = doc.comItem(line);

    // 7. A paste that copied nothing is taken back.
    if (out.commands == 0) {
        removeSlave(doc, out.slave);
        doc.selectedItem = -1;
        return {};
    }
    doc.modified = true;
    return out;
}

} // namespace vantor::editing
