// The project-window skeleton on a program of its own: a project that is one
// number in a text file. The save question before a project is closed, the
// undo step that only afterEdit() records, an edit under way, refused
// opens and failed saves; and Vantor's window, whose edits all reach it.
#include "ProjectWindow.h"
#include "DeviceAccessDialog.h"
#include "GuiTestSupport.h"
#include "IpAddressEdit.h"
#include "MainWindow.h"
#include "ProjectHistory.h"
#include "QtMessageSink.h"

#include <QMenu>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

using vantor::testing::ModalStep;
using vantor::testing::ScriptedChooser;

namespace {

struct NumberDoc {
    int value = 0;
    bool modified = false;
};
struct NumberWindowState {
    static bool sameContent(const NumberDoc& a, const NumberDoc& b) { return a.value == b.value; }
    static void restoreWindowState(NumberDoc&, const NumberDoc&) {}
};

class NumberWindow : public vantor::gui::ProjectWindow {
public:
    NumberWindow() : ProjectWindow({"Number", "Number files(*.num)", "num"}, nullptr) {
        auto* file = new QMenu(this);
        addFileCommands(file);
        addRecentFilesAndExit(file);
        addEditCommands(new QMenu(this));
        projectStarted();
    }
    // An edit as a window makes it: the document changes, then afterEdit().
    void edit(int value) {
        doc.value = value;
        afterEdit();
    }
    void trigger(int id) { commandAction(id)->trigger(); }
    using ProjectWindow::commandAction;

    NumberDoc doc;
    vantor::gui::DocumentHistory<NumberDoc, NumberWindowState> steps{doc};
    bool failWrites = false;
    bool dragging = false;
    int shown = 0;

private:
    vantor::gui::ProjectHistory& history() override { return steps; }
    void startProject() override { doc = NumberDoc{}; }
    bool readProject(const std::string& path, std::string& error) override {
        std::ifstream in(path);
        int value = 0;
        if (!(in >> value)) {
            error = "not a number file";
            return false;
        }
        doc.value = value;
        return true;
    }
    bool writeProject(const std::string& path, std::string& error) override {
        if (failWrites) {
            error = "write failed";
            return false;
        }
        std::ofstream(path) << doc.value;
        return true;
    }
    void showProject() override { ++shown; }
    bool editInProgress() const override { return dragging; }
};

// Answers the save question with `button`.
ModalStep answerSaveQuestion(QMessageBox::StandardButton button, QString* asked) {
    return ModalStep([=](QDialog* d) {
        *asked = static_cast<QMessageBox*>(d)->text();
        static_cast<QMessageBox*>(d)->button(button)->click();
    });
}

} // namespace

class ProjectWindowTest : public QObject {
    Q_OBJECT

    vantor::RecordingSink messages_;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        vantor::gui::QtMessageSink::redirectTo(&messages_);
    }
    void cleanupTestCase() { vantor::gui::QtMessageSink::redirectTo(nullptr); }
    void init() { messages_.messages.clear(); }

    // 新建 and closing a modified project ask first: Cancel keeps it, No
    // drops it unsaved, Yes saves it (through 另存为 when it has no name)
    // and goes on only when the save succeeded.
    void theSaveQuestionBeforeAProjectIsClosed() {
        struct Case {
            const char* name;
            QMessageBox::StandardButton answer;
            bool failWrites;
            bool goesOn;
            bool written;
        } cases[] = {
            {"cancel", QMessageBox::Cancel, false, false, false},
            {"no", QMessageBox::No, false, true, false},
            {"yes", QMessageBox::Yes, false, true, true},
            {"yes, the save fails", QMessageBox::Yes, true, false, false},
        };
        for (const auto& c : cases) {
            for (bool closing : {false, true}) {
                QTemporaryDir dir;
                const QString target = dir.filePath("p.num");
                ScriptedChooser chooser({target});
                NumberWindow w;
                w.edit(7);
                w.failWrites = c.failWrites;
                QString asked;
                ModalStep step = answerSaveQuestion(c.answer, &asked);
                bool wentOn = false;
                if (closing) {
                    wentOn = w.close();
                } else {
                    w.trigger(NumberWindow::kNew);
                    wentOn = w.doc.value == 0;
                }
                VERIFY_MODAL(step);
                QCOMPARE(asked, QString("是否保存对 Untitled 的更改？"));
                QVERIFY2(wentOn == c.goesOn, c.name);
                QVERIFY2(QFile::exists(target) == c.written, c.name);
                if (!c.goesOn)
                    QVERIFY2(w.doc.value == 7 && w.windowTitle() == "Untitled* - Number", c.name);
            }
        }
    }

    // Only afterEdit() records a step: a save or a change that never reached
    // it makes none, and the modified mark follows the steps.
    void onlyAfterEditRecordsAStep() {
        QTemporaryDir dir;
        NumberWindow w;
        QCOMPARE(w.windowTitle(), QString("Untitled - Number"));
        QVERIFY(!w.commandAction(NumberWindow::kUndo)->isEnabled());
        w.edit(1);
        QCOMPARE(w.windowTitle(), QString("Untitled* - Number"));
        w.doc.value = 2; // not an edit the window made
        QVERIFY(w.saveTo(dir.filePath("p.num")));
        QCOMPARE(w.windowTitle(), QString("p.num - Number"));
        w.trigger(NumberWindow::kUndo);
        QCOMPARE(w.doc.value, 0);
        QVERIFY(!w.commandAction(NumberWindow::kUndo)->isEnabled());
    }

    // An edit under way marks the title at once; it becomes one step, and
    // the screen follows, when it ends.
    void anEditUnderWayIsOneStepWhenItEnds() {
        NumberWindow w;
        const int shownBefore = w.shown;
        w.dragging = true;
        w.doc.modified = true; // as the drawing marks a drag
        w.edit(1);
        QCOMPARE(w.windowTitle(), QString("Untitled* - Number"));
        w.edit(2);
        QCOMPARE(w.shown, shownBefore);
        QVERIFY(!w.commandAction(NumberWindow::kUndo)->isEnabled());
        w.dragging = false;
        w.edit(2);
        QCOMPARE(w.shown, shownBefore + 1);
        w.trigger(NumberWindow::kUndo);
        QCOMPARE(w.doc.value, 0);
        QCOMPARE(w.windowTitle(), QString("Untitled - Number"));
    }

    // A refused open and a failed save say why and change neither the
    // project, nor its name (a later 保存 goes where it went before), nor
    // its modified mark.
    void refusedOpensAndFailedSavesChangeNothing() {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.num"), bad = dir.filePath("bad.num");
        std::ofstream(good.toStdString()) << 5;
        std::ofstream(bad.toStdString()) << "five";
        NumberWindow w;
        QVERIFY(w.openProject(good));
        w.edit(6);
        QVERIFY(!w.openProject(bad));
        w.failWrites = true;
        QVERIFY(!w.saveTo(dir.filePath("other.num")));
        QCOMPARE(messages_.texts(), (std::vector<std::string>{"not a number file", "write failed"}));
        QCOMPARE(w.doc.value, 6);
        QCOMPARE(w.windowTitle(), QString("good.num* - Number"));
        QVERIFY(!QFile::exists(dir.filePath("other.num")));
        // 保存 still goes to the project's own file.
        w.failWrites = false;
        w.trigger(NumberWindow::kSave);
        QCOMPARE(vantor::testing::readAll(good), QByteArray("6"));
        QCOMPARE(vantor::testing::readAll(bad), QByteArray("five"));
    }

    // 访问参数设置 changes the access IP, which the project file keeps: an
    // edit like any other, one undo step, the title marked until saved.
    void theAccessAddressIsAnEdit() {
        QTemporaryDir dir;
        const QString data = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path())); // ETHOption.xml is written here
        const auto back = qScopeGuard([&] { QDir::setCurrent(data); });
        {
            MainWindow w;
            QVERIFY(w.openProject(data + "/demo.vtc"));
            const std::string before = w.document().IP;
            ModalStep step([](QDialog* d) {
                qobject_cast<DeviceAccessDialog*>(d)->ipEdit()->setText("10.1.2.3");
                d->accept();
            });
            w.findChild<QAction*>("command32802")->trigger();
            VERIFY_MODAL(step);
            QCOMPARE(w.windowTitle(), QString("demo.vtc* - Vantor"));
            QVERIFY(w.saveTo(dir.filePath("p.vtc")));
            QCOMPARE(w.windowTitle(), QString("p.vtc - Vantor"));
            w.findChild<QAction*>("command57643")->trigger();
            QCOMPARE(w.document().IP, before);
        }
    }
};

QTEST_MAIN(ProjectWindowTest)
#include "ProjectWindowTest.moc"
