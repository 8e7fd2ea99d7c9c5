// VantorNet's download window (配置下载) against vantor-gatewaysim on free
// ports: a download through the buttons keeps exactly the images of
// `vantor-cli net-blocks`, the ways a download ends (negative or split
// acknowledgements, no reply, the work mode without the RTU configuration),
// a refused connection that keeps the window for another try, 断开, and the
// refusals before the window opens. Messages and result boxes are recorded.
#include "AnimatedPicture.h"
#include "GuiTestSupport.h"
#include "IpAddressEdit.h"
#include "NetDownloadDialog.h"
#include "QtMessageSink.h"
#include "ResultBox.h"
#include "SimulatedGateway.h"

#include "net/NetProjectFile.h"

#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

using namespace vantor;
using namespace vantor::testing;

namespace {
// Short pauses so that a download takes well under a second; a reply
// timeout long enough for a loaded machine.
constexpr int kPaceMs = 5;
constexpr int kTickMs = 20;
constexpr int kReplyTimeoutMs = 5000;
} // namespace

class VantorNetDownloadTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    QStringList results_;

    static net::CVantorNetDoc demo() {
        net::CVantorNetDoc doc;
        std::string error;
        if (!net::NetProjectFile::open(doc, "demo.vncfg", &error))
            qWarning("demo.vncfg: %s", error.c_str());
        return doc;
    }

    static QPushButton* button(NetDownloadDialog& d, const char* name) {
        return d.findChild<QPushButton*>(name);
    }
    static QLineEdit* field(NetDownloadDialog& d, const char* name) { return d.findChild<QLineEdit*>(name); }

    // Shows the window aimed at 127.0.0.1 and presses 连接.
    static void pressConnectLocally(NetDownloadDialog& dialog, int replyTimeoutMs = kReplyTimeoutMs) {
        dialog.setTimings(kPaceMs, kTickMs, replyTimeoutMs);
        field(dialog, "ip")->setText("127.0.0.1");
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
    }
    // The same, true once connected (下载 enabled).
    static bool connectLocally(NetDownloadDialog& dialog, int replyTimeoutMs = kReplyTimeoutMs) {
        pressConnectLocally(dialog, replyTimeoutMs);
        return QTest::qWaitFor([&] { return button(dialog, "downloadButton")->isEnabled(); }, 10000);
    }

private slots:
    void init() { recordOutputs(messages_, results_); }
    void cleanup() { stopRecordingOutputs(); }

    void downloadKeepsTheCliImages() {
        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        auto doc = demo();
        QCOMPARE(doc.modelName(), std::string("NXE-485-ZRTU2"));
        doc.rev_allow = 0;
        NetDownloadDialog dialog(doc);
        QVERIFY(dialog.compiled());
        // The window opens on the gateway's address with the port the
        // environment names, disconnected.
        QCOMPARE(field(dialog, "ip")->text(), QString("192.168.1.15"));
        QCOMPARE(field(dialog, "port")->text(), QString::number(sim.port()));
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());

        QVERIFY(connectLocally(dialog));
        QCOMPARE(button(dialog, "connectButton")->text(), QString("断开"));
        QCOMPARE(dialog.statusText(), QString("    请下载"));
        QVERIFY(!dialog.picture()->isPlaying());
        saveShot(dialog, "netdownload-connected");
        QSignalSpy statuses(dialog.driver(), &gui::ExchangeDriver::statusChanged);
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY2(button(dialog, "connectButton")->isEnabled(), "断开 stays usable");
        QCOMPARE(button(dialog, "connectButton")->text(), QString("断开"));
        QVERIFY(dialog.picture()->isPlaying());
        QVERIFY(dialog.picture()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);

        QCOMPARE(results_, QStringList{"下载完毕！"});
        QVERIFY2(messages_.messages.empty(), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.picture()->isPlaying());
        // The fieldbus phase's progress ran up to the first part at least.
        QVERIFY(dialog.findChild<QProgressBar*>("progress")->value() >= 2);
        QStringList seen;
        for (const auto& args : statuses)
            seen << args.at(0).toString();
        QCOMPARE(seen, (QStringList{"正在获取设备状态....", "正在下载RTU接口配置....",
                                    "正在下载FIELDBUS操作配置....", "", "正在重启设备...."}));
        const auto images = cliHexLines({"net-blocks", "demo.vncfg"});
        QVERIFY(!images["A"].isEmpty() && !images["B"].isEmpty());
        QCOMPARE(sim.dumped("block20.hex"), images["A"]);
        QCOMPARE(sim.dumped("block21.hex"), images["B"]);
        QTRY_COMPARE_WITH_TIMEOUT(sim.dumped("restarts"), QString("1"), 5000);
        QCOMPARE(doc.rev_allow, 1); // set by the requests, the restart last
    }

    void endings_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("workMode");
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QString>("result");
        const QString done = "下载完毕！";
        const QString timeout = "下 载 失 败！ 应答超时";
        QTest::newRow("negative RTU acknowledgement")
            << "NXE-485-ZRTU2" << 0 << QStringList{"--status", "20=7"} << "下 载 失 败！7";
        QTest::newRow("negative part acknowledgement")
            << "KX-P1-1.0" << 0 << QStringList{"--status", "21=3"} << "下 载 失 败！3";
        QTest::newRow("status 4 is success") << "KX-P1-1.0" << 0 << QStringList{"--status", "21=4"} << done;
        QTest::newRow("split acknowledgement")
            << "KX-P1-1.0" << 0 << QStringList{"--split-reply", "21", "--split-gap", "50"} << done;
        QTest::newRow("no identification") << "KX-P1-1.0" << 0 << QStringList{"--no-reply", "1"} << timeout;
        QTest::newRow("no reply to a part") << "KX-P1-1.0" << 0 << QStringList{"--no-reply", "21"} << timeout;
        QTest::newRow("short acknowledgement")
            << "KX-P1-1.0" << 0 << QStringList{"--short-reply", "21"} << timeout;
        QTest::newRow("connection reset") << "KX-P1-1.0" << 0 << QStringList{"--reset-at", "21"} << timeout;
        QTest::newRow("frames answering nothing while a part goes unanswered")
            << "KX-P1-1.0" << 0 << QStringList{"--chatter", "100", "--no-reply", "21"} << timeout;
        QTest::newRow("LNK-P1-1.0 as RTU master") << "LNK-P1-1.0" << 1 << QStringList{} << done;
        QTest::newRow("LNK-P1-1.0 as RTU slave") << "LNK-P1-1.0" << 0 << QStringList{} << done;
    }

    void endings() {
        QFETCH(QString, model);
        QFETCH(int, workMode);
        QFETCH(QStringList, simArgs);
        QFETCH(QString, result);
        SimulatedGateway sim(model, simArgs);
        QVERIFY(sim.ok());
        auto doc = demo();
        doc.masters.at(0).masterName = model.toStdString();
        doc.GW_work_mode = workMode;
        doc.rev_allow = -1;
        NetDownloadDialog dialog(doc);
        QVERIFY(dialog.compiled());
        // A silent gateway is given up on after 400 ms instead of 10 s.
        QVERIFY(connectLocally(dialog, result.endsWith("应答超时") ? 400 : kReplyTimeoutMs));
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
        QCOMPARE(results_, QStringList{result});
        QVERIFY(messages_.messages.empty());
        const bool done = result == "下载完毕！";
        QCOMPARE(dialog.result(), int(done ? QDialog::Accepted : QDialog::Rejected));
        // 1 after each request, 0 once a reply was handed on: 0 is left only
        // by a refusing acknowledgement, the last word of its download.
        const bool refused = !done && !result.endsWith("应答超时");
        QCOMPARE(doc.rev_allow, refused ? 0 : 1);
        if (done) {
            // The RTU configuration goes out unless the gateway is the RTU
            // master of LNK-P1-1.0.
            const bool rtuSent = !(model == "LNK-P1-1.0" && workMode == 1);
            QCOMPARE(!sim.dumped("block20.hex").isEmpty(), rtuSent);
            QTRY_COMPARE_WITH_TIMEOUT(sim.dumped("restarts"), QString("1"), 5000);
        } else {
            QVERIFY(sim.dumped("restarts").isEmpty());
        }
    }

    // A port nobody listens on gives the failure text and no result; the
    // window stays, and a second 连接 to a gateway then works.
    void refusedConnectionKeepsTheWindow() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const int closedPort = server.serverPort();
        server.close();
        auto doc = demo();
        NetDownloadDialog dialog(doc);
        field(dialog, "port")->setText(QString::number(closedPort));
        pressConnectLocally(dialog);
        QTRY_COMPARE_WITH_TIMEOUT(messages_.texts().size(), std::size_t(1), 10000);
        QCOMPARE(messages_.messages[0].text, std::string("连接失败，请查看IP设置或硬件灯显示"));
        QCOMPARE(messages_.messages[0].caption, std::string("错误"));
        QVERIFY(results_.isEmpty());
        QVERIFY(dialog.isVisible());
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(button(dialog, "connectButton")->isEnabled());
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QCOMPARE(dialog.statusText(), QString());
        QVERIFY(!dialog.picture()->isPlaying());
        QVERIFY2(!dialog.picture()->isVisible(), "no still busy picture after a failed connection");

        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        field(dialog, "port")->setText(QString::number(sim.port()));
        QVERIFY(connectLocally(dialog));
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
        QCOMPARE(results_, QStringList{"下载完毕！"});
        QCOMPARE(messages_.texts().size(), std::size_t(1));
    }

    // A target no gateway can have is refused before connecting (the
    // simulator would answer on 0.0.0.0), a partial address completed in the
    // field first; the window stays for another try.
    void refusedTargetIsNotConnectedTo_data() {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, const char* ip, const char* port, const char* shown,
                      const char* message) { QTest::newRow(name) << ip << port << shown << message; };
        row("empty IP", "", "", "", "IP地址格式错误");
        row("IP 0.0.0.0", "0.0.0.0", "", "0.0.0.0", "IP地址格式错误");
        row("partial broadcast", "255.255.255", "", "255.255.255.0", "IP地址格式错误");
        row("port 70000", "127.0.0.1", "70000", "127.0.0.1", "端口格式错误");
    }
    void refusedTargetIsNotConnectedTo() {
        QFETCH(QString, ip);
        QFETCH(QString, port);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        auto doc = demo();
        NetDownloadDialog dialog(doc);
        field(dialog, "ip")->clear();
        QTest::keyClicks(field(dialog, "ip"), ip);
        if (!port.isEmpty()) {
            field(dialog, "port")->clear();
            QTest::keyClicks(field(dialog, "port"), port);
        }
        dialog.show();
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QCOMPARE(messages_.texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(field(dialog, "ip")->text(), shown);
        QVERIFY(results_.isEmpty());
        QVERIFY(dialog.isVisible());
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(button(dialog, "connectButton")->isEnabled());
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
    }

    void disconnectAndConnectAgain() {
        SimulatedGateway sim("NXE-485-ZRTU2");
        QVERIFY(sim.ok());
        auto doc = demo();
        NetDownloadDialog dialog(doc);
        QVERIFY(connectLocally(dialog));
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QCOMPARE(dialog.statusText(), QString());
        QVERIFY(dialog.isVisible());
        QVERIFY(connectLocally(dialog));
        QCOMPARE(dialog.statusText(), QString("    请下载"));
        // 关闭 ends the window and its connection without a result.
        QTest::mouseClick(button(dialog, "closeButton"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(results_.isEmpty());
        QVERIFY(messages_.messages.empty());
        QVERIFY(sim.dumped("block21.hex").isEmpty());
    }

    // 断开 during a download ends it: the window stays, disconnected, with
    // no result, for a new connection.
    void disconnectDuringADownload() {
        SimulatedGateway sim("NXE-485-ZRTU2", {"--no-reply", "21"});
        QVERIFY(sim.ok());
        auto doc = demo();
        NetDownloadDialog dialog(doc);
        QVERIFY(connectLocally(dialog));
        QTest::mouseClick(button(dialog, "downloadButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.statusText(), QString("正在下载FIELDBUS操作配置...."), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.findChild<QProgressBar*>("progress")->value() > 0, 10000);
        QTest::mouseClick(button(dialog, "connectButton"), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QProgressBar*>("progress")->value(), 0);
        QCOMPARE(button(dialog, "connectButton")->text(), QString("连接"));
        QVERIFY(button(dialog, "connectButton")->isEnabled());
        QVERIFY(!button(dialog, "downloadButton")->isEnabled());
        QVERIFY(results_.isEmpty() && messages_.messages.empty());
    }

    // A refused compile shows its message and the window never opens.
    void refusedCompileDoesNotOpen() {
        auto doc = demo();
        auto& command = doc.slaves.at(2).nodes.at(0).modules.at(1);
        QCOMPARE(command.area_num, 0);
        command.Gate_Add = 8000;
        command.Length = 200;
        NetDownloadDialog dialog(doc);
        QCOMPARE(messages_.texts(),
                 std::vector<std::string>{"网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"});
        QVERIFY(!dialog.compiled());
        testing::ModalStep step([](QDialog* d) { d->reject(); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(!step.ran());
        QVERIFY(!button(dialog, "connectButton")->isEnabled());
    }
};

QTEST_MAIN(VantorNetDownloadTest)
#include "VantorNetDownloadTest.moc"
