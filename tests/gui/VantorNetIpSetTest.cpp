// VantorNet's network settings (TCP/IP值修改) in a scratch working directory
// against vantor-gatewaysim: whether the window may open, what it shows on
// opening, the address files rewritten only on acknowledgement, a refused
// connection and a refused field keeping the window. Messages and result
// boxes are recorded.
#include "GuiTestSupport.h"
#include "IpAddressEdit.h"
#include "NetIpSetDialog.h"
#include "QtMessageSink.h"
#include "ResultBox.h"
#include "SimulatedGateway.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace vantor;
using namespace vantor::testing;

class VantorNetIpSetTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    QStringList results_;
    QString startDirectory_;
    std::unique_ptr<QTemporaryDir> work_;

    // Writes IP/<name> below the scratch working directory.
    void writeFile(const QString& name, const QByteArray& text) {
        QDir(work_->path()).mkpath("IP");
        QFile f(work_->filePath("IP/" + name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString readFile(const QString& name) const {
        QFile f(work_->filePath("IP/" + name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString("(missing)");
    }

    static QPushButton* button(NetIpSetDialog& d, const char* name) {
        return d.findChild<QPushButton*>(name);
    }
    static QLineEdit* field(NetIpSetDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }

    // The new settings the tests send, entered into the window.
    static void enterSettings(NetIpSetDialog& d, const QString& ip) {
        field(d, "connectIp")->setText("127.0.0.1");
        field(d, "newIp")->setText(ip);
        field(d, "mask")->setText("255.255.0.0");
        field(d, "gateway")->setText("10.1.0.1");
        field(d, "port")->setText("5032");
    }

private slots:
    void init() {
        recordOutputs(messages_, results_);
        startDirectory_ = QDir::currentPath();
        work_ = std::make_unique<QTemporaryDir>();
        QVERIFY(work_->isValid());
        QVERIFY(QDir::setCurrent(work_->path()));
    }
    void cleanup() {
        QDir::setCurrent(startDirectory_);
        work_.reset();
        stopRecordingOutputs();
    }

    void mayOpen_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("opens");
        QTest::newRow("no address files") << QStringList{} << false;
        QTest::newRow("only the port file") << QStringList{"port.txt"} << false;
        QTest::newRow("only the IP file") << QStringList{"ip.txt"} << true;
        QTest::newRow("both files") << QStringList{"ip.txt", "port.txt"} << true;
    }
    void mayOpen() {
        QFETCH(QStringList, files);
        QFETCH(bool, opens);
        for (const QString& name : files)
            writeFile(name, name == "ip.txt" ? "127.0.0.1" : "502");
        QCOMPARE(NetIpSetDialog::mayOpen(nullptr), opens);
        // The window agrees when opened regardless: without the IP file it
        // says so and never shows.
        QString shown;
        testing::ModalStep step([&](QDialog* d) {
            shown = d->windowTitle();
            d->reject();
        });
        NetIpSetDialog dialog;
        dialog.exec();
        QCOMPARE(step.ran(), opens);
        QCOMPARE(shown, opens ? QString("TCP/IP值修改") : QString());
        if (opens) {
            QVERIFY(messages_.messages.empty());
        } else {
            QCOMPARE(messages_.texts(),
                     (std::vector<std::string>{"你选择了下载空文件！", "你选择了下载空文件！"}));
            QCOMPARE(messages_.messages[0].caption, std::string("错误"));
        }
    }

    void openingShowsTheKeptAddress() {
        writeFile("ip.txt", "192.168.3.7");
        writeFile("port.txt", "503");
        NetIpSetDialog dialog;
        QCOMPARE(dialog.statusText(), QString("IP: 192.168.3.7         端口: 503"));
        QCOMPARE(field(dialog, "connectIp")->text(), QString("192.168.1.10"));
        QCOMPARE(field(dialog, "configPort")->text(), QString("5032"));
        QCOMPARE(field(dialog, "newIp")->text(), QString("192.168.1.10"));
        QCOMPARE(field(dialog, "mask")->text(), QString("255.255.255.0"));
        QCOMPARE(field(dialog, "gateway")->text(), QString("192.168.1.1"));
        QCOMPARE(field(dialog, "port")->text(), QString("502"));
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY(messages_.messages.empty());
    }

    // The settings reach the gateway; only its acknowledgement rewrites the
    // address files.
    void download_data() {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("ipFile");
        QTest::addColumn<QString>("portFile");
        // The project's rev_allow: 1 after each request (the restart last),
        // 0 once a reply was handed on.
        QTest::addColumn<int>("revAllow");
        QTest::newRow("acknowledged") << QStringList{} << "下载完毕！"
                                      << "10.1.2.3"
                                      << "5032" << 1;
        QTest::newRow("split acknowledgement")
            << QStringList{"--split-reply", "10", "--split-gap", "30"} << "下载完毕！"
            << "10.1.2.3"
            << "5032" << 1;
        QTest::newRow("refused") << QStringList{"--status", "10=1"} << "下 载 失 败！"
                                 << "127.0.0.1"
                                 << "502" << 0;
        QTest::newRow("no reply") << QStringList{"--no-reply", "10"} << "下 载 失 败！"
                                  << "127.0.0.1"
                                  << "502" << 1;
    }
    void download() {
        QFETCH(QStringList, simArgs);
        QFETCH(QString, result);
        QFETCH(QString, ipFile);
        QFETCH(QString, portFile);
        QFETCH(int, revAllow);
        writeFile("ip.txt", "127.0.0.1");
        writeFile("port.txt", "502");
        SimulatedGateway sim("QB-H-NET2.0", simArgs);
        QVERIFY(sim.ok());
        int projectRevAllow = -1;
        NetIpSetDialog dialog(nullptr, &projectRevAllow);
        QCOMPARE(field(dialog, "configPort")->text(), QString::number(sim.port()));
        enterSettings(dialog, "10.1.2.3");
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QVERIFY2(!button(dialog, "connectButton")->isEnabled(), "连接 refused while connecting");
        QTRY_VERIFY_WITH_TIMEOUT(button(dialog, "downloadButton")->isEnabled(), 10000);
        QCOMPARE(button(dialog, "connectButton")->text(), QString("断开"));
        QVERIFY(button(dialog, "connectButton")->isEnabled());
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
        QCOMPARE(results_, QStringList{result});
        QVERIFY(messages_.messages.empty());
        QCOMPARE(readFile("ip.txt"), ipFile);
        QCOMPARE(readFile("port.txt"), portFile);
        QCOMPARE(projectRevAllow, revAllow);
        // What the gateway kept: IP, mask, gateway, port 5032 and ten zeros.
        QCOMPARE(sim.dumped("netparams.hex"), QString("0a010203ffff00000a010001a81300000000000000000000"));
        if (result == "下载完毕！")
            QTRY_COMPARE_WITH_TIMEOUT(sim.dumped("restarts"), QString("1"), 5000);
        else
            QVERIFY(sim.dumped("restarts").isEmpty());
    }

    void refusedConnectionKeepsTheWindow() {
        writeFile("ip.txt", "127.0.0.1");
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const int closedPort = server.serverPort();
        server.close();
        NetIpSetDialog dialog;
        enterSettings(dialog, "10.1.2.3");
        field(dialog, "configPort")->setText(QString::number(closedPort));
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(messages_.texts(), std::vector<std::string>{"连接失败"}, 10000);
        QCOMPARE(messages_.messages[0].caption, std::string("错误"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY(results_.isEmpty());
    }

    // A request the socket fails to send: "发送失败", and the window stays,
    // disconnected, with the run stopped and the files untouched.
    void sendFailureKeepsTheWindowDisconnected() {
        writeFile("ip.txt", "127.0.0.1");
        SimulatedGateway sim("QB-H-NET2.0", {"--no-reply", "10"});
        QVERIFY(sim.ok());
        NetIpSetDialog dialog;
        enterSettings(dialog, "10.1.2.3");
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(button(dialog, "downloadButton")->isEnabled(), 10000);
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!sim.dumped("netparams.hex").isEmpty(), 10000);
        // What the socket layer reports when a write cannot go out.
        dialog.driver()->exchange().sendFailed();
        dialog.driver()->pump();
        QCOMPARE(messages_.texts(), std::vector<std::string>{"发送失败"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(button(dialog, "connectButton")->isEnabled());
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY(!dialog.exchange().finished());
        QCOMPARE(readFile("ip.txt"), QString("127.0.0.1"));
        QVERIFY(results_.isEmpty());
    }

    // Settings that would lock the gateway out, an address field holding no
    // address and a broken mask are refused before anything is sent; the
    // window keeps the input as typed, and 断开 ends the connection. A target
    // no gateway can have is not connected to (the simulator would answer on
    // 0.0.0.0), a partial address completed in its field first.
    void refusedFieldKeepsTheWindow_data() {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        auto row = [](const QString& name, const char* fieldName, const char* typed, const char* message,
                      const char* shown = nullptr) {
            QTest::newRow(qPrintable(name)) << fieldName << typed << message << (shown ? shown : typed);
        };
        row("broadcast IP", "newIp", "10.1.255.255", "网口1IP不能为子网的广播地址");
        row("IP octet above 255", "newIp", "10.1.0.256", "网口1IP设置错误");
        row("gateway outside the subnet", "gateway", "10.2.0.1", "网口1IP和网关不在同一网段");
        row("empty mask", "mask", "", "网口1子网掩码设置错误");
        row("zero mask", "mask", "0.0.0.0", "网口1子网掩码设置错误");
        row("mask with a hole", "mask", "255.0.255.0", "网口1子网掩码设置错误");
        for (const char* ip : {"", "0.0.0.0"})
            row(QString("target IP [%1]").arg(ip), "connectIp", ip, "IP地址格式错误");
        row("partial broadcast target", "connectIp", "255.255.255", "IP地址格式错误", "255.255.255.0");
        for (const char* port : {"", "70000"})
            row(QString("target port [%1]").arg(port), "configPort", port, "端口格式错误");
    }
    void refusedFieldKeepsTheWindow() {
        QFETCH(QString, fieldName);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        writeFile("ip.txt", "127.0.0.1");
        SimulatedGateway sim("QB-H-NET2.0");
        QVERIFY(sim.ok());
        NetIpSetDialog dialog;
        enterSettings(dialog, "10.1.0.5");
        QLineEdit* edited = field(dialog, fieldName.toUtf8().constData());
        edited->clear();
        QTest::keyClicks(edited, typed);
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        if (fieldName.startsWith("con")) {
            QCOMPARE(messages_.texts(), std::vector<std::string>{message.toStdString()});
            QCOMPARE(edited->text(), shown);
            QVERIFY(dialog.isVisible());
            QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
            QVERIFY(button(dialog, "connectButton")->isEnabled());
            QVERIFY(!button(dialog, "downloadButton")->isEnabled());
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(button(dialog, "downloadButton")->isEnabled(), 10000);
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QCOMPARE(messages_.texts(), std::vector<std::string>{message.toStdString()});
        QVERIFY(dialog.isVisible());
        QCOMPARE(edited->text(), shown);
        QVERIFY(button(dialog, "downloadButton")->isEnabled());
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY(sim.dumped("netparams.hex").isEmpty());
        QCOMPARE(readFile("ip.txt"), QString("127.0.0.1"));
        QVERIFY(results_.isEmpty());
    }
};

QTEST_MAIN(VantorNetIpSetTest)
#include "VantorNetIpSetTest.moc"
