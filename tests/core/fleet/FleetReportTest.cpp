// The fleet report: the summary, the refused rows, one overview row and one
// section per gateway, with the commissioning report's device section for
// the gateways that were downloaded; every text from a plan or a gateway
// escaped.
#include "fleet/FleetReport.h"

#include <gtest/gtest.h>

using namespace vantor::fleet;

namespace {

FleetRun sampleRun() {
    FleetRun run;
    run.planName = "plant.csv";
    run.generatedAt = "2024-05-01 12:00:00";
    run.elapsedMs = 25140;
    run.refusals = {{4, "gw<4>", "IP地址格式错误"}};
    GatewayOutcome ok;
    ok.row.name = "east";
    ok.row.host = "10.0.0.1";
    ok.row.port = 5032;
    ok.row.project = "east.vtc";
    ok.checksum = "0badf00d";
    ok.sent = {{20, 120}, {21, 372}};
    ok.downloaded = ok.verified = ok.ok = true;
    ok.downloadResult = "下 载 完 毕!";
    ok.device.identified = ok.device.statesRead = true;
    ok.device.info.serialNumber = "SN-0001";
    ok.device.states.resize(2);
    ok.startedMs = 1000;
    ok.endedMs = 21500;
    GatewayOutcome bad;
    bad.row.name = "west & \"north\"";
    bad.row.project = "west.vtc";
    bad.reason = "下 载 失 败！3";
    run.gateways = {ok, bad};
    return run;
}

TEST(FleetReport, NamesEveryGatewayWithWhatItGotAndAnswered) {
    const auto html = fleetReport(sampleRun());
    const std::string expected[] = {
        "<title>批量下载报告 plant.csv</title>",
        "2个网关: 1个成功, 1个失败, 用时 25.1 s",
        "<tr><td>4</td><td>gw&lt;4&gt;</td><td>IP地址格式错误</td></tr>",
        "<tr><td>east</td><td>10.0.0.1</td><td>5032</td><td>east.vtc</td><td>成功</td><td>20.5 "
        "s</td><td></td></tr>",
        "<tr><td>west &amp; &quot;north&quot;</td><td></td><td></td><td>west.vtc</td><td>失败</td>",
        "<h2 id=\"gateway-1\">east</h2>",
        "<tr><td>校验和 (CRC-32)</td><td>0badf00d</td></tr>",
        "<tr><td>发送的块</td><td>20: 120字节, 21: 372字节</td></tr>",
        "<tr><td>从站状态</td><td>2个从站</td></tr>",
        "<h2 id=\"device-1\">网关信息</h2>",
        "SN-0001",
        "<p class=\"unreached\">下 载 失 败！3</p>",
    };
    for (const auto& piece : expected)
        EXPECT_NE(html.find(piece), std::string::npos) << piece;
    // The gateway that got nothing has no device section.
    EXPECT_EQ(html.find("id=\"device-2\""), std::string::npos);
}

TEST(FleetReport, Texts) {
    EXPECT_EQ(secondsText(0), "0.0 s");
    EXPECT_EQ(secondsText(1949), "1.9 s");
    EXPECT_EQ(sentBlocksText({}), "");
    EXPECT_EQ(sentBlocksText({{20, 1}, {21, 2}, {70, 3}}), "20: 1字节, 21: 2字节, 70: 3字节");
}

} // namespace
