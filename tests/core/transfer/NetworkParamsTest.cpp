#include "ExchangeHarness.h"
#include "load/LoadRequests.h"
#include "services/AccessParams.h"
#include "services/NetworkParamsExchange.h"
#include "transfer/CommandFrame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vantor::services {
namespace {

using transfer::Bytes;
using transfer::testing::ExchangeHarness;

struct FieldCase {
    const char* name;
    NetworkSettings fields;
    std::string message; // empty: accepted
};

class FieldChecks : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldChecks, FirstFailureIsReported) {
    const auto& c = GetParam();
    RecordingSink sink;
    auto r = checkNetworkSettings(c.fields, sink);
    if (c.message.empty()) {
        EXPECT_TRUE(r.has_value());
        EXPECT_TRUE(sink.messages.empty());
    } else {
        EXPECT_FALSE(r.has_value());
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].caption, "错误");
        EXPECT_EQ(sink.messages[0].text, c.message);
    }
}

const std::string kPort = "端口取值范围:0-65535";
const std::string kIp = "网口1IP设置错误";
const std::string kMask = "网口1子网掩码设置错误";
const std::string kSubnet = "网口1IP和网关不在同一网段";

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldChecks,
    ::testing::Values(
        FieldCase{"Defaults", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "502"}, ""},
        FieldCase{"EmptyPortIsZero", {"192.168.1.10", "255.255.255.0", "192.168.1.1", ""}, kPortZero},
        FieldCase{"Port65535", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "65535"}, ""},
        FieldCase{"Port65536", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "65536"}, kPort},
        FieldCase{"Port50a", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "50a"}, kPort},
        FieldCase{"PortCheckedFirst", {"0.1.2.3", "0.0.0.0", "1.1.1.1", "-1"}, kPort},
        FieldCase{"FirstOctetZero", {"0.1.2.3", "255.255.255.0", "0.1.2.1", "502"}, kIp},
        FieldCase{"Multicast", {"224.0.0.1", "255.255.255.0", "224.0.0.2", "502"}, kIp},
        FieldCase{"FirstOctet223", {"223.1.1.1", "255.255.255.0", "223.1.1.2", "502"}, ""},
        FieldCase{"Mask128", {"192.168.1.10", "255.255.255.128", "192.168.1.1", "502"}, ""},
        FieldCase{"MaskC0", {"192.168.1.10", "192.0.0.0", "192.1.1.1", "502"}, ""},
        FieldCase{"Mask255000", {"10.1.1.10", "255.0.0.0", "10.2.3.4", "502"}, ""},
        FieldCase{"Mask128000", {"192.168.1.10", "128.0.0.0", "192.168.1.1", "502"}, kMask},
        FieldCase{"MaskHole", {"192.168.1.10", "255.0.255.0", "192.168.1.1", "502"}, kMask},
        FieldCase{"MaskAllOnes", {"192.168.1.10", "255.255.255.255", "192.168.1.10", "502"}, kMask},
        FieldCase{"MaskZero", {"192.168.1.10", "0.0.0.0", "192.168.1.1", "502"}, kMask},
        FieldCase{"MaskNotRun", {"192.168.1.10", "255.255.255.3", "192.168.1.1", "502"}, kMask},
        FieldCase{"OtherSubnet", {"192.168.1.10", "255.255.255.0", "192.168.2.1", "502"}, kSubnet},
        FieldCase{"WiderMaskSameSubnet", {"192.168.1.10", "255.255.0.0", "192.168.2.1", "502"}, ""},
        FieldCase{"NotAnAddress", {"192.168.1", "255.255.255.0", "192.168.1.1", "502"}, kIp},
        // Settings that would lock the gateway out, after the rules above.
        FieldCase{"PortZero", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "0"}, kPortZero},
        FieldCase{"Port1", {"192.168.1.10", "255.255.255.0", "192.168.1.1", "1"}, ""},
        FieldCase{
            "Broadcast24", {"192.168.1.255", "255.255.255.0", "192.168.1.1", "502"}, kIpIsBroadcastAddress},
        FieldCase{
            "Broadcast25", {"192.168.1.127", "255.255.255.128", "192.168.1.1", "502"}, kIpIsBroadcastAddress},
        FieldCase{"UpperHalfHost", {"192.168.1.129", "255.255.255.128", "192.168.1.254", "502"}, ""},
        FieldCase{"Network24", {"192.168.1.0", "255.255.255.0", "192.168.1.1", "502"}, kIpIsNetworkAddress},
        FieldCase{"Network16", {"10.1.0.0", "255.255.0.0", "10.1.0.1", "502"}, kIpIsNetworkAddress},
        FieldCase{"Host255In16", {"10.1.0.255", "255.255.0.0", "10.1.0.1", "502"}, ""},
        FieldCase{"GatewayIsIp", {"192.168.1.10", "255.255.255.0", "192.168.1.10", "502"}, kGatewayIsIp},
        FieldCase{"SubnetBeforeLockOut", {"192.168.1.255", "255.255.255.0", "192.168.2.1", "0"}, kSubnet}),
    [](const auto& info) { return std::string(info.param.name); });

// Every window and command that sends network settings applies one address
// rule with the configurator's texts: its network-parameter dialog, and
// VantorLoad's IP设置 whose checks VantorNet's TCP/IP值修改 shares.
TEST(NetworkAddressRule, OneRuleForEverySender) {
    const struct {
        const char* ip;
        const char* mask;
        const char* gateway;
        const char* message; // nullptr: accepted
    } cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", nullptr},
        {"192.168.1.10", "255.255.255.128", "192.168.1.1", nullptr},
        {"192.168.1.10", "255.0.255.0", "192.168.1.1", kMask.c_str()},
        {"192.168.1.10", "255.255.0.255", "192.168.1.1", kMask.c_str()},
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", kSubnet.c_str()},
        {"0.1.2.3", "255.255.255.0", "0.1.2.1", kIp.c_str()},
        {"224.0.0.1", "255.255.255.0", "224.0.0.2", kIp.c_str()},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        RecordingSink sink;
        checkNetworkSettings({c.ip, c.mask, c.gateway, "502"}, sink);
        EXPECT_EQ(sink.texts(), expected) << "network-parameter dialog " << c.ip << " " << c.mask;
        std::string refusal;
        const auto load = load::checkNetworkTexts(c.ip, c.mask, c.gateway, "502", &refusal);
        EXPECT_EQ(refusal, c.message ? c.message : "") << "IP设置 " << c.ip << " " << c.mask;
        EXPECT_EQ(load.has_value(), c.message == nullptr);
    }
}

TEST(AddressControl, CompletesWhatCanBeTyped) {
    const struct {
        const char* typed;
        const char* held; // nullptr: cannot be typed
    } cases[] = {{"192.168.1.10", "192.168.1.10"},
                 {"1.2.3", "1.2.3.0"},
                 {"", "0.0.0.0"},
                 {"10..5", "10.0.5.0"},
                 {"255.255.255.255", "255.255.255.255"},
                 {"256.1.1.1", nullptr},
                 {"1.2.3.4.5", nullptr},
                 {"1.2.3.0255", nullptr},
                 {"1.2.x.4", nullptr},
                 {" 1.2.3.4", nullptr}};
    for (const auto& c : cases) {
        const auto held = completeDottedIp(c.typed);
        if (c.held)
            EXPECT_EQ(held, std::optional<std::string>(c.held)) << c.typed;
        else
            EXPECT_FALSE(held) << c.typed;
    }
}

CheckedSettings settings(const char* ip, const char* mask, const char* gw, int port) {
    RecordingSink sink;
    auto r = checkNetworkSettings({ip, mask, gw, std::to_string(port)}, sink);
    EXPECT_TRUE(r.has_value());
    return *r;
}

TEST(NetworkParamsRequest, LayoutPerModel) {
    auto s = settings("192.168.1.10", "255.255.255.0", "192.168.1.1", 502);
    Bytes one = networkParamsRequest("NXE-485-ZRTU2", s);
    Bytes port = {192,  168,  1, 10, 255, 255, 255, 0, 192, 168, 1, 1,
                  0xF6, 0x01, 0, 0,  0,   0,   0,   0, 0,   0,   0, 0};
    Bytes expected = {0x0A, 0, 0, 0, 24, 0, 0, 0};
    expected.insert(expected.end(), port.begin(), port.end());
    EXPECT_EQ(one, expected);

    for (const char* model : {"KX-P4R0-1.0", "KX-P6R0-1.0", "KX-P2R0-1.0", "TRX-H-QMB6"}) {
        Bytes two = networkParamsRequest(model, s);
        ASSERT_EQ(two.size(), 56u) << model;
        EXPECT_EQ(two[4], 48);
        EXPECT_EQ(Bytes(two.begin() + 8, two.begin() + 32), port);
        EXPECT_EQ(Bytes(two.begin() + 32, two.end()), port);
    }
    for (const char* model : {"KX-P1R0-1.0", "LNK-P1-1.0", "TRC-H-ZRTU", "NXE-485-ZRTU2E", "KX-P1-1.0"})
        EXPECT_EQ(networkParamsRequest(model, s).size(), 32u) << model;
}

struct NetSession {
    explicit NetSession(const std::string& model) {
        model::CMaster m;
        m.masterName = model;
        doc.masters.push_back(m);
        doc.IP = "10.0.0.7";
        doc.SETIP = "192.168.1.10";
        doc.SETMASK = "255.255.255.0";
        doc.SETGW = "192.168.1.1";
        doc.SETPORT = 502;
    }
    model::CVantorDoc doc;
    NetworkParamsExchange ex{doc};
    ExchangeHarness h{ex};
};

Bytes netAck(uint8_t status) {
    Bytes r = transfer::commandFrame(10, 4);
    r.push_back(status);
    return r;
}

TEST(NetworkParamsExchange, RequestOnNinthTickAndValuesStoredOnAcknowledgement) {
    NetSession s("KX-P4R0-1.0");
    s.h.start();
    EXPECT_EQ(s.h.connects[0].host, "10.0.0.7");
    EXPECT_EQ(s.h.connects[0].port, 5032);
    s.h.connect();
    RecordingSink sink;
    ASSERT_TRUE(s.ex.download({"10.1.2.3", "255.255.0.0", "10.1.0.1", "1502"}, sink));
    s.h.advance(8 * 20);
    EXPECT_TRUE(s.h.sent.empty());
    s.h.advance(20);
    ASSERT_EQ(s.h.sent.size(), 1u);
    EXPECT_EQ(s.h.sent[0].size(), 56u);
    EXPECT_EQ(s.h.sentAt[0], 9 * 20);
    s.h.reply(netAck(0));
    ASSERT_EQ(s.h.sent.size(), 2u);
    EXPECT_EQ(s.h.sent[1], (Bytes{2, 0, 0, 0, 0, 0, 0, 0}));
    s.h.reply(Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0}); // reply to the restart: ignored
    EXPECT_EQ(s.doc.SETIP, "192.168.1.10");      // not before the run ends
    s.h.advance(90 * 20);
    EXPECT_FALSE(s.h.finished);
    s.h.advance(20);
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.now, 100 * 20);
    EXPECT_TRUE(s.h.finished->success);
    EXPECT_EQ(s.h.finished->resultText, "下载完毕！");
    EXPECT_EQ(s.doc.SETIP, "10.1.2.3");
    EXPECT_EQ(s.doc.SETMASK, "255.255.0.0");
    EXPECT_EQ(s.doc.SETGW, "10.1.0.1");
    EXPECT_EQ(s.doc.SETPORT, 1502);
    EXPECT_EQ(s.h.progress.front().position, 0);
    EXPECT_EQ(s.h.progress.back().position, 99);
    EXPECT_EQ(s.h.sent.size(), 2u);
}

struct NoAckCase {
    const char* name;
    std::optional<Bytes> reply;
};

TEST(NetworkParamsExchange, WithoutAcknowledgementTheRunFailsAndNothingIsStored) {
    const NoAckCase cases[] = {
        {"NoReply", std::nullopt},
        {"NonZeroStatus", netAck(1)},
        {"OtherCommand", Bytes{0x0B, 0, 0, 0, 4, 0, 0, 0, 0}},
        {"ShortReply", Bytes{0x0A, 0, 0, 0, 4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        NetSession s("NXE-485-ZRTU2");
        s.h.start();
        s.h.connect();
        RecordingSink sink;
        ASSERT_TRUE(s.ex.download({"10.1.2.3", "255.255.0.0", "10.1.0.1", "1502"}, sink));
        s.h.advance(9 * 20);
        if (c.reply)
            s.h.reply(*c.reply);
        EXPECT_EQ(s.h.sent.size(), 1u) << c.name;
        s.h.advance(5000);
        ASSERT_TRUE(s.h.finished) << c.name;
        EXPECT_FALSE(s.h.finished->success);
        EXPECT_EQ(s.h.finished->resultText, "下 载 失 败！");
        EXPECT_EQ(s.doc.SETIP, "192.168.1.10") << c.name;
        EXPECT_EQ(s.doc.SETPORT, 502);
    }
}

TEST(NetworkParamsExchange, RefusedFieldsSendNothingAndStartNoRun) {
    NetSession s("NXE-485-ZRTU2");
    s.h.start();
    s.h.connect();
    RecordingSink sink;
    EXPECT_FALSE(s.ex.download({"224.0.0.1", "255.255.255.0", "224.0.0.2", "502"}, sink));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"网口1IP设置错误"});
    s.h.advance(5000);
    EXPECT_TRUE(s.h.sent.empty());
    EXPECT_FALSE(s.h.finished);
    EXPECT_FALSE(s.h.timers.armed(kRunTimer));
}

TEST(NetworkParamsExchange, SendFailureClosesOnlyTheSocket) {
    NetSession s("NXE-485-ZRTU2");
    s.h.start();
    s.h.connect();
    RecordingSink sink;
    ASSERT_TRUE(s.ex.download(s.ex.initialFields(), sink));
    s.h.advance(9 * 20);
    s.h.sendFailed();
    EXPECT_EQ(s.h.messageTexts(), std::vector<std::string>{"发送失败"});
    EXPECT_FALSE(s.h.open);
    EXPECT_FALSE(s.h.finished);
    s.h.advance(2000);
    ASSERT_TRUE(s.h.finished);
    EXPECT_EQ(s.h.finished->resultText, "下 载 失 败！");
}

TEST(NetworkParamsExchange, ConnectFailureAndTimeout) {
    {
        NetSession s("KX-P2R0-1.0");
        s.h.start();
        s.h.connect(false);
        EXPECT_EQ(s.h.messageTexts(),
                  std::vector<std::string>{"连接10.0.0.7:5032失败,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(s.h.finished);
    }
    {
        NetSession s("KX-P2R0-1.0");
        s.h.start();
        s.h.advance(3000);
        EXPECT_EQ(s.h.messageTexts(),
                  std::vector<std::string>{"连接10.0.0.7:5032超时,请检查设备的网络参数和网络连接"});
        EXPECT_TRUE(s.h.finished);
    }
}

// --- the access IP file ----------------------------------------------------

class AccessIpFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("vantor-access-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::filesystem::path dir;
};

TEST_F(AccessIpFile, UpdatesTheElementAndKeepsTheRest) {
    std::filesystem::create_directories(dir / "IP");
    {
        std::ofstream out(dir / "IP" / "ETHOption.xml", std::ios::binary);
        out << "<?xml version=\"1.0\" "
               "encoding=\"gb2312\"?>\r\n<ETHOption>\r\n<ip>127.0.0.1</ip>\r\n<keep>x</keep>\r\n</"
               "ETHOption>\r\n";
    }
    model::CVantorDoc doc;
    doc.accessPort = 5032;
    std::string error;
    ASSERT_TRUE(applyAccessIp(doc, "192.168.9.9", dir.string(), &error)) << error;
    EXPECT_EQ(doc.IP, "192.168.9.9");
    EXPECT_EQ(doc.accessPort, 5032);
    EXPECT_EQ(model::readAccessIp(ethOptionPath(dir.string())), "192.168.9.9");
    EXPECT_NE(read(dir / "IP" / "ETHOption.xml").find("<keep>x</keep>"), std::string::npos);
}

TEST_F(AccessIpFile, MissingFileIsCreated) {
    EXPECT_EQ(model::readAccessIp(ethOptionPath(dir.string())), "");
    std::string error;
    ASSERT_TRUE(writeAccessIp(ethOptionPath(dir.string()), "10.0.0.1", &error)) << error;
    EXPECT_EQ(model::readAccessIp(ethOptionPath(dir.string())), "10.0.0.1");
    model::CVantorDoc doc;
    doc.NewDocument(dir.string());
    EXPECT_EQ(doc.IP, "10.0.0.1");
}

} // namespace
} // namespace vantor::services
