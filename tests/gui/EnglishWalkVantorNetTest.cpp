// VantorNet in English: the walk over its window, menus, drawing selections,
// context menus, double-clicks and the dialogs all of them open finds no
// Chinese text but the demo project's own names.
#include "EnglishWalk.h"
#include "NetMainWindow.h"
#include "NetProjectView.h"

#include <QtTest>

class EnglishWalkVantorNetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void everyWindowDialogAndMenuSpeaksEnglish() {
        vantor::testing::EnglishWalk walk("vantornet");
        using Selection = vantor::testing::DrawingSelection<NetMainWindow>;
        const std::vector<Selection> selections = {
            {"nothing", [](NetMainWindow&) { return QPoint(2000, 900); }},
            {"bus", [](NetMainWindow& w) { return QPoint(w.document().bus.x + 20, w.document().bus.y); }},
            {"gateway",
             [](NetMainWindow& w) {
                 return QPoint(w.document().masters[0].x + 5, w.document().masters[0].y + 5);
             }},
            {"server",
             [](NetMainWindow& w) {
                 return QPoint(w.document().slaves[0].x + 10, w.document().slaves[0].y + 10);
             }},
        };
        const QString failed = vantor::testing::walkProjectWindow<NetMainWindow, NetProjectView>(
            walk, "demo.vncfg", selections, [&](NetMainWindow& w) {
                for (const auto& server : w.document().slaves) {
                    walk.allow(QString::fromStdString(server.name));
                    for (const auto& node : server.nodes)
                        for (const auto& m : node.modules)
                            walk.allow(QString::fromStdString(m.Explain));
                }
            });
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QVERIFY2(walk.windows > 30 && walk.texts > 2000,
                 qPrintable(QString("only %1 windows and %2 texts seen").arg(walk.windows).arg(walk.texts)));
        QVERIFY2(walk.clean(), qPrintable("Chinese left in English mode:" + walk.report()));
        const QString help = vantor::testing::helpPageProblem(walk.opened);
        QVERIFY2(help.isEmpty(), qPrintable(help));
    }
};

QTEST_MAIN(EnglishWalkVantorNetTest)
#include "EnglishWalkVantorNetTest.moc"
