// The fleet plan: CSV records, the header, the rows refused with their line
// before anything is sent, and the projects read and checked per row.
#include "fleet/FleetPlan.h"
#include "fleet/PreparedGateway.h"
#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"
#include "sheet/WorkbookWriter.h"
#include "text/Shown.h"
#include "transfer/GatewayAddress.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace vantor::fleet;

namespace {

constexpr const char* kHeader = "name,ip,port,project,mport\n";

struct RefusalCase {
    const char* what;
    std::string rows; // after the header
    std::vector<PlanRefusal> refusals;
    std::size_t runnable;
};

class PlanRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PlanRefusals, NamesEachRowThatCannotRun) {
    const auto& c = GetParam();
    const auto plan = parsePlan(kHeader + c.rows, "/plant");
    EXPECT_EQ(plan.error, "");
    EXPECT_EQ(plan.refusals, c.refusals);
    EXPECT_EQ(plan.rows.size(), c.runnable);
}

const std::string kGood = "a,10.0.0.1,5032,a.vtc,502\n";

INSTANTIATE_TEST_SUITE_P(
    Fleet, PlanRefusals,
    ::testing::Values(
        RefusalCase{"good", kGood, {}, 1},
        RefusalCase{"no name", " ,10.0.0.2,,b.vtc,\n", {{2, "", kPlanNoName}}, 0},
        RefusalCase{"duplicate name", kGood + "a,10.0.0.2,,b.vtc,\n", {{3, "a", duplicateNameText(2)}}, 1},
        RefusalCase{"bad address", "b,10.0.0,,b.vtc,\n", {{2, "b", vantor::transfer::kIpFormatWrong}}, 0},
        RefusalCase{"multicast", "b,224.0.0.1,,b.vtc,\n", {{2, "b", vantor::transfer::kIpFormatWrong}}, 0},
        RefusalCase{"port 0", "b,10.0.0.2,0,b.vtc,\n", {{2, "b", vantor::transfer::kPortFormatWrong}}, 0},
        RefusalCase{
            "port too big", "b,10.0.0.2,65536,b.vtc,\n", {{2, "b", vantor::transfer::kPortFormatWrong}}, 0},
        RefusalCase{"bad MODBUS port", "b,10.0.0.2,,b.vtc,x\n", {{2, "b", kPlanModbusPortWrong}}, 0},
        RefusalCase{"no project", "b,10.0.0.2,,,\n", {{2, "b", kPlanNoProject}}, 0},
        RefusalCase{"other file", "b,10.0.0.2,,b.xlsx,\n", {{2, "b", kPlanProjectKind}}, 0},
        RefusalCase{"same gateway", kGood + "b,10.0.0.001,5032,b.vtc,\n", {{3, "b", sameGatewayText(2)}}, 1},
        RefusalCase{"field count", "b,10.0.0.2,b.vtc\n", {{2, "b", kPlanFieldCount}}, 0},
        // The line of a row after a quoted field spanning two lines and a
        // blank line.
        RefusalCase{"line numbers",
                    "\"x\ny\",10.0.0.2,,b.vtc,\n\nc,1.2.3,,c.vtc,\n",
                    {{5, "c", vantor::transfer::kIpFormatWrong}},
                    1}),
    [](const auto& info) {
        std::string n = info.param.what;
        for (auto& ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

TEST(FleetPlan, ReadsQuotedFieldsAndResolvesPathsAgainstThePlan) {
    const auto plan = parsePlan("\xEF\xBB\xBFName,IP,Port,Project\r\n"
                                "\"Hall 1, \"\"east\"\"\",192.168.001.010, 60000 ,sub/east.VTC\r\n"
                                "west,10.0.0.2,,/abs/west.vncfg\r\n",
                                "/plant");
    ASSERT_EQ(plan.error, "");
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].name, "Hall 1, \"east\"");
    EXPECT_EQ(plan.rows[0].host, "192.168.1.10");
    EXPECT_EQ(plan.rows[0].port, 60000);
    EXPECT_EQ(plan.rows[0].path, "/plant/sub/east.VTC");
    EXPECT_EQ(plan.rows[0].modbusPort, std::nullopt);
    EXPECT_EQ(plan.rows[1].port, std::nullopt);
    EXPECT_EQ(plan.rows[1].path, "/abs/west.vncfg");
}

TEST(FleetPlan, RefusesAPlanThatIsNone) {
    const std::pair<std::string, std::string> cases[] = {
        {"", kPlanBadHeader},
        {"name,ip,project\nx,1.2.3.4,a.vtc\n", kPlanBadHeader},
        {kHeader, kPlanNoRows},
        {std::string(kHeader) + "a,1.2.3.4,,\"a.vtc,\n", std::string("第2行: ") + kPlanOpenQuote},
    };
    for (const auto& [text, error] : cases) {
        const auto plan = parsePlan(text, ".");
        EXPECT_EQ(plan.error, error) << text;
        EXPECT_TRUE(plan.rows.empty()) << text;
    }
}

// A workbook's 计划 sheet reads as the CSV does: ports typed as numbers, a
// blank last cell, the spreadsheet's row numbers, a formula refused.
TEST(FleetPlan, WorkbookSheetReadsAsTheCsv) {
    using vantor::sheet::Cell;
    const auto dir = std::filesystem::temp_directory_path() / ("fleetplan" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::vector<vantor::sheet::SheetData> sheets{
        {"计划",
         {"name", "ip", "port", "project", "mport"},
         {{Cell::of("east"), Cell::of("192.168.1.10"), Cell::of(60000.0), Cell::of("east.vtc"),
           Cell::of(502.0)},
          {},
          {Cell::of("west"), Cell::of("10.0.0.2"), Cell{}, Cell::of("west.vncfg")},
          {Cell::of("calc"), Cell{Cell::Kind::Formula, 0, "A1&B1"}, Cell{}, Cell::of("c.vtc")}}}};
    const std::string path = (dir / "plant.xlsx").string();
    ASSERT_EQ(vantor::sheet::writeWorkbook(path, sheets), vantor::sheet::WriteFailure::None);
    const auto plan = readPlanFile(path);
    ASSERT_EQ(plan.error, "");
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_EQ(plan.rows[0].port, 60000);
    EXPECT_EQ(plan.rows[0].modbusPort, 502);
    EXPECT_EQ(plan.rows[0].path, (dir / "east.vtc").string());
    EXPECT_EQ(plan.rows[1].line, 4);
    EXPECT_EQ(plan.rows[1].port, std::nullopt);
    EXPECT_EQ(plan.rows[1].modbusPort, std::nullopt);
    EXPECT_EQ(plan.refusals, (std::vector<PlanRefusal>{{5, "calc", vantor::transfer::kIpFormatWrong}}));

    const std::vector<vantor::sheet::SheetData> other{{"Sheet1", {"name"}, {}}};
    ASSERT_EQ(vantor::sheet::writeWorkbook(path, other), vantor::sheet::WriteFailure::None);
    EXPECT_EQ(readPlanFile(path).error, kPlanNoSheet);
    EXPECT_EQ(readPlanFile((dir / "none.csv").string()).error, kPlanUnreadable);
    std::filesystem::remove_all(dir);
}

TEST(FleetPlan, RefusalLineNamesRowAndGateway) {
    EXPECT_EQ(refusalLine({3, "gw2", "IP地址格式错误"}), "第3行 gw2: IP地址格式错误");
    EXPECT_EQ(refusalLine({4, "", kPlanNoName}), std::string("第4行: ") + kPlanNoName);
}

// The window shows a refused row in the user's language, the report keeps
// its text as written: the texts made with another line or a path are
// translated from their written form.
const vantor::testing::English kEnglish = {
    {"第%d行 %s: %s", "Line %d %s: %s"},
    {"第%d行: %s", "Line %d: %s"},
    {"名称与第%d行重复", "Name already used in line %d"},
    {"与第%d行是同一网关", "Same gateway as line %d"},
    {"工程文件不存在", "Project file not found:"},
    {"名称为空", "Name is empty"},
};

TEST(FleetPlan, RefusalLineInTheUsersLanguage) {
    const vantor::testing::FakeTranslator english(kEnglish);
    const struct {
        PlanRefusal refusal;
        const char* chinese;
        const char* inEnglish;
    } cases[] = {
        {{3, "a", duplicateNameText(2)}, "第3行 a: 名称与第2行重复", "Line 3 a: Name already used in line 2"},
        {{12, "b", sameGatewayText(10)},
         "第12行 b: 与第10行是同一网关",
         "Line 12 b: Same gateway as line 10"},
        {{4, "c", std::string(kProjectMissing) + " /plant/第2行.vtc"},
         "第4行 c: 工程文件不存在 /plant/第2行.vtc",
         "Line 4 c: Project file not found: /plant/第2行.vtc"},
        {{5, "", kPlanNoName}, "第5行: 名称为空", "Line 5: Name is empty"},
        // Like a made text, but not one: left as it stands.
        {{6, "d", "名称与第2行重复了"}, "第6行 d: 名称与第2行重复了", "Line 6 d: 名称与第2行重复了"},
    };
    for (const auto& c : cases) {
        english.install(true);
        EXPECT_EQ(refusalLine(c.refusal), c.inEnglish);
        english.install(false);
        EXPECT_EQ(refusalLine(c.refusal), c.chinese);
    }
}

// The projects of the rows: read, checked and built, or refused.
class PreparedRows : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("fleet-plan-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    Preparation prepare(const std::string& project) {
        const auto plan =
            parsePlan(std::string(kHeader) + "g,127.0.0.1,,\"" + project + "\",\n", VANTOR_DATA_DIR);
        EXPECT_EQ(plan.rows.size(), 1u);
        return prepareRow(plan.rows.at(0), VANTOR_DATA_DIR "/IP");
    }
    std::filesystem::path dir_;
};

TEST_F(PreparedRows, BuildsTheBlocksOfBothKindsOfProject) {
    const auto vtc = prepare("demo.vtc");
    ASSERT_TRUE(vtc.gateway) << vtc.refusal;
    EXPECT_EQ(vtc.gateway->kind, ProjectKind::Vantor);
    EXPECT_EQ(vtc.gateway->sent, (std::vector<SentBlock>{{20, vtc.gateway->blocks.rtu.size()},
                                                         {21, vtc.gateway->blocks.fieldbus.size()}}));
    EXPECT_EQ(vtc.gateway->checksum.size(), 8u);
    const auto net = prepare("demo.vncfg");
    ASSERT_TRUE(net.gateway) << net.refusal;
    EXPECT_EQ(net.gateway->kind, ProjectKind::VantorNet);
    EXPECT_EQ(net.gateway->sent.back(), (SentBlock{21, net.gateway->images.b.size()}));
}

TEST_F(PreparedRows, RefusesMissingUnreadableAndRefusedProjects) {
    EXPECT_EQ(prepare("missing.vtc").refusal, std::string(kProjectMissing) + " missing.vtc");
    // A directory is no project.
    std::filesystem::create_directories(dir_ / "dir.vtc");
    EXPECT_EQ(prepare((dir_ / "dir.vtc").string()).refusal,
              std::string(kProjectMissing) + " " + (dir_ / "dir.vtc").string());
    // Bytes that are no project file.
    std::ofstream(dir_ / "junk.vtc") << "no project";
    EXPECT_FALSE(prepare((dir_ / "junk.vtc").string()).refusal.empty());
    std::ofstream(dir_ / "junk.vncfg") << "no project";
    EXPECT_FALSE(prepare((dir_ / "junk.vncfg").string()).refusal.empty());
    // A project its download checks refuse: no gateway in it.
    vantor::model::CVantorDoc empty;
    empty.NewDocument(VANTOR_DATA_DIR "/IP");
    const auto emptyPath = (dir_ / "empty.vtc").string();
    std::string error;
    ASSERT_TRUE(vantor::model::ProjectFile::save(empty, emptyPath, VANTOR_DATA_DIR, &error)) << error;
    EXPECT_EQ(prepare(emptyPath).refusal, vantor::model::kNoGateway);
}

TEST(FleetPlan, Crc32OfKnownText) {
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc32(""), 0u);
}

} // namespace
