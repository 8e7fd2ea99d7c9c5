#include "model/CVantorDoc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vantor::model;
namespace fs = std::filesystem;

namespace {

// A start directory with an optional access-address file.
fs::path startDirectory(const std::string& tag, const char* ethOption) {
    fs::path dir = fs::temp_directory_path() / ("vantor-newdoc-" + std::to_string(::getpid()) + "-" + tag);
    fs::remove_all(dir);
    fs::create_directories(dir / "IP");
    if (ethOption) {
        std::ofstream out(dir / "IP" / "ETHOption.xml", std::ios::binary);
        out << ethOption;
    }
    return dir;
}

// Everything the new-project step resets, set away from its value.
CVantorDoc usedDocument() {
    CVantorDoc d;
    d.masters.push_back({"KX-P6R0-1.0", 1, 1, "KX-P6R0-1.0"});
    d.coms.resize(3);
    d.slaves.resize(4);
    d.selectedItem = 3;
    d.slaveAddrFlag.fill(1);
    d.nextGateAddress = {5, 6, 7, 8};
    d.IP = "10.9.9.9";
    d.accessPort = 60000;
    d.SETIP = "x";
    d.SETMASK = "y";
    d.SETGW = "z";
    d.SETPORT = 7;
    d.addType = 1;
    d.editSendDefault = 1;
    d.sendInterlTime = 300;
    d.repTimeoutTime = 3000;
    d.cdtOptions = {4, 4, 4, 4};
    d.copiedSlave = 2;
    d.eip.fill(3);
    d.GW_work_mode = 4;
    return d;
}

} // namespace

TEST(NewDocument, AccessIpComesFromTheAddressFile) {
    struct Case {
        const char* why;
        const char* file; // nullptr: no file
        std::string ip;
    } cases[] = {
        {"GBK file with declaration",
         "<?xml version=\"1.0\" "
         "encoding=\"gb2312\"?>\r\n<ETHOption>\r\n<ip>10.1.2.3</ip>\r\n</ETHOption>\r\n",
         "10.1.2.3"},
        {"no file", nullptr, ""},
        {"no ip element", "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<ETHOption>\r\n</ETHOption>\r\n",
         ""},
        {"other root", "<Options><ip>1.2.3.4</ip></Options>", ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        fs::path dir = startDirectory(std::to_string(n++), c.file);
        CVantorDoc d = usedDocument();
        d.NewDocument(dir.string());
        EXPECT_EQ(d.IP, c.ip) << c.why;
        fs::remove_all(dir);
    }
}

TEST(NewDocument, ShippedAddressFileNamesTheLocalSimulator) {
    CVantorDoc d;
    d.NewDocument(VANTOR_DATA_DIR);
    EXPECT_EQ(d.IP, "127.0.0.1");
}

TEST(NewDocument, ResetsEveryProjectValue) {
    fs::path dir = startDirectory("defaults", nullptr);
    CVantorDoc d = usedDocument();
    d.NewDocument(dir.string());
    fs::remove_all(dir);
    EXPECT_TRUE(d.masters.empty());
    EXPECT_TRUE(d.coms.empty());
    EXPECT_TRUE(d.slaves.empty());
    EXPECT_EQ(d.slaveAddrFlag, (std::array<int, 256>{}));
    EXPECT_EQ(d.nextGateAddress, (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(d.accessPort, 5032);
    EXPECT_EQ(d.SETIP, "192.168.1.10");
    EXPECT_EQ(d.SETMASK, "255.255.255.0");
    EXPECT_EQ(d.SETGW, "192.168.1.1");
    EXPECT_EQ(d.SETPORT, 502);
    EXPECT_EQ(d.addType, 0);
    EXPECT_EQ(d.editSendDefault, 0);
    EXPECT_EQ(d.sendInterlTime, 0);
    EXPECT_EQ(d.repTimeoutTime, 500);
    EXPECT_EQ(d.cdtOptions, (std::array<int, 4>{1, 2, 500, 200}));
    EXPECT_EQ(d.copiedSlave, -1);
    EXPECT_EQ(d.eip, (std::array<int, 36>{}));
    EXPECT_EQ(d.GW_work_mode, 0);
    EXPECT_EQ(d.selectedSlave(), -1);
    EXPECT_EQ(d.selectedMaster(), -1);
    EXPECT_EQ(d.selectedCom(), -1);
}
