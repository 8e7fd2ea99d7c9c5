#include "transfer/GatewayAddress.h"

#include <gtest/gtest.h>

namespace vantor::transfer {
namespace {

TEST(ConnectTarget, OnlyAnAddressAGatewayCanHaveAndAPortItServesOn) {
    using enum TargetFault;
    const struct {
        const char* host;
        const char* port;
        TargetFault fault;
        const char* connectedTo; // when accepted
    } cases[] = {
        {"192.168.1.15", "5032", None, "192.168.1.15"},
        {"192.168.001.010", "502", None, "192.168.1.10"}, // no octal reading
        {"127.0.0.1", "1", None, "127.0.0.1"},            // the simulated gateway
        {"223.255.255.254", "502", None, "223.255.255.254"},
        {"", "5032", Address, ""},
        {"0.0.0.0", "5032", Address, ""}, // reaches this machine
        {"224.0.0.1", "5032", Address, ""},
        {"240.0.0.1", "5032", Address, ""},
        {"255.255.255.255", "5032", Address, ""},
        {"1.2.3", "5032", Address, ""}, // the resolver would read 1.2.0.3
        {"0.0.0.0", "0", Address, ""},  // the address is named first
        {"192.168.1.15", "", Port, ""},
        {"192.168.1.15", "0", Port, ""},
        {"192.168.1.15", "65536", Port, ""},
        {"192.168.1.15", "50a", Port, ""},
    };
    for (const auto& c : cases) {
        const auto target = connectTarget(c.host, c.port);
        EXPECT_EQ(target.fault, c.fault) << "[" << c.host << "] [" << c.port << "]";
        EXPECT_EQ(target.host, c.connectedTo) << c.host;
        EXPECT_EQ(target.ok() ? std::to_string(target.port) : "", target.ok() ? c.port : "") << c.host;
    }
}

} // namespace
} // namespace vantor::transfer
