#include "editing/UndoHistory.h"

namespace vantor::editing {

bool sameContent(const model::CVantorDoc& a, const model::CVantorDoc& b) {
    // Everything but the window state: a field the project gains later is
    // compared without being listed here.
    model::CVantorDoc bWithWindowStateOfA = b;
    bWithWindowStateOfA.selectedItem = a.selectedItem;
    bWithWindowStateOfA.copiedSlave = a.copiedSlave;
    bWithWindowStateOfA.lastProposedSlaveAddress = a.lastProposedSlaveAddress;
    bWithWindowStateOfA.modified = a.modified;
    return bWithWindowStateOfA == a;
}

void UndoHistory::reset(const model::CVantorDoc& doc) {
    steps_.clear();
    steps_.push_back(doc);
    current_ = 0;
    saved_ = 0;
}

bool UndoHistory::record(model::CVantorDoc& doc) {
    if (steps_.empty())
        reset(doc);
    const bool changed = !sameContent(steps_[current_], doc);
    if (changed) {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, steps_.end());
        if (saved_ && *saved_ > current_)
            saved_.reset();
        steps_.push_back(doc);
        ++current_;
        if (steps_.size() > kSteps + 1) {
            steps_.pop_front();
            --current_;
            if (saved_)
                saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
        }
    } else {
        // Same content: keep what else the project holds now (the
        // proposal memory, say) with this step.
        steps_[current_] = doc;
    }
    doc.modified = saved_ != current_;
    return changed;
}

void UndoHistory::markSaved() {
    saved_ = current_;
}

void UndoHistory::restore(model::CVantorDoc& doc) const {
    const int copied = doc.copiedSlave;
    doc = steps_[current_];
    doc.selectedItem = -1;
    doc.copiedSlave = copied >= 0 && copied < static_cast<int>(doc.slaves.size()) ? copied : -1;
    doc.modified = saved_ != current_;
}

bool UndoHistory::undo(model::CVantorDoc& doc) {
    if (!canUndo())
        return false;
    --current_;
    restore(doc);
    return true;
}

bool UndoHistory::redo(model::CVantorDoc& doc) {
    if (!canRedo())
        return false;
    ++current_;
    restore(doc);
    return true;
}

} // namespace vantor::editing
