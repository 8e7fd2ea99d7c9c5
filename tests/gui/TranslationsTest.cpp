// The language the programs start in: --lang taken out of the arguments,
// Qt's own texts Chinese in Chinese, the English catalogues found and the
// core's texts answered in English.
#include "Language.h"
#include "text/Shown.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

#include <vector>

using vantor::gui::Language;

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
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
        vantor::text::installTranslator(nullptr);
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
