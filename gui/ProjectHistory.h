#pragma once
// The undo history of a project as the project window sees it: the steps
// and the modified mark of one document, whatever its type.
#include "editing/SnapshotHistory.h"

namespace vantor::gui {

class ProjectHistory {
public:
    virtual ~ProjectHistory() = default;

    virtual bool modified() const = 0;
    // After an edit: a changed project becomes a step; the modified mark
    // follows the steps.
    virtual void record() = 0;
    // A new or opened project: the only step, unmodified.
    virtual void restart() = 0;
    // The project was saved as it is now: unmodified.
    virtual void markSaved() = 0;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    // One step back (forward); false when there is none.
    virtual bool undo() = 0;
    virtual bool redo() = 0;
};

// The snapshot history of a document the window owns (`doc` outlives it).
template <typename Doc, typename WindowState> class DocumentHistory final : public ProjectHistory {
public:
    explicit DocumentHistory(Doc& doc) : doc_(doc) {}

    bool modified() const override { return doc_.modified; }
    void record() override { steps_.record(doc_); }
    void restart() override {
        doc_.modified = false;
        steps_.reset(doc_);
    }
    void markSaved() override {
        doc_.modified = false;
        steps_.markSaved();
    }
    bool canUndo() const override { return steps_.canUndo(); }
    bool canRedo() const override { return steps_.canRedo(); }
    bool undo() override { return steps_.undo(doc_); }
    bool redo() override { return steps_.redo(doc_); }

private:
    Doc& doc_;
    editing::SnapshotHistory<Doc, WindowState> steps_;
};

} // namespace vantor::gui
