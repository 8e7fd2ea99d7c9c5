// Texts composed from a template with hosts, numbers and reasons in them:
// in the user's language when a translator is installed, exactly the Chinese
// of before without one (the command-line tools, the simulator), and as
// written where they go into a file.
#include "../transfer/ExchangeHarness.h"
#include "GatewayReplies.h"
#include "NetFixtures.h"
#include "model/ProjectFile.h"
#include "net/NetCompiler.h"
#include "net/NetServerForm.h"
#include "services/CommissioningReport.h"
#include "services/LineHealth.h"
#include "text/Shown.h"
#include "transfer/DownloadExchange.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantor::net {
namespace {

using transfer::testing::ExchangeHarness;

// English of the test's own, worded apart from the catalogue's so that only
// the template lookup can produce it.
const vantor::testing::English kEnglish = {
    {"连接%s:%d失败,请检查设备的网络参数和网络连接", "no link to %s:%d"},
    {"下 载 失 败！%d", "download refused with status %d"},
    {"下 载 失 败！%s", "download failed:%s"},
    {" 应答超时", " no reply in time"},
    {"%lld 分 %lld 秒", "%lld min %lld s"},
    {"%s前", "%s ago"},
    {"%s:%d MOD:%d 已经存在", "%s:%d (unit %d) exists already"},
    {"存在没有操作的从站,继续下载吗？\n空站地址为: %s", "empty: %s"},
};

// The first message an exchange shows once the connection is refused.
std::string refusedConnection() {
    services::DeviceInfoExchange ex("KX-P2R0-1.0", {"192.168.1.10", 5032, std::nullopt});
    ExchangeHarness h(ex);
    h.start();
    h.connect(false);
    return h.messageTexts().at(0);
}

// The result of a download the gateway answers with `reply` after its state.
std::string downloadResult(const std::function<void(ExchangeHarness&)>& after) {
    transfer::ConfigurationBlocks blocks;
    blocks.rtu = transfer::Bytes(40, 0x11);
    blocks.fieldbus = transfer::Bytes(10, 0x22);
    transfer::DownloadExchange ex("KX-P2R0-1.0", blocks, {"192.168.1.15", 5032, 0, 50000, std::nullopt});
    ExchangeHarness h(ex);
    h.start();
    h.connect();
    h.reply(transfer::testing::stateReply(0x74));
    after(h);
    return h.finished ? h.finished->resultText : "(not finished)";
}

// The reason the commissioning report writes for a gateway that refuses
// the connection.
std::string reportReason() {
    model::CVantorDoc doc;
    std::string error;
    EXPECT_TRUE(model::ProjectFile::open(doc, VANTOR_DATA_DIR "/demo.vtc", &error)) << error;
    auto refuse = [](transfer::Exchange& exchange, const std::function<bool()>&) {
        ExchangeHarness h(exchange);
        h.start();
        h.connect(false);
        return h.messages;
    };
    return services::visitGateway(doc, {"127.0.0.1", 5999, services::kModbusPort}, refuse).failure;
}

TEST(ShownTexts, ComposedTextsComeInTheLanguageInstalledAndFilesStayAsWritten) {
    const vantor::testing::FakeTranslator english(kEnglish);
    const struct {
        const char* name;
        std::function<std::string()> compose;
        std::string chinese;
        std::string english;
    } cases[] = {
        {"refused connection", refusedConnection, "连接192.168.1.10:5032失败,请检查设备的网络参数和网络连接",
         "no link to 192.168.1.10:5032"},
        {"status number",
         [] { return downloadResult([](ExchangeHarness& h) { h.reply(transfer::testing::ack(20, 5)); }); },
         "下 载 失 败！5", "download refused with status 5"},
        {"reason as a translated piece",
         [] { return downloadResult([](ExchangeHarness& h) { h.advance(50000); }); },
         "下 载 失 败！ 应答超时", "download failed: no reply in time"},
        {"nested templates", [] { return services::agoText(0, 185'400); }, "3 分 5 秒前", "3 min 5 s ago"},
        {"server clash",
         [] {
             auto doc = testing::project("LNK-P1-1.0");
             doc.slaves.push_back(testing::server("192.168.0.7", 502, 3));
             return serverClash(doc, " 192.168.0.7 ", 502, 3, -1).value_or("(no clash)");
         },
         "192.168.0.7:502 MOD:3 已经存在", "192.168.0.7:502 (unit 3) exists already"},
        {"question with a list",
         [] {
             auto doc = testing::project("LNK-P1-1.0");
             doc.slaves.push_back(testing::server("10.0.0.1", 502, 1));
             doc.slaves.push_back(testing::server("10.0.0.2", 502, 1));
             RecordingSink sink;
             confirmEmptyServers(doc, sink);
             return sink.messages.at(0).text;
         },
         "存在没有操作的从站,继续下载吗？\n空站地址为: 10.0.0.1,10.0.0.2", "empty: 10.0.0.1,10.0.0.2"},
        {"the report's reason", reportReason, "连接127.0.0.1:5999失败,请检查设备的网络参数和网络连接",
         "连接127.0.0.1:5999失败,请检查设备的网络参数和网络连接"},
    };
    for (const auto& c : cases) {
        english.install(false);
        EXPECT_EQ(c.compose(), c.chinese) << c.name;
        english.install(true);
        EXPECT_EQ(c.compose(), c.english) << c.name;
    }
}

} // namespace
} // namespace vantor::net
