// Vantor in English: the walk over its window, menus, drawing selections,
// context menus, double-clicks and the dialogs all of them open finds no
// Chinese text but the demo project's own names.
#include "EnglishWalk.h"
#include "MainWindow.h"
#include "ProjectView.h"

#include <QtTest>

class EnglishWalkVantorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyWindowDialogAndMenuSpeaksEnglish() {
        vantor::testing::EnglishWalk walk("vantor");
        using Selection = vantor::testing::DrawingSelection<MainWindow>;
        const std::vector<Selection> selections = {
            {"nothing", [](MainWindow&) { return QPoint(2000, 900); }},
            {"gateway",
             [](MainWindow& w) {
                 return QPoint(w.document().masters[0].x + 5, w.document().masters[0].y + 5);
             }},
            {"line",
             [](MainWindow& w) { return QPoint(w.document().coms[0].x + 5, w.document().coms[0].y + 5); }},
            {"slave",
             [](MainWindow& w) {
                 return QPoint(w.document().slaves[0].x + 10, w.document().slaves[0].y + 10);
             }},
        };
        const QString failed = vantor::testing::walkProjectWindow<MainWindow, ProjectView>(
            walk, "demo.vtc", selections, [&](MainWindow& w) {
                for (const auto& slave : w.document().slaves) {
                    walk.allow(QString::fromStdString(slave.name));
                    for (const auto& m : slave.modules)
                        walk.allow(QString::fromStdString(m.Explain));
                }
            });
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QVERIFY2(walk.windows > 60 && walk.texts > 3000,
                 qPrintable(QString("only %1 windows and %2 texts seen").arg(walk.windows).arg(walk.texts)));
        QVERIFY2(walk.clean(), qPrintable("Chinese left in English mode:" + walk.report()));
        const QString help = vantor::testing::helpPageProblem(walk.opened);
        QVERIFY2(help.isEmpty(), qPrintable(help));
    }
};

QTEST_MAIN(EnglishWalkVantorTest)
#include "EnglishWalkVantorTest.moc"
