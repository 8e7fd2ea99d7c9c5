// The VantorLoad dialog offscreen: its controls and initial values, the
// address file read at start, the COM2 controls per device type, the about
// box, the IP fields' validator, and both operations against
// vantor-gatewaysim (the address files written, the RTU block and network
// settings the gateway keeps). Messages are recorded, never shown.
#include "GuiTestSupport.h"
#include "LoadDialog.h"
#include "QtMessageSink.h"
#include "SimulatedGateway.h"

#include "text/Shown.h"
#include "transfer/AddressFiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace vantor;

class VantorLoadDialogTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    std::unique_ptr<QTemporaryDir> dir_;

    void putIpFile(const QByteArray& bytes) {
        QDir(dir_->path()).mkpath("IP");
        QFile ip(dir_->filePath("IP/ip.txt"));
        QVERIFY(ip.open(QIODevice::WriteOnly));
        ip.write(bytes);
        QFile port(dir_->filePath("IP/port.txt"));
        QVERIFY(port.open(QIODevice::WriteOnly));
        port.write("502");
    }
    QString fileText(const char* relative) const {
        QFile f(dir_->filePath(relative));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    template <typename T> static T* child(QWidget& w, const char* name) {
        T* found = w.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    static void click(QWidget& w, const char* name) {
        auto* b = child<QPushButton>(w, name);
        QVERIFY2(b->isEnabled(), name);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    std::vector<std::string> texts() const { return messages_.texts(); }

private slots:
    void init() {
        messages_ = RecordingSink{};
        gui::QtMessageSink::redirectTo(&messages_);
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        qunsetenv("VANTOR_ACCESS_PORT");
    }
    void cleanup() {
        gui::QtMessageSink::redirectTo(nullptr);
        dir_.reset();
    }

    void initialValuesWithoutAddressFiles() {
        LoadDialog d(dir_->path());
        QCOMPARE(d.windowTitle(), QString("VantorLoad"));
        QCOMPARE(texts(), std::vector<std::string>{"你选择了下载空文件！"});
        QCOMPARE(messages_.messages[0].caption, std::string("错误"));
        QCOMPARE(child<QLineEdit>(d, "gatewayIp")->text(), QString("0.0.0.0"));
        QCOMPARE(child<QComboBox>(d, "deviceType")->currentText(), QString("NXE-485-ZRTU2"));
        QCOMPARE(child<QComboBox>(d, "deviceType")->count(), 5);
        QCOMPARE(child<QLineEdit>(d, "configPort")->text(), QString("5032"));
        QCOMPARE(child<QLineEdit>(d, "newIp")->text(), QString("192.168.1.10"));
        QCOMPARE(child<QLineEdit>(d, "mask")->text(), QString("255.255.255.0"));
        QCOMPARE(child<QLineEdit>(d, "gateway")->text(), QString("192.168.1.1"));
        QCOMPARE(child<QLineEdit>(d, "modPort")->text(), QString("502"));
        for (const char* port : {"com1", "com2"}) {
            const QString p(port);
            QCOMPARE(child<QComboBox>(d, qPrintable(p + "Baud"))->currentText(), QString("19200"));
            QCOMPARE(child<QComboBox>(d, qPrintable(p + "Parity"))->currentText(), QString("偶校验"));
            QCOMPARE(child<QComboBox>(d, qPrintable(p + "Stop"))->currentText(), QString("1位"));
            QCOMPARE(child<QLineEdit>(d, qPrintable(p + "DataBits"))->text(), QString("8"));
        }
        QCOMPARE(child<QLineEdit>(d, "com1Address")->text(), QString("17"));
        QCOMPARE(child<QLineEdit>(d, "com2Address")->text(), QString("18"));
        QCOMPARE(child<QPushButton>(d, "connect")->text(), QString("连接"));
        QVERIFY(child<QPushButton>(d, "connect")->isEnabled());
        QVERIFY(!child<QPushButton>(d, "rtu")->isEnabled());
        QVERIFY(!child<QPushButton>(d, "ip")->isEnabled());
        QCOMPARE(child<QProgressBar>(d, "progress")->maximum(), 100);
    }

    // In another language: the core's list items and the connect button's
    // text translated, the model names as they are; the language button
    // offers both languages.
    void coreTextsInTheUsersLanguage() {
        putIpFile("127.0.0.1");
        text::installTranslator([](const char* t) { return "en:" + std::string(t); });
        LoadDialog d(dir_->path());
        text::installTranslator(nullptr);
        const struct {
            const char* combo;
            QString text;
        } shown[] = {{"com1Parity", "en:偶校验"}, {"com2Stop", "en:1位"}, {"deviceType", "NXE-485-ZRTU2"}};
        for (const auto& c : shown)
            QCOMPARE(child<QComboBox>(d, c.combo)->currentText(), c.text);
        QCOMPARE(child<QPushButton>(d, "connect")->text(), QString("en:连接"));
        QCOMPARE(child<QPushButton>(d, "language")->menu()->actions().size(), 2);
    }

    void gatewayIpFromTheAddressFile() {
        putIpFile("192.168.1.15\r\n");
        qputenv("VANTOR_ACCESS_PORT", "15032");
        LoadDialog d(dir_->path());
        QVERIFY(messages_.messages.empty());
        QCOMPARE(child<QLineEdit>(d, "gatewayIp")->text(), QString("192.168.1.15"));
        QCOMPARE(child<QLineEdit>(d, "configPort")->text(), QString("15032"));
    }

    void com2FollowsTheDeviceType() {
        putIpFile("127.0.0.1");
        LoadDialog d(dir_->path());
        auto* type = child<QComboBox>(d, "deviceType");
        for (int i = 0; i < type->count(); ++i) {
            type->setCurrentIndex(i);
            const bool twoPorts = i == 0 || i == 2;
            for (const char* name : {"com2Baud", "com2Parity", "com2Stop", "com2Address"})
                QVERIFY2(child<QWidget>(d, name)->isEnabled() == twoPorts, name);
            QVERIFY(child<QWidget>(d, "com1Address")->isEnabled());
        }
    }

    void aboutFromTheButtonAndTheWindowMenu() {
        putIpFile("127.0.0.1");
        LoadDialog d(dir_->path());
        click(d, "about");
        d.findChild<QAction*>("aboutAction")->trigger();
        QCOMPARE(texts(), (std::vector<std::string>{"VantorLoad 2.0.1 版", "VantorLoad 2.0.1 版"}));
        QCOMPARE(messages_.messages[0].kind, MessageKind::Information);
    }

    void connectRefused() {
        putIpFile("127.0.0.1");
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 closed = probe.serverPort();
        probe.close();
        LoadDialog d(dir_->path());
        child<QLineEdit>(d, "configPort")->setText(QString::number(closed));
        click(d, "connect");
        QTRY_COMPARE_WITH_TIMEOUT(texts(), std::vector<std::string>{"连接失败，请查看IP设置或硬件灯显示"},
                                  5000);
        QCOMPARE(child<QPushButton>(d, "connect")->text(), QString("连接"));
        QVERIFY(child<QPushButton>(d, "connect")->isEnabled());
        QVERIFY(!child<QPushButton>(d, "rtu")->isEnabled());
    }

    void bothOperationsAgainstTheSimulator() {
        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        putIpFile("127.0.0.1");
        LoadDialog d(dir_->path());
        auto* connectButton = child<QPushButton>(d, "connect");

        click(d, "connect");
        QTRY_COMPARE_WITH_TIMEOUT(connectButton->text(), QString("断开"), 5000);
        QVERIFY(child<QPushButton>(d, "rtu")->isEnabled());
        child<QComboBox>(d, "deviceType")->setCurrentText("KX-P1-1.0");
        child<QComboBox>(d, "com1Baud")->setCurrentText("115.2k");
        child<QLineEdit>(d, "com1Address")->setText("5");
        click(d, "rtu");
        QTRY_VERIFY_WITH_TIMEOUT(child<QProgressBar>(d, "progress")->value() > 50, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(texts(), std::vector<std::string>{"下载完成"}, 10000);
        QCOMPARE(messages_.messages[0].caption, std::string("信息"));
        QCOMPARE(child<QProgressBar>(d, "progress")->value(), 99);
        QCOMPARE(connectButton->text(), QString("连接"));
        QVERIFY(!child<QPushButton>(d, "rtu")->isEnabled());
        QCOMPARE(sim.dumped("block20.hex"), QString("0500000000000000080000000200000006000000"));
        QCOMPARE(sim.dumped("restarts"), QString("1"));
        QCOMPARE(fileText("IP/ip.txt"), QString("127.0.0.1"));
        // The window's wire log holds the frames of the run.
        QString log;
        testing::ModalStep readLog([&log](QDialog* box) {
            log = box->findChild<QPlainTextEdit*>("wireLogText")->toPlainText();
            box->reject();
        });
        d.findChild<QAction*>("wireLogAction")->trigger();
        VERIFY_MODAL(readLog);
        QVERIFY2(log.contains("> [12] 15 00 00 00 01 00 00 00 03 00 00 00"), qPrintable(log));
        QVERIFY2(log.contains("< [12] 15 00 00 00 04 00 00 00 00 00 00 00"), qPrintable(log));

        // A new connection for the next operation.
        click(d, "connect");
        QTRY_COMPARE_WITH_TIMEOUT(connectButton->text(), QString("断开"), 5000);
        child<QLineEdit>(d, "newIp")->setText("10.1.2.3");
        child<QLineEdit>(d, "gateway")->setText("10.1.2.1");
        child<QLineEdit>(d, "modPort")->setText("5032");
        click(d, "ip");
        QTRY_COMPARE_WITH_TIMEOUT(texts().size(), std::size_t(2), 10000);
        QCOMPARE(texts()[1], std::string("下载完成"));
        QCOMPARE(sim.dumped("netparams.hex"), QString("0a010203ffffff000a010201a81300000000000000000000"));
        QCOMPARE(fileText("IP/ip.txt"), QString("10.1.2.3"));
        QCOMPARE(fileText("IP/port.txt"), QString("5032"));
        QCOMPARE(sim.dumped("restarts"), QString("2"));

        // The next operation's bar starts from nothing, not from 99.
        QCOMPARE(child<QProgressBar>(d, "progress")->value(), 99);
        child<QLineEdit>(d, "gatewayIp")->setText("127.0.0.1");
        click(d, "connect");
        QTRY_COMPARE_WITH_TIMEOUT(connectButton->text(), QString("断开"), 5000);
        click(d, "rtu");
        QCOMPARE(child<QProgressBar>(d, "progress")->value(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(texts().size(), std::size_t(3), 10000);
    }

    // The gateway going away while RTU设置 waits for it is said at once
    // (long before the 10 s reply timeout), with the reason; the window is
    // disconnected and ready for a new connection.
    void gatewayLostDuringAnOperation() {
        auto sim = std::make_unique<SimulatedGateway>("NXE-485-ZRTU2", QStringList{"--no-reply", "1"});
        QVERIFY(sim->ok());
        putIpFile("127.0.0.1");
        LoadDialog d(dir_->path());
        click(d, "connect");
        QTRY_COMPARE_WITH_TIMEOUT(child<QPushButton>(d, "connect")->text(), QString("断开"), 5000);
        click(d, "rtu");
        sim.reset();
        QTRY_COMPARE_WITH_TIMEOUT(texts(), std::vector<std::string>{load::kConnectionLost}, 5000);
        QCOMPARE(child<QPushButton>(d, "connect")->text(), QString("连接"));
        QVERIFY(child<QPushButton>(d, "connect")->isEnabled());
        QVERIFY(!child<QPushButton>(d, "rtu")->isEnabled());
    }

    // A gateway IP no gateway can have is not connected to (the simulator
    // would answer on 0.0.0.0), and new settings that break the address rule
    // are not sent; a partial address is completed in its field first.
    void refusedBeforeAnythingIsSent_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, const char* field, const char* typed, const char* shown,
                      const char* message) { QTest::newRow(name) << field << typed << shown << message; };
        const char* target = "请输入完整的IP地址";
        row("empty gateway IP", "gatewayIp", "", "", target);
        row("gateway IP 0.0.0.0", "gatewayIp", "0.0.0.0", "0.0.0.0", target);
        row("partial broadcast", "gatewayIp", "255.255.255", "255.255.255.0", target);
        row("mask with a hole", "mask", "255.0.255.0", "255.0.255.0", "网口1子网掩码设置错误");
        row("partial new IP", "newIp", "192.168.1", "192.168.1.0", "网口1IP不能为子网的网络地址");
    }
    void refusedBeforeAnythingIsSent() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        putIpFile("127.0.0.1");
        LoadDialog d(dir_->path());
        auto* connectButton = child<QPushButton>(d, "connect");
        const bool target = field == "gatewayIp";
        if (!target) {
            click(d, "connect");
            QTRY_COMPARE_WITH_TIMEOUT(connectButton->text(), QString("断开"), 5000);
        }
        auto* edited = child<QLineEdit>(d, qPrintable(field));
        edited->clear();
        QTest::keyClicks(edited, typed);
        click(d, target ? "connect" : "ip");
        QCOMPARE(texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(edited->text(), shown);
        QCOMPARE(connectButton->text(), QString(target ? "连接" : "断开"));
        QCOMPARE(child<QPushButton>(d, "ip")->isEnabled(), !target);
        QVERIFY(connectButton->isEnabled());
        QVERIFY(sim.dumped("netparams.hex").isEmpty());
    }
};

QTEST_MAIN(VantorLoadDialogTest)
#include "VantorLoadDialogTest.moc"
