#include "transfer/AddressFiles.h"
#include "LoadFixtures.h"
#include "load/LoadRequests.h"

#include <gtest/gtest.h>

namespace vantor::transfer {
namespace {

using AddressFiles = load::testing::ScratchDir;

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string text;     // what the reader yields
    std::string proposed; // the gateway IP proposed from it
};

class AddressFileReading : public AddressFiles, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(AddressFileReading, TextEndsAtTheEndOrAtByteFF) {
    const auto& c = GetParam();
    put("IP/ip.txt", c.bytes);
    auto text = readAddressFile(ipFilePath(dir.string()));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, c.text);
    EXPECT_EQ(load::proposedGatewayIp(*text), c.proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressFileReading,
    ::testing::Values(ReadCase{"Plain", "192.168.1.15", "192.168.1.15", "192.168.1.15"},
                      ReadCase{"LineEndAfterTheIp", "192.168.1.15\r\n", "192.168.1.15\r\n", "192.168.1.15"},
                      ReadCase{"ByteFFEndsTheText",
                               "10.0.0.7\xFF"
                               "99.99.99.99",
                               "10.0.0.7", "10.0.0.7"},
                      ReadCase{"ByteFFFirst",
                               "\xFF"
                               "1.2.3.4",
                               "", "0.0.0.0"},
                      ReadCase{"Empty", "", "", "0.0.0.0"},
                      ReadCase{"BlanksBeforeParts", " 10. 1. 2. 3", " 10. 1. 2. 3", "10.1.2.3"},
                      ReadCase{"TooFewParts", "172.16", "172.16", "172.16.0.0"},
                      ReadCase{"MoreThanThreeDots", "1.2.3.4.5", "1.2.3.4.5", "1.2.3.4"},
                      ReadCase{"PartPastAByteKeepsItsLowByte", "300.1.1.1", "300.1.1.1", "44.1.1.1"},
                      ReadCase{"NotNumbers", "a.b.c.d", "a.b.c.d", "0.0.0.0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddressFiles, MissingFileOrFolderIsNotText) {
    EXPECT_FALSE(readAddressFile(ipFilePath(dir.string())).has_value());
    std::filesystem::create_directories(dir / "IP" / "ip.txt");
    EXPECT_FALSE(readAddressFile(ipFilePath(dir.string())).has_value());
    auto both = readAddressFiles(dir.string());
    EXPECT_FALSE(both.ip.has_value());
    EXPECT_FALSE(both.port.has_value());
}

TEST_F(AddressFiles, WritesBothFilesAnewWithoutLineEnds) {
    put("IP/ip.txt", "192.168.100.100\r\nan older, longer text");
    std::string error;
    ASSERT_TRUE(writeAddressFiles(dir.string(), "10.0.0.9", 5032, &error)) << error;
    EXPECT_EQ(get("IP/ip.txt"), "10.0.0.9");
    EXPECT_EQ(get("IP/port.txt"), "5032");
    // What was written reads back as written.
    auto both = readAddressFiles(dir.string());
    EXPECT_EQ(both.ip, "10.0.0.9");
    EXPECT_EQ(both.port, "5032");
}

TEST_F(AddressFiles, CreatesTheFolder) {
    std::string error;
    ASSERT_TRUE(writeAddressFile(ipFilePath(dir.string()), "1.2.3.4", &error)) << error;
    EXPECT_EQ(get("IP/ip.txt"), "1.2.3.4");
}

TEST_F(AddressFiles, FailedWriteStopsAndLeavesNoTemporaryFile) {
    put("IP/port.txt", "503");
    // ip.txt cannot be replaced: a folder holds its name.
    std::filesystem::create_directories(dir / "IP" / "ip.txt");
    std::string error;
    EXPECT_FALSE(writeAddressFiles(dir.string(), "10.0.0.9", 502, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "IP" / "ip.txt"));
    EXPECT_EQ(get("IP/port.txt"), "503");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir / "IP"))
        ++entries;
    EXPECT_EQ(entries, 2) << "a temporary file was left behind";
}

} // namespace
} // namespace vantor::transfer
