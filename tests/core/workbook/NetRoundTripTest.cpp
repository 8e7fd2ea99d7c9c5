// VantorNet: export, import, save gives the bytes of the original project's
// save, for the largest project of every gateway model (31 servers, 1024
// commands; the PROFIBUS gateway with both DP images full), assembled
// through the editing operations with a second unit on one server; on one
// model with the gateway addresses left blank, which take the command
// dialog's proposals.
#include "AssembledNetProjects.h"
#include "WorkbookFixtures.h"

#include "workbook/NetWorkbook.h"

#include <gtest/gtest.h>

namespace {

using namespace vantor;
namespace t = vantor::testing;

struct Case {
    const char* model;
    bool proposed;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.model;
}

class EveryNetModel : public ::testing::TestWithParam<Case> {};

TEST_P(EveryNetModel, ReadsBackToTheSameSave) {
    const Case c = GetParam();
    const net::CVantorNetDoc original = t::assembleNetProject(c.model, {.proposed = c.proposed});
    ASSERT_EQ(original.slaves.size(), std::size_t(net::kMaxSlaves));
    if (net::isProfibusModel(c.model)) {
        // Full: one more bit read does not compile.
        net::CVantorNetDoc more = original;
        more.slaves[1].nodes[0].modules.push_back({0, 1, 0, 0, 0, 1, "读0区 01H", "", 0});
        RecordingSink messages;
        ASSERT_FALSE(net::checkNetCompile(more, messages));
    } else {
        ASSERT_EQ(original.commandCount(), net::kMaxCommands);
    }
    auto sheets = workbook::exportNetSheets(original);
    if (c.proposed)
        for (auto& row : sheets[4].rows)
            row[workbook::kNcGateway] = {};
    t::Scratch s;
    const auto result = workbook::importNetSheets(t::writeAndRead(sheets, s));
    ASSERT_TRUE(result.accepted()) << result.report.text();
    EXPECT_EQ(t::savedBytes(*result.project, s), t::savedBytes(original, s));
    // Typed in the sheet's order, the next proposals carry on as they did.
    if (c.proposed) {
        EXPECT_EQ(result.project->nextGateAddress, original.nextGateAddress);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryNetModel,
                         ::testing::Values(Case{"NXE-485-ZRTU2", false}, Case{"KX-P1R0-1.0", false},
                                           Case{"NXE-485-ZRTU2E", false}, Case{"KX-P1-1.0", false},
                                           Case{"QB-H-NET2.0", false}, Case{"LNK-P1-1.0", true}),
                         [](const auto& info) {
                             std::string n(info.param.model);
                             for (char& ch : n)
                                 if (ch == '-' || ch == '.')
                                     ch = '_';
                             return n + (info.param.proposed ? "_proposed" : "");
                         });

} // namespace
