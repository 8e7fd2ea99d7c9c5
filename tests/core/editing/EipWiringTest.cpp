// The editing steps that add commands run the EtherNet/IP tables' own size
// check by default: what no longer fits the connections is taken back.
#include "editing/CommandEditor.h"
#include "editing/EipAddressTable.h"
#include "editing/ProjectEditor.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

using namespace vantor;
using vantor::testing::addTestSlave;
using vantor::testing::command;

namespace {

// A TRX-H-QMB6 project whose input side is filled with 125-word reads up to
// the last one that still fits; answers the gateway address after them.
int fillInputs(model::CVantorDoc& doc) {
    addTestSlave(doc, "COM1", 1);
    RecordingSink quiet;
    int gate = 0;
    for (int i = 0; i < 64; ++i) {
        doc.slaves[0].modules.push_back(command("读3区 04H", i * 125, 125, gate));
        if (!editing::checkEipSize(doc, quiet)) {
            doc.slaves[0].modules.pop_back();
            return gate;
        }
        gate += 125;
    }
    ADD_FAILURE() << "the input side never overflowed";
    return gate;
}

TEST(EipWiringTest, CommandFormTakesBackWhatDoesNotFit) {
    auto doc = vantor::testing::project("TRX-H-QMB6", {"COM1"});
    fillInputs(doc);
    const auto before = doc.slaves[0].modules.size();
    doc.selectedItem = 0;
    RecordingSink sink;
    auto form = editing::openNewCommandForm(doc, "读4区 03H", sink);
    ASSERT_TRUE(form);
    form->startText = "0";
    form->lengthText = "125";
    form->gatewayText = "0"; // area 4 is still empty
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), editing::FormResult::Accepted);
    EXPECT_EQ(doc.slaves[0].modules.size(), before);
    EXPECT_EQ(sink.messages, (std::vector<Message>{{MessageKind::Error, "错误", "输入超限"}}));
    // A write still fits on the output side.
    sink.messages.clear();
    form = editing::openNewCommandForm(doc, "写4区 10H 写多字", sink);
    form->lengthText = "10";
    form->gatewayText = "200";
    EXPECT_EQ(editing::acceptCommandForm(doc, *form, sink), editing::FormResult::Accepted);
    EXPECT_EQ(doc.slaves[0].modules.size(), before + 1);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(EipWiringTest, PasteTakesBackWhatDoesNotFit) {
    auto doc = vantor::testing::project("TRX-H-QMB6", {"COM1"});
    fillInputs(doc);
    addTestSlave(doc, "COM1", 2);
    doc.slaves[1].modules = {command("读4区 03H", 0, 125, 0), command("写4区 10H 写多字", 0, 10, 200)};
    // Slave 2's read does not fit beside slave 1's; drop slave 1's last read
    // so that the source itself is valid, then paste slave 2.
    doc.slaves[0].modules.pop_back();
    RecordingSink quiet;
    ASSERT_TRUE(editing::checkEipSize(doc, quiet));
    doc.copiedSlave = 1;
    doc.selectedItem = doc.comItem(0);
    RecordingSink sink;
    auto out = editing::paste(doc, sink);
    ASSERT_TRUE(out.pasted);
    EXPECT_EQ(out.commands, 1);
    const auto& pasted = doc.slaves[static_cast<std::size_t>(out.slave)].modules;
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0].Func, "写4区 10H 写多字");
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"输入超限"}));
}

} // namespace
