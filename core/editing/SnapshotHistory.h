#pragma once
// Undo and redo over whole-project snapshots, for any project type: after
// every edit the window records the project; a record that differs from the
// current step in its content (not in its window state) becomes a new step
// and drops the steps that were undone. The modified mark follows the
// steps: the project is modified whenever the current step is not the one
// last saved or opened.
//
// `WindowState` says what of a project is window state rather than content:
//   static bool sameContent(const Doc& a, const Doc& b);
//   // After `doc` took a step's content: put back what the window keeps
//   // across steps from `before` (the project as it was) and clear the
//   // selection.
//   static void restoreWindowState(Doc& doc, const Doc& before);
// The project type has a `bool modified` member.
#include <cstddef>
#include <deque>
#include <optional>

namespace vantor::editing {

template <typename Doc, typename WindowState> class SnapshotHistory {
public:
    static constexpr std::size_t kSteps = 100; // steps that can be undone

    // A new or opened project: the only step, and the saved one.
    void reset(const Doc& doc) {
        steps_.clear();
        steps_.push_back(doc);
        current_ = 0;
        saved_ = 0;
    }

    // After an edit. Answers whether a new step was made. Sets doc.modified.
    bool record(Doc& doc) {
        if (steps_.empty())
            reset(doc);
        const bool changed = !WindowState::sameContent(steps_[current_], doc);
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

    // The project was saved as it is now.
    void markSaved() { saved_ = current_; }

    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < steps_.size(); }

    // Replace the project's content with the previous (next) step; the
    // selection is cleared. False when there is none.
    bool undo(Doc& doc) {
        if (!canUndo())
            return false;
        --current_;
        restore(doc);
        return true;
    }
    bool redo(Doc& doc) {
        if (!canRedo())
            return false;
        ++current_;
        restore(doc);
        return true;
    }

private:
    void restore(Doc& doc) const {
        const Doc before = doc;
        doc = steps_[current_];
        WindowState::restoreWindowState(doc, before);
        doc.modified = saved_ != current_;
    }

    std::deque<Doc> steps_;
    std::size_t current_ = 0;
    std::optional<std::size_t> saved_; // none once the saved step was dropped
};

} // namespace vantor::editing
