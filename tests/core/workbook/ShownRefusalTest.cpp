// A refused row as the refusal list shows it: in the user's language through
// the installed translator, the sheet's and column's names (and the cells'
// choices) as the workbook has them; without a translator exactly the text
// the command-line tool prints.
#include "AssembledProjects.h"
#include "WorkbookFixtures.h"

#include "model/GatewayCatalogue.h"
#include "text/Shown.h"
#include "workbook/VantorWorkbook.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

namespace {

using namespace vantor;
namespace t = vantor::testing;
using sheet::Cell;
using t::Op;

const vantor::testing::English kEnglish = {
    {"%s 第%d行 %s: %s", "%s row %d, %s: %s"},
    {"%s请添入一个%d和%d之间的整数", "%s: enter a whole number between %d and %d"},
    {"%s应为%s", "%s must be %s"},
    {"%s或%s", "%s or %s"},
    {"%s、%s", "%s, %s"},
    {"此功能没有%s", "This function has no %s"},
    {"工程中没有此串口", "The project has no such serial port"},
    {"工作簿中没有此工作表", "The workbook has no such sheet"},
    {"长度请添入一个1和%d之间的整数", "Length: enter a whole number between 1 and %d"},
};

struct Case {
    const char* what;
    t::SheetEdit edit;
    const char* chinese;
    const char* inEnglish;
};

// clang-format off
const Case kCases[] = {
    {"a number out of range", {"串口", nullptr, 0, Op::Set, {{"线长", Cell::of(-1.0)}}},
     "串口 第2行 线长: 线长请添入一个0和10000之间的整数",
     "串口 row 2, 线长: 线长: enter a whole number between 0 and 10000"},
    {"a text off the list", {"串口", nullptr, 0, Op::Set, {{"校验位", Cell::of(std::string("无"))}}},
     "串口 第2行 校验位: 校验位应为无校验、奇校验或偶校验",
     "串口 row 2, 校验位: 校验位 must be 无校验, 奇校验 or 偶校验"},
    {"the import's own constant", {"从站", nullptr, 0, Op::Set, {{"串口", Cell::of(std::string("COM5"))}}},
     "从站 第2行 串口: 工程中没有此串口",
     "从站 row 2, 串口: The project has no such serial port"},
    {"a box the function lacks",
     {"命令", nullptr, 0, Op::Set, {{"功能", Cell::of(std::string("读0区 01H"))}, {"数变即发", Cell::of(std::string("是"))}}},
     "命令 第2行 数变即发: 此功能没有数变即发",
     "命令 row 2, 数变即发: This function has no 数变即发"},
    // An operation's own message names its column by the Chinese it starts
    // with, also when it is shown in English.
    {"an operation's refusal", {"命令", "读4区 03H", 0, Op::Set, {{"长度", Cell::of(200.0)}}},
     "命令 第9行 长度: 长度请添入一个1和125之间的整数",
     "命令 row 9, 长度: Length: enter a whole number between 1 and 125"},
    {"a sheet missing", {"命令", nullptr, 0, Op::DropSheet, {}},
     "命令: 工作簿中没有此工作表",
     "命令: The workbook has no such sheet"},
};
// clang-format on

TEST(ShownRefusals, ComeInTheUsersLanguageAndAsWrittenWithoutATranslator) {
    const vantor::testing::FakeTranslator english(kEnglish);
    const auto project = t::assembleProject(*model::findGatewayModel("KX-P2R0-1.0"), {3, 8});
    for (const Case& c : kCases) {
        for (const bool translated : {false, true}) {
            english.install(translated);
            auto sheets = workbook::exportSheets(project);
            t::applyEdit(sheets, c.edit);
            t::Scratch s;
            model::CVantorDoc fresh;
            fresh.NewDocument("/nonexistent");
            const auto result = workbook::importSheets(t::writeAndRead(sheets, s), fresh);
            ASSERT_FALSE(result.accepted()) << c.what;
            EXPECT_EQ(sheet::ImportReport::line(result.report.refusals().front()),
                      translated ? c.inEnglish : c.chinese)
                << c.what;
        }
    }
}

} // namespace
