#pragma once
// Projects assembled the way a user assembles them: the catalogue, the
// property dialogs' forms, the command dialog and the device settings, each
// through its core operation, with their checks passing. Used by the
// workbook tests and benchmarks; the largest is the most a model takes
// (every port, the slave limit on each, the command limit).
#include "common/MessageSink.h"
#include "editing/AddressingModeForm.h"
#include "editing/CdtOptionsForm.h"
#include "editing/ComPropertiesForm.h"
#include "editing/CommandEditor.h"
#include "editing/DefaultValuesForm.h"
#include "editing/EipParamsForm.h"
#include "editing/ProjectEditor.h"
#include "editing/SlavePropertiesForm.h"
#include "model/CVantorDoc.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"
#include "services/WorkMode.h"
#include "view/GraphicScene.h"

#include <array>
#include <stdexcept>
#include <string>

namespace vantor::testing {

struct Assembly {
    int slavesPerLine = -1; // -1: the model's limit
    int commands = -1;      // -1: the model's limit
    bool remote = false;    // remote-slave addressing (models that offer it)
    // Gateway addresses as the command dialog proposes them; the commands
    // are then entered slave by slave, the order of a workbook's rows.
    bool proposed = false;
};

// Any refusal while assembling is a fault of the fixture.
class StrictSink : public MessageSink {
public:
    using MessageSink::error;
    void error(const std::string&, const std::string& text) override {
        throw std::logic_error("assembling refused: " + text);
    }
    void information(const std::string&, const std::string&) override {}
    bool question(const std::string&, const std::string&) override { return true; }
};

inline void accepted(editing::FormResult r) {
    if (r != editing::FormResult::Accepted)
        throw std::logic_error("a form stayed open");
}

// Lengths per command kind (catalogue order) that keep the model's areas
// and, for the CDT gateway, its telesignal and telemetry sums within limits
// at 512 commands.
inline std::array<int, 8> commandLengths(bool cdt) {
    return cdt ? std::array<int, 8>{1, 1, 1, 4, 2, 2, 1, 4} : std::array<int, 8>{8, 8, 1, 16, 8, 4, 1, 4};
}

inline model::CVantorDoc assembleProject(const model::GatewayModel& gm, const Assembly& a = {}) {
    StrictSink sink;
    model::CVantorDoc doc;
    doc.NewDocument("/nonexistent");
    const std::string name(gm.name);
    const bool cdt = gm.has(model::FeatureCdt);
    editing::activateCatalogueItem(doc, name, editing::kMasterRoot, sink);
    doc.masters[0].x = 41;
    if (a.remote && gm.has(model::FeatureAddressingMode))
        accepted(editing::acceptAddressingModeForm(doc, {true}, sink));
    accepted(editing::acceptDefaultValuesForm(doc, {true, "120", "700"}, sink));
    doc.IP = "192.168.3.20"; // as 访问参数设置 stores it
    doc.SETIP = "10.1.2.3";  // as 网络参数设置 stores what the gateway acknowledged
    doc.SETMASK = "255.255.0.0";
    doc.SETGW = "10.1.0.1";
    doc.SETPORT = 1502;
    if (gm.has(model::FeatureWorkMode))
        services::storeWorkMode(doc, services::kWorkModeTcpMaster);
    if (gm.has(model::FeatureEipParams)) {
        // COM1 state words and COM2 control words on; COM3's state words set
        // once and switched off again.
        auto f = editing::EipParamsForm::load(doc);
        f.setEnabled(0, true, doc);
        f.groups[0].start = "2001";
        f.groups[0].count = "4";
        f.setEnabled(7, true, doc);
        f.groups[7].start = "2257";
        f.groups[7].count = "3";
        f.setEnabled(2, true, doc);
        f.groups[2].start = "2520";
        f.groups[2].count = "9";
        if (!f.apply(doc, sink))
            throw std::logic_error("EtherNet/IP areas");
        f = editing::EipParamsForm::load(doc);
        f.setEnabled(2, false, doc);
        if (!f.apply(doc, sink))
            throw std::logic_error("EtherNet/IP areas");
    }
    if (cdt) {
        auto f = editing::CdtOptionsForm::load(doc);
        f.baudItem = 1;
        f.parityItem = 1;
        f.remoteStation = "5";
        f.gatewayStation = "9";
        f.telemetryPeriod = "995";
        f.telesignalPeriod = "300";
        if (!f.apply(doc, sink))
            throw std::logic_error("CDT options");
    }
    // Every port the model has (the CDT gateway brought its two along).
    for (const auto& port : gm.ports)
        if (doc.lineByName(std::string(port)) < 0)
            editing::activateCatalogueItem(doc, std::string(port), editing::kComRoot, sink);
    for (int k = 0; k < static_cast<int>(doc.coms.size()); ++k) {
        if (cdt && doc.coms[static_cast<std::size_t>(k)].COMName == "COM1")
            continue;
        auto f = editing::openComForm(doc, k);
        f.baud = (k + 3) % 7;
        f.check = k % 3;
        f.stop = k % 2;
        f.intervalText = std::to_string(40 + 10 * k);
        accepted(editing::acceptComForm(doc, f, sink));
    }
    // Slaves: names with Chinese and markup characters, times and config
    // words varied, some moved in the drawing.
    const int perLine = a.slavesPerLine >= 0 ? a.slavesPerLine : gm.slaveLimit;
    int n = 0;
    for (int k = 0; k < static_cast<int>(doc.coms.size()); ++k) {
        if (cdt && doc.coms[static_cast<std::size_t>(k)].COMName == "COM1")
            continue;
        for (int i = 0; i < perLine; ++i, ++n) {
            doc.selectedItem = doc.comItem(k);
            auto f = editing::openNewSlaveForm(doc, k, sink);
            f->nameText = "从站" + std::to_string(n) + (n % 4 == 0 ? " <温&度>\"" : "");
            f->intervalText = std::to_string((n % 31) * 100);
            f->timeoutText = std::to_string(100 + (n % 29) * 100);
            accepted(editing::acceptSlaveForm(doc, *f, sink));
            const int s = editing::addSlave(doc, k, f->result);
            if (n % 3 != 0) {
                auto again = editing::openSlaveForm(doc, s);
                again.operationEnable = n % 3 == 1;
                accepted(editing::acceptSlaveForm(doc, again, sink));
            }
            if (n % 5 == 0) {
                // Dragged a little; the drawing fits the line to it.
                doc.slaves[static_cast<std::size_t>(s)].x += 7;
                view::fitLine(doc, k);
            }
        }
    }
    doc.coms.back().x += 10; // a line dragged (the CDT link is not drawn) and fitted
    view::fitLine(doc, static_cast<int>(doc.coms.size()) - 1);
    // Commands dealt round the slaves (or slave by slave), every kind in turn.
    const int total = a.commands >= 0 ? a.commands : gm.commandLimit;
    const int slaves = static_cast<int>(doc.slaves.size());
    const auto lengths = commandLengths(cdt);
    std::array<int, 5> next{};
    for (int i = 0; i < total && !doc.slaves.empty(); ++i) {
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(i % 8)];
        doc.selectedItem = doc.slaveItem(a.proposed ? i * slaves / total : i % slaves);
        auto f = editing::openNewCommandForm(doc, kind.func, sink, a.proposed);
        f->startText = std::to_string(i * 20);
        f->lengthText = std::to_string(lengths[static_cast<std::size_t>(i % 8)]);
        if (!a.proposed)
            f->gatewayText = std::to_string(next[static_cast<std::size_t>(kind.area)]);
        next[static_cast<std::size_t>(kind.area)] += lengths[static_cast<std::size_t>(i % 8)];
        f->commentText = i % 3 == 0 ? "注释" + std::to_string(i) + " <温度&压力> \"引号\"" : "";
        if (kind.readWrite != 0 && i % 3 == 0)
            f->editSend = !f->editSend;
        f->cdtYx = f->cdtYxVisible && i % 2 == 0;
        accepted(editing::acceptCommandForm(doc, *f, sink));
        if (f->index < 0 || !model::checkAreas(doc, sink))
            throw std::logic_error("command " + std::to_string(i) + " refused");
    }
    doc.selectedItem = -1;
    return doc;
}

} // namespace vantor::testing
