// Export, import, save gives the bytes of the original project's save: for
// the largest project of every gateway model in the catalogue, assembled
// through the editing operations, and for gateway addresses left blank,
// which take the command dialog's proposals.
#include "AssembledProjects.h"
#include "WorkbookFixtures.h"

#include "model/GatewayCatalogue.h"
#include "view/GraphicScene.h"
#include "workbook/VantorWorkbook.h"

#include <gtest/gtest.h>

namespace {

using namespace vantor;
namespace t = vantor::testing;

model::CVantorDoc freshProject() {
    model::CVantorDoc doc;
    doc.NewDocument("/nonexistent");
    return doc;
}

class EveryModel : public ::testing::TestWithParam<std::size_t> {};

TEST_P(EveryModel, ReadsBackToTheSameSave) {
    const model::GatewayModel& gm = model::gatewayModels()[GetParam()];
    // Remote-slave addressing on every other model that offers it.
    const model::CVantorDoc original = t::assembleProject(gm, {.remote = GetParam() % 2 == 1});
    ASSERT_EQ(original.commandCount(), gm.commandLimit);
    t::Scratch s;
    const auto result =
        workbook::importSheets(t::writeAndRead(workbook::exportSheets(original), s), freshProject());
    ASSERT_TRUE(result.accepted()) << result.report.text();
    EXPECT_EQ(t::savedBytes(*result.project, s), t::savedBytes(original, s));
    // What the file does not keep but the dialogs set comes back too.
    EXPECT_EQ(result.project->cdtOptions, original.cdtOptions);
    EXPECT_EQ(result.project->editSendDefault, original.editSendDefault);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryModel,
                         ::testing::Range<std::size_t>(0, model::gatewayModels().size()),
                         [](const auto& info) {
                             std::string n(model::gatewayModels()[info.param].name);
                             for (char& c : n)
                                 if (c == '-' || c == '.')
                                     c = '_';
                             return n;
                         });

TEST(RoundTrip, BlankGatewayAddressesTakeTheDialogsProposals) {
    const auto& gm = *model::findGatewayModel("KX-P4R0-1.0");
    const model::CVantorDoc original =
        t::assembleProject(gm, {.slavesPerLine = 3, .commands = 40, .proposed = true});
    auto sheets = workbook::exportSheets(original);
    for (auto& row : sheets[3].rows)
        row[workbook::kCmGateway] = {};
    t::Scratch s;
    const auto result = workbook::importSheets(t::writeAndRead(sheets, s), freshProject());
    ASSERT_TRUE(result.accepted()) << result.report.text();
    EXPECT_EQ(t::savedBytes(*result.project, s), t::savedBytes(original, s));
}

} // namespace

namespace {

// Cells the import stores as the windows would: an address as the address
// control completes it, a slave past the end of its line placed there with
// the line fitted to it as after a drop in the drawing.
TEST(RoundTrip, CellsStoredAsTheWindowsStoreThem) {
    const auto& gm = *model::findGatewayModel("KX-P2R0-1.0");
    const model::CVantorDoc original = t::assembleProject(gm, {.slavesPerLine = 3, .commands = 8});
    struct Case {
        const char* what;
        t::SheetEdit edit;
        void (*expect)(model::CVantorDoc&);
    };
    const Case cases[] = {
        {"access IP with leading zeros",
         {workbook::kGatewaySheet,
          nullptr,
          0,
          t::Op::Set,
          {{"访问IP地址", sheet::Cell::of(std::string("192.168.003.020"))}}},
         [](model::CVantorDoc&) {}},
        {"slave past the end of its line",
         {workbook::kSlavesSheet, nullptr, 2, t::Op::Set, {{"位置X", sheet::Cell::of(3000.0)}}},
         [](model::CVantorDoc& d) {
             d.slaves[2].x = 3000;
             view::fitLine(d, d.lineOfSlave(2));
         }},
    };
    for (const Case& c : cases) {
        auto sheets = workbook::exportSheets(original);
        t::applyEdit(sheets, c.edit);
        t::Scratch s;
        const auto result = workbook::importSheets(t::writeAndRead(sheets, s), freshProject());
        ASSERT_TRUE(result.accepted()) << c.what << ": " << result.report.text();
        model::CVantorDoc expected = original;
        c.expect(expected);
        EXPECT_EQ(t::savedBytes(*result.project, s), t::savedBytes(expected, s)) << c.what;
    }
}

} // namespace
