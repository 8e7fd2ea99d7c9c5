#pragma once
// Helpers of the window tests: answering the next modal dialog (and failing
// loudly when none comes) and answering file requests without a file dialog.
#include "FileChooser.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

namespace vantor::testing {

// Arms a zero-time timer before an action that must open a modal dialog:
// the timer fires inside the dialog's own event loop and runs `act` on it.
// When no modal dialog is up at that moment, the step is marked failed
// instead of waiting. A step whose action opened nothing never fires: check
// `ran()` after the action (VERIFY_MODAL). Destroying the step disarms it,
// so a step can never act on a later, unrelated dialog.
class ModalStep {
public:
    explicit ModalStep(std::function<void(QDialog*)> act) : act_(std::move(act)) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ran_ = true;
                act_(d);
            } else {
                failed_ = true;
            }
        });
        timer_.start(0);
    }
    bool ran() const { return ran_; }
    bool failedEarly() const { return failed_; }

private:
    std::function<void(QDialog*)> act_;
    QTimer timer_;
    bool ran_ = false;
    bool failed_ = false;
};

#define VERIFY_MODAL(step)                                                                                   \
    QVERIFY2((step).ran(), (step).failedEarly() ? "the modal dialog was not up when expected"                \
                                                : "the action opened no modal dialog")

// Runs `open` (a click that pops a menu up) and answers whether the menu
// offered `action` enabled; the menu is closed without a choice.
inline bool popupOffers(QAction* action, const std::function<void()>& open) {
    bool offered = false;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            offered = menu->actions().contains(action) && action->isEnabled();
            menu->close();
        }
    });
    open();
    return offered;
}

// Answers file requests from a list of paths, one per request, and records
// each request. A request with no answer left is recorded as unanswered and
// treated as cancelled.
class ScriptedChooser : public gui::FileChooser {
public:
    explicit ScriptedChooser(QStringList answers = {}) : answers_(std::move(answers)) { install(this); }
    ~ScriptedChooser() override { install(nullptr); }
    ScriptedChooser(const ScriptedChooser&) = delete;
    ScriptedChooser& operator=(const ScriptedChooser&) = delete;

    QString choose(QWidget*, const gui::FileRequest& request) override {
        requests.push_back(request);
        if (answers_.isEmpty()) {
            ++unanswered;
            return {};
        }
        return answers_.takeFirst();
    }
    void answer(const QString& path) { answers_.append(path); }

    std::vector<gui::FileRequest> requests;
    int unanswered = 0;

private:
    QStringList answers_;
};

// The line edit `name` of a dialog gets `text` (the test fails without it).
inline void setField(QDialog* d, const char* name, const QString& text) {
    auto* e = d->findChild<QLineEdit*>(name);
    QVERIFY2(e, name);
    e->setText(text);
}

// OK of a dialog's button box.
inline void pressOk(QDialog* d) {
    d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

// A file's bytes, empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace vantor::testing
