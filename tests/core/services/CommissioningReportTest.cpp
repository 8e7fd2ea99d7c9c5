#include "services/CommissioningReport.h"
#include "../transfer/ExchangeHarness.h"
#include "model/ProjectFile.h"

#include <gtest/gtest.h>

namespace vantor::services {
namespace {

using transfer::testing::ExchangeHarness;

model::CVantorDoc demo() {
    model::CVantorDoc doc;
    std::string error;
    EXPECT_TRUE(model::ProjectFile::open(doc, VANTOR_DATA_DIR "/demo.vtc", &error)) << error;
    return doc;
}

// The text of the section with id `id`: from its heading to the next one.
std::string section(const std::string& html, const std::string& id) {
    const auto begin = html.find("<h2 id=\"" + id + "\">");
    if (begin == std::string::npos)
        return {};
    const auto end = html.find("<h2 ", begin + 1);
    return html.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string row(std::initializer_list<const char*> cells) {
    std::string r = "<tr>";
    for (const char* c : cells)
        r += std::string("<td>") + c + "</td>";
    return r + "</tr>";
}

TEST(CommissioningReport, EscapesEveryMarkupCharacter) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"plain 中文", "plain 中文"},
        {"a<b>c", "a&lt;b&gt;c"},
        {"&amp;", "&amp;amp;"},
        {"\"x\"", "&quot;x&quot;"},
        {"it's", "it&#39;s"},
        {"<script>alert('&')</script>", "&lt;script&gt;alert(&#39;&amp;&#39;)&lt;/script&gt;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escapeHtml(c.in), c.out) << c.in;
}

TEST(CommissioningReport, TextsFromTheProjectAndTheGatewayAreEscaped) {
    auto doc = demo();
    doc.slaves[0].name = "<b>\"T\" & 'x'</b>";
    ReportDevice device;
    device.host = "127.0.0.1";
    device.identified = true;
    device.info.buildTime = "<i>2026</i>";
    device.statesRead = true;
    const auto html = commissioningReport(doc, "a<b>&.vtc", "2026-12-08 10:00:00", device);
    EXPECT_NE(html.find("&lt;b&gt;&quot;T&quot; &amp; &#39;x&#39;&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("<title>调试报告 a&lt;b&gt;&amp;.vtc</title>"), std::string::npos);
    EXPECT_NE(html.find("&lt;i&gt;2026&lt;/i&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_EQ(html.find("<i>"), std::string::npos);
}

// Hand-read from data/demo.vtc: what each section must list.
TEST(CommissioningReport, DemoSectionsHoldTheirRows) {
    const auto html = commissioningReport(demo(), "demo.vtc", "2026-12-08 10:00:00", std::nullopt);
    const struct {
        const char* section;
        std::string text;
    } cases[] = {
        {"summary", row({"网关型号", "KX-P2R0-1.0"})},
        {"summary", row({"从站数", "5"})},
        {"summary", row({"命令数", "11"})},
        {"summary", row({"COM1", "9600", "偶校验", "1位", "300", "3"})},
        {"summary", row({"COM2", "9600", "偶校验", "1位", "300", "2"})},
        {"summary", row({"COM1", "2", "电能表", "2", "50", "1000"})},
        {"summary", row({"COM2", "1", "变频器", "3", "20", "300"})},
        {"map", "<h3>MODBUS   0XXXX</h3>"},
        {"map", row({"2", "00000", "写", "0008", "COM1", "003", "00000"})},
        {"map", row({"1", "10000", "读", "0016", "COM1", "001", "00000"})},
        {"map", row({"2", "30020", "读", "0002", "COM2", "005", "00000"})},
        {"map", row({"5", "40019", "写", "0002", "COM2", "001", "08300"})},
        {"budget", row({"COM1", "9600", "11", "5", "1191.4", "2", "500.8", "是"})},
        {"budget", row({"COM2", "9600", "11", "4", "762.6", "1", "408.8", "否"})},
        {"device", kReportNotAsked},
    };
    for (const auto& c : cases)
        EXPECT_NE(section(html, c.section).find(c.text), std::string::npos) << c.section << ": " << c.text;
    // The map lists every row of each area and no more.
    const auto map = section(html, "map");
    std::size_t rows = 0;
    for (auto at = map.find("<tr><td>"); at != std::string::npos; at = map.find("<tr><td>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 11u);
    EXPECT_LT(html.find("id=\"summary\""), html.find("id=\"map\""));
    EXPECT_LT(html.find("id=\"map\""), html.find("id=\"budget\""));
    EXPECT_LT(html.find("id=\"budget\""), html.find("id=\"device\""));
}

TEST(CommissioningReport, MapSectionShowsWhyTheMapCannotOpen) {
    model::CVantorDoc doc;
    const auto html = commissioningReport(doc, "new.vtc", "", std::nullopt);
    EXPECT_NE(section(html, "map").find("请添加一个主站!"), std::string::npos);
    EXPECT_NE(section(html, "summary").find(row({"网关型号", "（未添加网关）"})), std::string::npos);
}

TEST(CommissioningReport, DeviceSectionPerOutcome) {
    ReportDevice unreachable;
    unreachable.host = "10.0.0.9";
    unreachable.failure = "连接10.0.0.9:5032失败";

    ReportDevice reached;
    reached.host = "127.0.0.1";
    reached.identified = true;
    reached.info.deviceId = "06583474";
    reached.info.version = "01-01-0203";
    reached.info.serialNumber = "2026120700015AA513579BDF";
    reached.info.mac1 = "00-1C-56-10-20-31";
    reached.info.mac2 = "00-1C-56-10-20-32";
    reached.statesRead = true;
    SlaveStateRow state;
    state.cells = {"COM2", "5", "42261", "0x0001", "32261", "0x8003"};
    reached.states = {state};

    ReportDevice noStates = reached;
    noStates.statesRead = false;
    noStates.states.clear();
    noStates.stateFailure = "无应答";

    const struct {
        const char* name;
        std::optional<ReportDevice> device;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {"not asked", std::nullopt, {kReportNotAsked}, {"设备ID", "从站状态"}},
        {"unreachable",
         unreachable,
         {"未能读取网关信息 10.0.0.9", "<p class=\"reason\">连接10.0.0.9:5032失败</p>"},
         {"设备ID", kReportNotAsked}},
        {"reached",
         reached,
         {row({"设备ID", "06583474"}), row({"版本", "01-01-0203"}),
          row({"序列号", "2026120700015AA513579BDF"}), row({"MAC1", "00-1C-56-10-20-31"}),
          row({"MAC2", "00-1C-56-10-20-32"}), row({"COM2", "5", "42261", "0x0001", "32261", "0x8003"})},
         {kReportUnreachable}},
        {"states failed",
         noStates,
         {row({"设备ID", "06583474"}), "<p class=\"reason\">无应答</p>"},
         {"0x8003"}},
    };
    for (const auto& c : cases) {
        const auto device = section(commissioningReport(demo(), "demo.vtc", "", c.device), "device");
        for (const auto& p : c.present)
            EXPECT_NE(device.find(p), std::string::npos) << c.name << ": missing " << p;
        for (const auto& a : c.absent)
            EXPECT_EQ(device.find(a), std::string::npos) << c.name << ": unexpected " << a;
    }
}

TEST(CommissioningReport, RecordsWhyTheGatewayWasNotReached) {
    const struct {
        const char* name;
        bool connects;
        const char* reason;
    } cases[] = {
        {"refused", false, "连接"},
        {"silent", true, DeviceInfoExchange::kNoReply},
    };
    for (const auto& c : cases) {
        DeviceInfoExchange ex("KX-P2R0-1.0", {"10.0.0.9", 5032, std::nullopt});
        ExchangeHarness h(ex);
        h.start();
        h.connect(c.connects);
        while (!h.finished && h.fireNext()) {
        }
        ASSERT_TRUE(h.finished) << c.name;
        ReportDevice device;
        device.host = "10.0.0.9";
        recordIdentity(device, ex, h.messages);
        EXPECT_FALSE(device.identified) << c.name;
        EXPECT_NE(device.failure.find(c.reason), std::string::npos) << c.name << ": " << device.failure;
        const auto html = commissioningReport(demo(), "demo.vtc", "", device);
        EXPECT_NE(section(html, "device").find(device.failure), std::string::npos) << c.name;
    }
}

TEST(CommissioningReport, StatesOfAPollThatNeverCompletedAreNotReported) {
    SlaveStateExchange ex("KX-P2R0-1.0", {"10.0.0.9", kModbusPort});
    ExchangeHarness h(ex);
    h.start();
    h.connect(false);
    ReportDevice device;
    recordStates(device, ex, h.messages);
    EXPECT_FALSE(device.statesRead);
    EXPECT_TRUE(device.states.empty());
    EXPECT_FALSE(device.stateFailure.empty());
}

// A runner that records which exchanges it was given and lets none of them
// get past the connection.
struct RefusingRunner {
    std::vector<std::string> runs;
    std::vector<Message> operator()(transfer::Exchange& exchange, const std::function<bool()>& done) {
        runs.push_back(dynamic_cast<DeviceInfoExchange*>(&exchange) ? "info" : "state");
        ExchangeHarness h(exchange);
        h.start();
        h.connect(false);
        EXPECT_FALSE(done());
        return h.messages;
    }
};

TEST(CommissioningReport, GatewayVisitStopsAtTheFirstFailure) {
    const struct {
        const char* name;
        bool withGateway;
        std::vector<std::string> runs;
        std::string failure;
    } cases[] = {
        {"no gateway in the project", false, {}, kReportNoGateway},
        {"identity refused", true, {"info"}, "连接127.0.0.1:5999失败"},
    };
    for (const auto& c : cases) {
        auto doc = c.withGateway ? demo() : model::CVantorDoc();
        RefusingRunner runner;
        const auto device = visitGateway(doc, {"127.0.0.1", 5999, kModbusPort}, std::ref(runner));
        EXPECT_EQ(runner.runs, c.runs) << c.name;
        EXPECT_FALSE(device.identified) << c.name;
        EXPECT_EQ(device.host, "127.0.0.1") << c.name;
        EXPECT_NE(device.failure.find(c.failure), std::string::npos) << c.name << ": " << device.failure;
    }
}

} // namespace
} // namespace vantor::services
