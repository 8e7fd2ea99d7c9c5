// Undo and redo of VantorNet projects: which changes make a step, what a
// restored step keeps of the window state, the modified mark and the depth.
#include "net/NetUndoHistory.h"

#include "NetFixtures.h"
#include "net/NetAddressTables.h"

#include <gtest/gtest.h>

using namespace vantor::net;
using vantor::net::testing::command;
using vantor::net::testing::project;
using vantor::net::testing::server;

TEST(NetUndoHistory, WhatMakesAStep) {
    struct Case {
        const char* what;
        void (*change)(CVantorNetDoc&);
        bool step;
    };
    const Case cases[] = {
        {"a server", [](CVantorNetDoc& d) { d.slaves.push_back(server("10.0.0.2", 502, 1)); }, true},
        {"a command",
         [](CVantorNetDoc& d) { d.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 0, 4, 0)); },
         true},
        {"the serial settings", [](CVantorNetDoc& d) { d.com2.baud = 6; }, true},
        {"the work mode", [](CVantorNetDoc& d) { d.GW_work_mode = 1; }, true},
        {"the change-send default", [](CVantorNetDoc& d) { d.isDataModifySendEnable = 1; }, true},
        {"the bus length", [](CVantorNetDoc& d) { d.bus.length = 900; }, true},
        {"the selection", [](CVantorNetDoc& d) { d.currentSelect = 3; }, false},
        {"the add-mode flag", [](CVantorNetDoc& d) { d.insert_slave_flag = 1; }, false},
        {"the exchange flag", [](CVantorNetDoc& d) { d.rev_allow = 0; }, false},
        {"the next gateway addresses", [](CVantorNetDoc& d) { d.nextGateAddress[3] = 40; }, false},
    };
    for (const auto& c : cases) {
        CVantorNetDoc doc = project("KX-P1-1.0");
        doc.slaves.push_back(server("10.0.0.1", 502, 1));
        NetUndoHistory h;
        h.reset(doc);
        c.change(doc);
        EXPECT_EQ(h.record(doc), c.step) << c.what;
        EXPECT_EQ(doc.modified, c.step) << c.what;
        EXPECT_EQ(h.canUndo(), c.step) << c.what;
    }
}

TEST(NetUndoHistory, UndoRedoRestoresContentAndClearsTheSelection) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    NetUndoHistory h;
    h.reset(doc);
    doc.slaves.push_back(server("10.0.0.1", 502, 1));
    doc.currentSelect = CVantorNetDoc::slaveSelection(0);
    h.record(doc);
    doc.slaves[0].nodes[0].modules.push_back(command("读4区 03H", 0, 10, 0));
    correctGatewayAddresses(doc);
    h.record(doc);
    EXPECT_EQ(doc.nextGateAddress[3], 10);

    doc.rev_allow = 0;
    ASSERT_TRUE(h.undo(doc));
    EXPECT_EQ(doc.commandCount(), 0);
    EXPECT_EQ(doc.nextGateAddress[3], 0) << "the proposal goes back with the command";
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::kSelectNothing);
    EXPECT_EQ(doc.rev_allow, 0) << "the exchange flag is no project content";
    ASSERT_TRUE(h.undo(doc));
    EXPECT_TRUE(doc.slaves.empty());
    EXPECT_FALSE(doc.modified) << "back at the opened step";
    EXPECT_FALSE(h.undo(doc));
    ASSERT_TRUE(h.redo(doc));
    ASSERT_TRUE(h.redo(doc));
    EXPECT_EQ(doc.commandCount(), 1);
    EXPECT_EQ(doc.nextGateAddress[3], 10);
    EXPECT_TRUE(doc.modified);
    EXPECT_FALSE(h.redo(doc));

    // A new edit after an undo drops the undone steps.
    ASSERT_TRUE(h.undo(doc));
    doc.com1.address = 5;
    EXPECT_TRUE(h.record(doc));
    EXPECT_FALSE(h.canRedo());
}

TEST(NetUndoHistory, SavedStepAndDepth) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    NetUndoHistory h;
    h.reset(doc);
    for (int i = 0; i < 150; ++i) {
        doc.bus.length = 500 + i;
        h.record(doc);
        if (i == 120)
            h.markSaved();
    }
    int undone = 0;
    while (h.undo(doc)) {
        ++undone;
        EXPECT_EQ(doc.modified, doc.bus.length != 620) << "modified except at the saved step";
    }
    EXPECT_EQ(undone, static_cast<int>(NetUndoHistory::kSteps));
    EXPECT_EQ(doc.bus.length, 549) << "the oldest step kept";
}
