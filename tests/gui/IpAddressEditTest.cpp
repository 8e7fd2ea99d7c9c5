// The address field: typing is held to what an address can be, leaving the
// field completes it.
#include "IpAddressEdit.h"

#include <QtTest>

class IpAddressEditTest : public QObject {
    Q_OBJECT

private slots:
    void typingIsHeldToAnAddress() {
        const struct {
            const char* keys;
            const char* shown;   // after typing
            const char* address; // after leaving the field
        } cases[] = {{"192.168.1.10", "192.168.1.10", "192.168.1.10"},
                     {"1.2.3", "1.2.3", "1.2.3.0"},
                     {"1.2.3.4.5", "1.2.3.45", "1.2.3.45"},
                     {"10.a0.0.1", "10.0.0.1", "10.0.0.1"}};
        for (const auto& c : cases) {
            vantor::gui::IpAddressEdit edit;
            QTest::keyClicks(&edit, c.keys);
            QCOMPARE(edit.text(), QString(c.shown));
            emit edit.editingFinished();
            QCOMPARE(edit.text(), QString(c.address));
            QCOMPARE(edit.address(), QString(c.address));
        }
    }

    // An octet above 255 is neither cut to another address nor completed:
    // the field holds no address, which the dialogs refuse.
    void anOctetAbove255IsKeptAndHoldsNoAddress() {
        for (const char* keys : {"256.1.1.1", "192.168.1.256", "192.168.999"}) {
            vantor::gui::IpAddressEdit edit;
            QTest::keyClicks(&edit, keys);
            QCOMPARE(edit.text(), QString(keys));
            emit edit.editingFinished();
            QCOMPARE(edit.text(), QString(keys));
            QVERIFY(edit.address().isEmpty());
        }
    }

    void textFromOutsideThatNoFieldHoldsHasNoAddress() {
        vantor::gui::IpAddressEdit edit(QStringLiteral("1.2.3.999"));
        QVERIFY(edit.address().isEmpty());
    }
};

QTEST_MAIN(IpAddressEditTest)
#include "IpAddressEditTest.moc"
