#include "editing/ModuleList.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

struct ReferenceCase {
    int area;
    int gate;
    const char* text;
};

class ReferenceNotationTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceNotationTest, Formats) {
    const auto& c = GetParam();
    EXPECT_EQ(editing::referenceAddress(c.area, c.gate), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReferenceNotationTest,
                         ::testing::Values(ReferenceCase{0, 0, "00000"}, ReferenceCase{0, 12, "00012"},
                                           ReferenceCase{0, 8191, "08191"}, ReferenceCase{1, 0, "10000"},
                                           ReferenceCase{1, 9999, "19999"}, ReferenceCase{3, 5, "30005"},
                                           ReferenceCase{4, 0, "40000"}, ReferenceCase{4, 3999, "43999"},
                                           ReferenceCase{0, 10000, "010000"},
                                           ReferenceCase{1, 10000, "110000"},
                                           ReferenceCase{4, 12345, "412345"},
                                           ReferenceCase{3, 10001, "310001"}));

TEST(ModuleListTest, RowsOfSelectedSlave) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    int s = addTestSlave(doc, "COM1", 17);
    doc.slaves[0].name = "水泵";
    doc.slaves[0].modules = {command("读4区 03H", 100, 10, 20), command("写0区 05H 写单线圈", 3, 1, 4096)};
    doc.slaves[0].modules[1].editSend = 1;
    doc.slaves[0].modules[1].Explain = "启停";
    doc.selectedItem = doc.slaveItem(s);
    auto view = editing::selectionView(doc);
    EXPECT_EQ(view.name, "水泵");
    EXPECT_EQ(view.address, "17");
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0], (editing::ModuleRow{"1", "读4区 03H", "100", "10", "", "40020", ""}));
    EXPECT_EQ(view.rows[1], (editing::ModuleRow{"2", "写0区 05H 写单线圈", "3", "1", "是", "04096", "启停"}));

    doc.selectedItem = doc.comItem(0);
    EXPECT_EQ(editing::selectionView(doc), (editing::SelectionView{"COM1", "", {}}));
    doc.selectedItem = doc.masterItem(0);
    EXPECT_EQ(editing::selectionView(doc), editing::SelectionView{});
    doc.selectedItem = -1;
    EXPECT_EQ(editing::selectionView(doc), editing::SelectionView{});
}

TEST(ModuleListTest, DeleteCommandAsksAndRemoves) {
    auto doc = vantor::testing::project("KX-P6R0-1.0", {"COM1"});
    addTestSlave(doc, "COM1", 1);
    doc.slaves[0].modules = {command("读4区 03H", 0, 1, 0), command("读4区 03H", 1, 1, 1),
                             command("读4区 03H", 2, 1, 2)};
    doc.selectedItem = 0;
    RecordingSink sink;
    sink.answers = {false, true};
    EXPECT_FALSE(editing::deleteCommand(doc, 1, sink));
    EXPECT_EQ(doc.slaves[0].modules.size(), 3u);
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(editing::deleteCommand(doc, 1, sink));
    ASSERT_EQ(doc.slaves[0].modules.size(), 2u);
    EXPECT_EQ(doc.slaves[0].modules[1].Start_Add, 2);
    EXPECT_TRUE(doc.modified);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0], (Message{MessageKind::Question, "删除模块", "确实要删除吗？"}));
    // Rows that do not exist ask nothing.
    EXPECT_FALSE(editing::deleteCommand(doc, 2, sink));
    EXPECT_FALSE(editing::deleteCommand(doc, -1, sink));
    EXPECT_EQ(sink.messages.size(), 2u);
    EXPECT_TRUE(editing::rowEditable(doc, 1));
    EXPECT_FALSE(editing::rowEditable(doc, 2));
    doc.slaves[0].modules[1].Func.clear();
    EXPECT_FALSE(editing::rowEditable(doc, 1));
}

} // namespace
