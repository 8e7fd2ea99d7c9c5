// Qt's own standard texts read Chinese once the programs' start-up has
// loaded Qt's catalogue.
#include "ChineseTranslations.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void standardButtonsSpeakChinese() {
        QVERIFY2(vantor::gui::installChineseTranslations(*QCoreApplication::instance()),
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
    }
};

QTEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
