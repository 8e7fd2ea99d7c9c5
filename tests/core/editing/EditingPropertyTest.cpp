// Random sequences of the user's editing actions, driven only through the
// operations the window calls, must keep the project consistent: line counts
// and both address tables match the slaves, addresses stay unique as the
// addressing mode demands, and no two commands of an area share gateway
// addresses.
#include "editing/AddressingModeForm.h"
#include "editing/CommandEditor.h"
#include "editing/ModuleList.h"
#include "editing/ProjectEditor.h"
#include "editing/SlavePropertiesForm.h"
#include "model/GatewayCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

using namespace vantor;

namespace {

class Driver {
public:
    Driver(std::string model, unsigned seed) : model_(std::move(model)), rng_(seed) {
        editing::activateCatalogueItem(doc, model_, editing::kMasterRoot, sink);
    }

    model::CVantorDoc doc;
    RecordingSink sink;

    void step() {
        switch (pick(12)) {
        case 0:
            addLine();
            break;
        case 1:
        case 2:
            addSlave();
            break;
        case 3:
        case 4:
        case 5:
            addCommand();
            break;
        case 6:
            editCommand();
            break;
        case 7:
            editSlave();
            break;
        case 8:
            copyPaste();
            break;
        case 9:
            deleteSomething();
            break;
        case 10:
            deleteCommand();
            break;
        default:
            switchMode();
            break;
        }
        sink.messages.clear();
    }

    void checkInvariants(int stepNumber) const {
        SCOPED_TRACE("step " + std::to_string(stepNumber));
        std::set<std::string> names;
        for (const auto& com : doc.coms) {
            ASSERT_TRUE(names.insert(com.COMName).second) << "two lines named " << com.COMName;
            int count = 0;
            std::array<int, 256> used{};
            for (const auto& s : doc.slaves)
                if (s.com_name == com.COMName) {
                    ++count;
                    ASSERT_GE(s.address, 1);
                    ASSERT_LE(s.address, 247);
                    ++used[static_cast<std::size_t>(s.address)];
                }
            ASSERT_EQ(com.slave_num, count) << com.COMName;
            ASSERT_LE(count, model::gatewayModel(model_).slaveLimit);
            for (std::size_t a = 0; a < 256; ++a) {
                ASSERT_EQ(com.addArea[a] != 0, used[a] > 0) << com.COMName << " address " << a;
                ASSERT_LE(used[a], 1) << "address " << a << " twice on " << com.COMName;
            }
        }
        std::array<int, 256> anywhere{};
        for (const auto& s : doc.slaves) {
            ASSERT_TRUE(names.count(s.com_name)) << "slave on missing line " << s.com_name;
            ++anywhere[static_cast<std::size_t>(s.address)];
        }
        for (std::size_t a = 0; a < 256; ++a) {
            ASSERT_EQ(doc.slaveAddrFlag[a] != 0, anywhere[a] > 0) << "slaveAddrFlag " << a;
            if (doc.addType == 1) {
                ASSERT_LE(anywhere[a], 1) << "address " << a << " twice in remote addressing";
            }
        }
        ASSERT_TRUE(doc.copiedSlave == -1 || doc.copiedSlave < static_cast<int>(doc.slaves.size()));
        ASSERT_LE(doc.commandCount(), model::gatewayModel(model_).commandLimit);
        // Gateway ranges are disjoint within each area.
        for (int area : model::kAreas) {
            std::vector<std::pair<int, int>> ranges;
            for (const auto& s : doc.slaves)
                for (const auto& m : s.modules)
                    if (m.area_num == area)
                        ranges.emplace_back(m.Gate_Add, m.Gate_Add + m.Length);
            std::sort(ranges.begin(), ranges.end());
            for (std::size_t i = 1; i < ranges.size(); ++i)
                ASSERT_LE(ranges[i - 1].second, ranges[i].first)
                    << "area " << area << " overlap at " << ranges[i].first;
        }
    }

    int actions = 0;  // operations that changed the project
    int refusals = 0; // operations refused with a message

private:
    int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    void selectRandomLineOrSlave() {
        int total = static_cast<int>(doc.slaves.size() + doc.coms.size());
        if (total == 0)
            return;
        int k = pick(total);
        doc.selectedItem = k < static_cast<int>(doc.slaves.size())
                               ? doc.slaveItem(k)
                               : doc.comItem(k - static_cast<int>(doc.slaves.size()));
    }

    void count(bool changed) {
        if (changed)
            ++actions;
        else if (!sink.messages.empty())
            ++refusals;
    }

    void addLine() {
        std::string port = "COM" + std::to_string(1 + pick(6));
        auto out = editing::activateCatalogueItem(doc, port, editing::kComRoot, sink);
        count(out.action == editing::CatalogueAction::LineAdded);
    }

    void addSlave() {
        selectRandomLineOrSlave();
        auto out = editing::activateCatalogueItem(doc, editing::kNormalSlave, editing::kSlaveRoot, sink);
        if (out.action != editing::CatalogueAction::OpenNewSlaveForm)
            return count(false);
        auto form = editing::openNewSlaveForm(doc, out.line, sink);
        if (!form)
            return count(false);
        if (pick(2))
            form->addressText = std::to_string(1 + pick(12)); // small range: many collisions
        if (editing::acceptSlaveForm(doc, *form, sink) == editing::FormResult::Accepted) {
            editing::addSlave(doc, out.line, form->result);
            count(true);
        } else {
            count(false);
        }
    }

    void editSlave() {
        if (doc.slaves.empty())
            return;
        int s = pick(static_cast<int>(doc.slaves.size()));
        auto form = editing::openSlaveForm(doc, s);
        form.addressText = std::to_string(1 + pick(12));
        count(editing::acceptSlaveForm(doc, form, sink) == editing::FormResult::Accepted);
    }

    void fillCommandFields(editing::CommandForm& form) {
        if (pick(3) == 0)
            form.gatewayText = std::to_string(pick(300));
        if (form.lengthEnabled)
            form.lengthText = std::to_string(1 + pick(40));
        if (pick(3) == 0)
            form.startText = std::to_string(pick(100));
    }

    void addCommand() {
        if (doc.slaves.empty())
            return;
        doc.selectedItem = doc.slaveItem(pick(static_cast<int>(doc.slaves.size())));
        const auto& kind = model::kCommandKinds[static_cast<std::size_t>(pick(8))];
        auto out = editing::activateCatalogueItem(doc, kind.func, editing::kNormalSlave, sink);
        if (out.action != editing::CatalogueAction::OpenCommandForm)
            return count(false);
        auto form = editing::openNewCommandForm(doc, out.kind, sink);
        ASSERT_TRUE(form);
        fillCommandFields(*form);
        count(editing::acceptCommandForm(doc, *form, sink) == editing::FormResult::Accepted);
    }

    void editCommand() {
        if (doc.slaves.empty())
            return;
        int s = pick(static_cast<int>(doc.slaves.size()));
        if (doc.slaves[static_cast<std::size_t>(s)].modules.empty())
            return;
        doc.selectedItem = doc.slaveItem(s);
        int row = pick(static_cast<int>(doc.slaves[static_cast<std::size_t>(s)].modules.size()));
        auto form = editing::openEditCommandForm(doc, row);
        ASSERT_TRUE(form);
        fillCommandFields(*form);
        count(editing::acceptCommandForm(doc, *form, sink) == editing::FormResult::Accepted);
    }

    void deleteCommand() {
        if (doc.slaves.empty())
            return;
        doc.selectedItem = doc.slaveItem(pick(static_cast<int>(doc.slaves.size())));
        int n = static_cast<int>(doc.slaves[static_cast<std::size_t>(doc.selectedSlave())].modules.size());
        if (n > 0)
            count(editing::deleteCommand(doc, pick(n), sink));
    }

    void copyPaste() {
        selectRandomLineOrSlave();
        if (pick(2))
            editing::copySelection(doc);
        selectRandomLineOrSlave();
        count(editing::paste(doc, sink).pasted);
    }

    void deleteSomething() {
        // Slaves mostly, lines sometimes, the gateway rarely (then a new one).
        int r = pick(20);
        if (r == 0 && doc.hasMaster()) {
            doc.selectedItem = doc.masterItem(0);
        } else if (r < 4 && !doc.coms.empty()) {
            doc.selectedItem = doc.comItem(pick(static_cast<int>(doc.coms.size())));
        } else if (!doc.slaves.empty()) {
            doc.selectedItem = doc.slaveItem(pick(static_cast<int>(doc.slaves.size())));
        } else {
            return;
        }
        count(editing::deleteSelection(doc, sink));
        if (!doc.hasMaster())
            editing::activateCatalogueItem(doc, model_, editing::kMasterRoot, sink);
    }

    void switchMode() {
        editing::AddressingModeForm form{pick(2) == 0};
        count(editing::acceptAddressingModeForm(doc, form, sink) == editing::FormResult::Accepted);
    }

    std::string model_;
    std::mt19937 rng_;
};

struct PropertyCase {
    const char* model;
    unsigned seed;
};

class EditingPropertyTest : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(EditingPropertyTest, RandomEditsKeepTheProjectConsistent) {
    Driver d(GetParam().model, GetParam().seed);
    constexpr int kSteps = 1500;
    for (int i = 0; i < kSteps; ++i) {
        d.step();
        d.checkInvariants(i);
        if (::testing::Test::HasFatalFailure())
            return;
    }
    // The walk must have done real work, not only collected refusals.
    EXPECT_GT(d.actions, kSteps / 4);
    EXPECT_GT(d.refusals, 10);
    EXPECT_GT(d.doc.commandCount() + static_cast<int>(d.doc.slaves.size()), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EditingPropertyTest,
                         ::testing::Values(PropertyCase{"KX-P6R0-1.0", 1}, PropertyCase{"KX-P6R0-1.0", 77},
                                           PropertyCase{"TRX-H-QMB6", 5}, PropertyCase{"KX-P2R0-1.0", 2026}));

} // namespace
