#include "services/WorkMode.h"
#include "../transfer/ProjectBuilder.h"
#include "transfer/ConfigurationImage.h"

#include <gtest/gtest.h>

namespace vantor::services {
namespace {

TEST(WorkMode, SelectionStoreAndImageHeader) {
    struct Case {
        int stored, selection, saved;
        bool modified;
        uint8_t header;
    } cases[] = {{0, 0, 0, false, 1}, {0, 1, 1, true, 5}, {1, 1, 1, false, 5}, {1, 0, 0, true, 1}};
    for (const auto& c : cases) {
        transfer::testing::ProjectBuilder b("LNK-P1-1.0");
        b.line("COM1").slave("COM1", 1).command("读0区 01H", 0, 8, 0);
        b.doc.GW_work_mode = c.stored;
        EXPECT_EQ(workModeSelection(b.doc), c.stored);
        storeWorkMode(b.doc, c.selection);
        EXPECT_EQ(b.doc.GW_work_mode, c.saved);
        EXPECT_EQ(b.doc.modified, c.modified);
        const auto block = transfer::buildFieldbusBlock(b.doc);
        ASSERT_GE(block.size(), 4u);
        EXPECT_EQ(block[0], c.header);
        EXPECT_EQ(workModeHeaderCode(c.saved), c.header);
    }
    EXPECT_TRUE(workModeOffered("LNK-P1-1.0"));
    EXPECT_FALSE(workModeOffered("KX-P1-1.0"));
    EXPECT_EQ(kWorkModeNames[0], "rtu-master+tcp-slave");
    EXPECT_EQ(kWorkModeNames[1], "rtu-master+tcp-master");
}

} // namespace
} // namespace vantor::services
