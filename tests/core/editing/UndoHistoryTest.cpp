// Undo and redo over project snapshots, and the modified mark that follows
// them.
#include "editing/UndoHistory.h"

#include "EditingFixtures.h"

#include <gtest/gtest.h>

using namespace vantor;
using editing::UndoHistory;

namespace {

model::CVantorDoc start() {
    return vantor::testing::project("KX-P2R0-1.0", {"COM1"});
}

// An edit: one more slave with the next address.
void addOne(model::CVantorDoc& doc) {
    vantor::testing::addTestSlave(doc, "COM1", static_cast<int>(doc.slaves.size()) + 1);
}

} // namespace

TEST(UndoHistory, StepsBackAndForthWithTheModifiedMark) {
    auto doc = start();
    UndoHistory h;
    h.reset(doc);
    EXPECT_FALSE(h.record(doc)) << "nothing changed";
    EXPECT_FALSE(doc.modified);
    addOne(doc);
    EXPECT_TRUE(h.record(doc));
    addOne(doc);
    EXPECT_TRUE(h.record(doc));
    EXPECT_TRUE(doc.modified);
    doc.selectedItem = 1;
    ASSERT_TRUE(h.undo(doc));
    EXPECT_EQ(doc.slaves.size(), 1u);
    EXPECT_EQ(doc.selectedItem, -1) << "a restored step selects nothing";
    EXPECT_EQ(doc.coms[0].addArea[2], 0) << "the occupancy goes back with the slaves";
    ASSERT_TRUE(h.undo(doc));
    EXPECT_TRUE(doc.slaves.empty());
    EXPECT_FALSE(doc.modified) << "back at the opened state";
    EXPECT_FALSE(h.undo(doc));
    ASSERT_TRUE(h.redo(doc));
    EXPECT_EQ(doc.slaves.size(), 1u);
    EXPECT_TRUE(doc.modified);
    // Saved here: undoing further marks modified again, coming back clears it.
    h.markSaved();
    ASSERT_TRUE(h.undo(doc));
    EXPECT_TRUE(doc.modified);
    ASSERT_TRUE(h.redo(doc));
    EXPECT_FALSE(doc.modified);
    // A new edit drops what was undone.
    EXPECT_TRUE(h.canRedo());
    doc.addType = 1;
    EXPECT_TRUE(h.record(doc));
    EXPECT_FALSE(h.canRedo());
}

TEST(UndoHistory, SelectionAloneIsNoStep) {
    auto doc = start();
    addOne(doc);
    UndoHistory h;
    h.reset(doc);
    doc.selectedItem = 0;
    doc.copiedSlave = 0;
    EXPECT_FALSE(h.record(doc));
    EXPECT_FALSE(h.canUndo());
    doc.slaves[0].x += 30; // a drag is
    EXPECT_TRUE(h.record(doc));
}

TEST(UndoHistory, HundredStepsAndASavedStepThatFellOff) {
    const struct {
        int edits;
        int undoable;
    } cases[] = {{1, 1}, {100, 100}, {150, 100}};
    for (const auto& c : cases) {
        auto doc = start();
        UndoHistory h;
        h.reset(doc);
        for (int i = 0; i < c.edits; ++i) {
            doc.sendInterlTime = i + 1;
            h.record(doc);
        }
        int undone = 0;
        while (h.undo(doc))
            ++undone;
        EXPECT_EQ(undone, c.undoable) << c.edits;
        EXPECT_EQ(doc.sendInterlTime, c.edits - c.undoable) << c.edits;
        // Once the opened state fell off, no step is the saved one.
        EXPECT_EQ(doc.modified, c.edits > c.undoable) << c.edits;
    }
}
