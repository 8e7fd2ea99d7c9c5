// The language the programs start in: --lang taken out of the arguments,
// Qt's own texts Chinese in Chinese, the English catalogues found and the
// core's texts answered in English.
#include "GuiTestSupport.h"
#include "Language.h"
#include "text/Shown.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

#include <vector>

using vantor::gui::Language;

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The menu's choice is kept for the next start of every program;
    // choosing the language in use asks nothing.
    void theMenusChoiceIsKeptForTheNextStart() {
        QWidget parent;
        QMenu* menu = vantor::gui::makeLanguageMenu(&parent);
        QCOMPARE(menu->actions().size(), 2);
        QVERIFY(menu->actions().at(0)->isChecked()); // Chinese, in use
        bool told = false;
        vantor::testing::ModalStep step([&](QDialog* d) {
            told = d->findChildren<QLabel*>().size() > 0;
            d->reject();
        });
        menu->actions().at(1)->trigger();
        VERIFY_MODAL(step);
        QVERIFY(told);
        const QSettings suite(QSettings::UserScope, "Vantor", "Vantor suite");
        QCOMPARE(suite.value("language").toString(), QString("en"));
        menu->actions().at(0)->trigger(); // in use: no question
        QCOMPARE(QSettings(QSettings::UserScope, "Vantor", "Vantor suite").value("language").toString(),
                 QString("zh"));
    }

    void languageOptionIsTakenOutOfTheArguments() {
        const struct {
            std::vector<const char*> args;
            std::vector<const char*> kept;
            std::optional<Language> language;
            bool refused;
        } cases[] = {
            {{"Vantor"}, {"Vantor"}, std::nullopt, false},
            {{"Vantor", "demo.vtc"}, {"Vantor", "demo.vtc"}, std::nullopt, false},
            {{"Vantor", "--lang", "en", "demo.vtc"}, {"Vantor", "demo.vtc"}, Language::English, false},
            {{"Vantor", "demo.vtc", "--lang=zh"}, {"Vantor", "demo.vtc"}, Language::Chinese, false},
            {{"Vantor", "--lang", "fr"}, {"Vantor"}, std::nullopt, true},
            {{"Vantor", "--lang"}, {"Vantor"}, std::nullopt, true}, // the value missing
        };
        for (const auto& c : cases) {
            std::vector<char*> argv;
            for (const char* a : c.args)
                argv.push_back(const_cast<char*>(a));
            argv.push_back(nullptr);
            int argc = static_cast<int>(c.args.size());
            const auto option = vantor::gui::takeLanguageOption(argc, argv.data());
            QCOMPARE(option.language, c.language);
            QCOMPARE(option.exitStatus.has_value(), c.refused);
            QCOMPARE(argc, static_cast<int>(c.kept.size()));
            for (int i = 0; i < argc; ++i)
                QCOMPARE(QString(argv[i]), QString(c.kept[i]));
            QVERIFY(argv[argc] == nullptr);
        }
    }

    void standardButtonsSpeakChinese() {
        QVERIFY2(vantor::gui::installLanguage(*QCoreApplication::instance(), Language::Chinese, "vantor", {}),
                 "Qt's Chinese catalogue (qt6-translations-l10n) is not installed");
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Close |
                             QDialogButtonBox::Yes | QDialogButtonBox::No);
        const struct {
            QDialogButtonBox::StandardButton button;
            const char* text;
        } cases[] = {{QDialogButtonBox::Ok, "确定"},
                     {QDialogButtonBox::Cancel, "取消"},
                     {QDialogButtonBox::Close, "关闭"},
                     {QDialogButtonBox::Yes, "是(Y)"},
                     {QDialogButtonBox::No, "否(N)"}};
        for (const auto& c : cases)
            QCOMPARE(box.button(c.button)->text().remove('&'), QString::fromUtf8(c.text));
        QCOMPARE(vantor::gui::currentLanguage(), Language::Chinese);
    }

    void everyProgramFindsItsEnglishCatalogues() {
        for (const char* program : {"vantor", "vantornet", "vantorload"})
            QVERIFY2(vantor::gui::installLanguage(*QCoreApplication::instance(), Language::English, program,
                                                  VANTOR_TRANSLATIONS_DIR),
                     program);
        QCOMPARE(vantor::gui::currentLanguage(), Language::English);
        // The core's catalogue is keyed by the text itself, a template too.
        QCOMPARE(vantor::text::shown("请选择从站"), std::string("Select a slave"));
        QVERIFY(vantor::text::shownFormat(VT_TEXT("每个串口上最多连接%d个从站"), 32).find("32") !=
                std::string::npos);
        QVERIFY(!QString::fromStdString(vantor::text::shownFormat(VT_TEXT("每个串口上最多连接%d个从站"), 32))
                     .contains(QString::fromUtf8("从站")));
        vantor::text::installTranslator(nullptr);
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
