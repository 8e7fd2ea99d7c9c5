#include "load/LoadRequests.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantor::load {
namespace {

using transfer::toSpacedHex;

struct TypeCase {
    const char* name;
    bool singlePort;
    std::size_t frameSize;
};

class RtuFramePerType : public ::testing::TestWithParam<TypeCase> {};

TEST_P(RtuFramePerType, PortsAndLength) {
    const auto& c = GetParam();
    LoadFields f;
    f.deviceType = *deviceTypeIndex(c.name);
    f.com1 = {6, 1, 1, "1"};
    f.com2 = {0, 0, 0, "127"};
    EXPECT_EQ(singlePort(f.deviceType), c.singlePort);
    const auto frame = rtuSettingsRequest(f);
    ASSERT_EQ(frame.size(), c.frameSize);
    const std::string com1 = "01 00 00 00 01 00 00 00 08 00 00 00 01 00 00 00 06 00 00 00";
    const std::string com2 = "7f 00 00 00 00 00 00 00 08 00 00 00 00 00 00 00 00 00 00 00";
    const std::string head = c.singlePort ? "14 00 00 00 14 00 00 00 " : "14 00 00 00 28 00 00 00 ";
    EXPECT_EQ(toSpacedHex(frame), head + com1 + (c.singlePort ? "" : " " + com2));
}

INSTANTIATE_TEST_SUITE_P(Types, RtuFramePerType,
                         ::testing::Values(TypeCase{"NXE-485-ZRTU2", false, 48},
                                           TypeCase{"KX-P1R0-1.0", true, 28},
                                           TypeCase{"NXE-485-ZRTU2E", false, 48},
                                           TypeCase{"KX-P1-1.0", true, 28}, TypeCase{"LNK-P1-1.0", true, 28}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 if (ch == '-' || ch == '.')
                                     ch = '_';
                             return n;
                         });

TEST(LoadRequests, DefaultRtuFrame) {
    // The dialog's initial values: 19200, even parity, 1 stop bit, 17 and 18.
    EXPECT_EQ(toSpacedHex(rtuSettingsRequest(LoadFields{})),
              "14 00 00 00 28 00 00 00 "
              "11 00 00 00 00 00 00 00 08 00 00 00 02 00 00 00 03 00 00 00 "
              "12 00 00 00 00 00 00 00 08 00 00 00 02 00 00 00 03 00 00 00");
}

TEST(LoadRequests, FixedFrames) {
    EXPECT_EQ(toSpacedHex(identificationRequest()), "01 00 00 00 00 00 00 00");
    EXPECT_EQ(toSpacedHex(restartRequest()), "02 00 00 00 00 00 00 00");
    EXPECT_EQ(toSpacedHex(fieldbusRequest()), "15 00 00 00 01 00 00 00 03 00 00 00");
}

TEST(LoadRequests, NetworkFrameAndPortBytes) {
    LoadFields f;
    std::string refusal;
    auto s = checkNetworkFields(f, &refusal);
    ASSERT_TRUE(s.has_value()) << refusal;
    EXPECT_EQ(toSpacedHex(networkRequest(*s)), "0a 00 00 00 18 00 00 00 c0 a8 01 0a ff ff ff 00 c0 a8 01 01 "
                                               "f6 01 00 00 00 00 00 00 00 00 00 00");
    f.modPort = "5032";
    s = checkNetworkFields(f, &refusal);
    ASSERT_TRUE(s.has_value());
    const auto frame = networkRequest(*s);
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_EQ(frame[20], 0xA8);
    EXPECT_EQ(frame[21], 0x13);
}

struct CheckCase {
    const char* name;
    LoadFields fields;
    // Expected refusal of each check; empty: accepted.
    std::string endpoint, addresses, network;
};

LoadFields with(void (*change)(LoadFields&)) {
    LoadFields f;
    f.gatewayIp = "192.168.1.15";
    change(f);
    return f;
}

class FieldChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FieldChecks, Refusals) {
    const auto& c = GetParam();
    std::string refusal;
    EXPECT_EQ(checkEndpoint(c.fields, &refusal).has_value(), c.endpoint.empty());
    EXPECT_EQ(c.endpoint.empty() ? "" : refusal, c.endpoint);
    refusal.clear();
    EXPECT_EQ(checkModbusAddresses(c.fields, &refusal), c.addresses.empty());
    EXPECT_EQ(refusal, c.addresses);
    refusal.clear();
    EXPECT_EQ(checkNetworkFields(c.fields, &refusal).has_value(), c.network.empty());
    EXPECT_EQ(refusal, c.network);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldChecks,
    ::testing::Values(
        CheckCase{"Defaults", with([](LoadFields&) {}), "", "", ""},
        CheckCase{"Address127", with([](LoadFields& f) { f.com1.address = "127"; }), "", "", ""},
        CheckCase{"Address128", with([](LoadFields& f) { f.com1.address = "128"; }), "", kModAddressRange,
                  ""},
        CheckCase{"AddressEmpty", with([](LoadFields& f) { f.com2.address = ""; }), "", kModAddressRange, ""},
        CheckCase{"AddressSign", with([](LoadFields& f) { f.com1.address = "-1"; }), "", kModAddressRange,
                  ""},
        CheckCase{"Com2NotCheckedOnSinglePort", with([](LoadFields& f) {
                      f.deviceType = 4;
                      f.com2.address = "300";
                  }),
                  "", "", ""},
        CheckCase{"Com2CheckedOnTwoPorts", with([](LoadFields& f) { f.com2.address = "300"; }), "",
                  kModAddressRange, ""},
        CheckCase{"ConfigPortZero", with([](LoadFields& f) { f.configPort = "0"; }), kConfigPortRange, "",
                  ""},
        CheckCase{"ConfigPort65536", with([](LoadFields& f) { f.configPort = "65536"; }), kConfigPortRange,
                  "", ""},
        CheckCase{"GatewayIpIncomplete", with([](LoadFields& f) { f.gatewayIp = "192.168.1."; }),
                  kIncompleteIp, "", ""},
        // Only an address a gateway can have is connected to.
        CheckCase{"GatewayIpZero", with([](LoadFields& f) { f.gatewayIp = "0.0.0.0"; }), kIncompleteIp, "",
                  ""},
        CheckCase{"ModPort65535", with([](LoadFields& f) { f.modPort = "65535"; }), "", "", ""},
        CheckCase{"ModPort65536", with([](LoadFields& f) { f.modPort = "65536"; }), "", "", kModPortRange},
        CheckCase{"ModPortEmpty", with([](LoadFields& f) { f.modPort = ""; }), "", "", kModPortRange},
        CheckCase{"MaskIncomplete", with([](LoadFields& f) { f.mask = "255.255.255"; }), "", "",
                  services::kMaskWrong},
        // The configurator's address rule and texts (more cases with the rule).
        CheckCase{"MaskWithAHole", with([](LoadFields& f) { f.mask = "255.0.255.0"; }), "", "",
                  services::kMaskWrong},
        CheckCase{"GatewayOutsideSubnet", with([](LoadFields& f) { f.gateway = "192.168.2.1"; }), "", "",
                  services::kGatewayOutsideSubnet},
        // One message for every MOD端口 refused, 0 among them.
        CheckCase{"ModPortZero", with([](LoadFields& f) { f.modPort = "0"; }), "", "", kModPortRange},
        // Settings that would leave the gateway unreachable are not sent.
        CheckCase{"IpIsBroadcast", with([](LoadFields& f) { f.newIp = "192.168.1.255"; }), "", "",
                  services::kIpIsBroadcastAddress},
        CheckCase{"IpIsNetwork", with([](LoadFields& f) { f.newIp = "192.168.1.0"; }), "", "",
                  services::kIpIsNetworkAddress},
        CheckCase{"GatewayIsNewIp", with([](LoadFields& f) { f.gateway = f.newIp; }), "", "",
                  services::kGatewayIsIp}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadRequests, ListIndexesPastTheListsAreProgrammingErrors) {
    LoadFields f;
    f.com1.baud = 7;
    EXPECT_THROW(rtuSettingsRequest(f), std::out_of_range);
    f = LoadFields{};
    f.deviceType = 5;
    EXPECT_THROW(rtuSettingsRequest(f), std::out_of_range);
    EXPECT_FALSE(deviceTypeIndex("NXE-485").has_value());
}

} // namespace
} // namespace vantor::load
