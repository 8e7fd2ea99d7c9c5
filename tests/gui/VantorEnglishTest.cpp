// Vantor in English: the window's own texts come from its catalogue, the
// core's texts through the core's translator where they are shown, and what
// the window asks of the core is still the core's own text.
#include "CatalogueWidget.h"
#include "GuiTestSupport.h"
#include "Language.h"
#include "MainWindow.h"
#include "TableList.h"
#include "text/Shown.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include <map>
#include <string>

using namespace vantor;
using gui::Language;

namespace {

// The core's catalogue as far as these cases need it (its own may still be
// empty).
std::string coreInEnglish(const char* text) {
    static const std::map<std::string, std::string> english{{"读4区 03H", "Read area 4 03H"},
                                                            {"功能", "Function"}};
    const auto it = english.find(text);
    return it == english.end() ? std::string(text) : it->second;
}

} // namespace

class VantorEnglishTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        gui::installLanguage(*QCoreApplication::instance(), Language::English, "vantor",
                             VANTOR_TRANSLATIONS_DIR);
        QCOMPARE(gui::currentLanguage(), Language::English);
        text::installTranslator(coreInEnglish);
    }
    void cleanupTestCase() { text::installTranslator(nullptr); }

    // A double-click on a translated command kind opens its form for the
    // selected slave; the module list then shows the kind translated and
    // the user's comment as written.
    void catalogueShowsEnglishAndAsksTheCoreInItsOwnWords() {
        MainWindow w;
        QVERIFY(w.openProject("demo.vtc"));
        w.document().selectedItem = 0;
        auto* tree = w.findChild<QTreeWidget*>("tree33333");
        const auto found = tree->findItems("Read area 4 03H", Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        QCOMPARE(gui::catalogueKey(found[0]), std::string("读4区 03H"));
        QString title;
        testing::ModalStep form([&](QDialog* d) {
            title = d->windowTitle();
            d->reject();
        });
        emit tree->itemDoubleClicked(found[0], 0);
        VERIFY_MODAL(form);
        QCOMPARE(title, QString("Edit Command"));
        auto* modules = w.findChild<QTableWidget*>("list1000");
        QCOMPARE(modules->horizontalHeaderItem(1)->text(), QString("Function"));
        QCOMPARE(modules->item(0, 1)->text(), QString("Read area 4 03H"));
        QCOMPARE(modules->item(0, 6)->text(), QString("温度值"));
    }

    // A title longer than its column widens the column; none is narrowed.
    void columnsWidenToTheirTitles() {
        const QString longTitle = "Control Word Address";
        std::unique_ptr<QTableWidget> t(gui::tableList("t", {"COM", longTitle}, {80, 30}));
        QCOMPARE(t->columnWidth(0), 80);
        QVERIFY(t->columnWidth(1) >= t->horizontalHeader()->fontMetrics().horizontalAdvance(longTitle));
        QVERIFY(gui::columnsWidth(t.get()) > t->columnWidth(0) + t->columnWidth(1));
    }
};

QTEST_MAIN(VantorEnglishTest)
#include "VantorEnglishTest.moc"
