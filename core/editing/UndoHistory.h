#pragma once
// Undo and redo over whole-project snapshots: after every edit the window
// records the project; a record that differs from the current step in its
// content (not in its selection) becomes a new step and drops the steps
// that were undone. The modified mark follows the steps: the project is
// modified whenever the current step is not the one last saved or opened.
#include "model/CVantorDoc.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace vantor::editing {

// Whether two projects hold the same content: everything the file keeps and
// the editing state derived from it, but not the selection, the copied
// slave, the last proposed slave address or the modified flag.
bool sameContent(const model::CVantorDoc& a, const model::CVantorDoc& b);

class UndoHistory {
public:
    static constexpr std::size_t kSteps = 100; // steps that can be undone

    // A new or opened project: the only step, and the saved one.
    void reset(const model::CVantorDoc& doc);
    // After an edit. Answers whether a new step was made. Sets doc.modified.
    bool record(model::CVantorDoc& doc);
    // The project was saved as it is now.
    void markSaved();

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < steps_.size(); }
    // Replace the project's content with the previous (next) step; the
    // selection is cleared. False when there is none.
    bool undo(model::CVantorDoc& doc);
    bool redo(model::CVantorDoc& doc);

private:
    void restore(model::CVantorDoc& doc) const;

    std::deque<model::CVantorDoc> steps_;
    std::size_t current_ = 0;
    std::optional<std::size_t> saved_; // none once the saved step was dropped
};

} // namespace vantor::editing
