// The download window against vantor-gatewaysim on free ports: the whole
// command from the menu's function (blocks equal to `vantor-cli blocks`),
// the status texts and progress on the way, and the ways a download fails
// (model, version, negative acknowledgement, no reply with a shortened
// timeout, no connection). Messages and result boxes are recorded.
#include "AnimatedPicture.h"
#include "DeviceCommands.h"
#include "DeviceDownloadDialog.h"
#include "QtMessageSink.h"
#include "ResultBox.h"
#include "SimulatedGateway.h"

#include "model/ProjectFile.h"
#include "text/Shown.h"
#include "transfer/DownloadCommand.h"

#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

using namespace vantor;
using namespace vantor::testing;

class DeviceDownloadTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    QStringList results_;

    static void loadDemo(model::CVantorDoc& doc) {
        doc.NewDocument(QDir::currentPath().toStdString());
        std::string error;
        QVERIFY2(model::ProjectFile::open(doc, "demo.vtc", &error), error.c_str());
        QCOMPARE(doc.IP, std::string("127.0.0.1"));
    }

private slots:
    void init() { recordOutputs(messages_, results_); }
    void cleanup() { stopRecordingOutputs(); }

    void downloadFromTheMenuCommandEndsWithTheCliBlocks() {
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        runDownloadCommand(nullptr, doc);
        QCOMPARE(results_, QStringList{"下 载 完 毕!"});
        QVERIFY2(messages_.messages.empty(), messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
        const auto blocks = cliHexLines({"blocks", "demo.vtc"});
        QCOMPARE(blocks.keys(), (QStringList{"20", "21"}));
        QCOMPARE(sim.dumped("block20.hex"), blocks["20"]);
        QCOMPARE(sim.dumped("block21.hex"), blocks["21"]);
        // The restart went out before the window closed its connection.
        QTRY_COMPARE_WITH_TIMEOUT(sim.dumped("restarts"), QString("1"), 5000);
    }

    // In another language the result box speaks it; the download still
    // counts as complete by the core's own text.
    void theResultIsShownTranslatedAndStillRecognised() {
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        text::installTranslator([](const char* t) {
            return std::string(t) == transfer::DownloadExchange::kDone ? std::string("Download complete!")
                                                                       : std::string(t);
        });
        const bool complete =
            runDownloadDialog(nullptr, doc.modelName(), *blocks, {"127.0.0.1", 5032, 0, 50000, sim.port()});
        text::installTranslator(nullptr);
        QVERIFY(complete);
        QCOMPARE(results_, QStringList{"Download complete!"});
    }

    void statusTextsAndProgressOnTheWay() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--delay", "150"});
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 0, 50000, sim.port()};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.show();
        dialog.start();
        QVERIFY(dialog.picture()->isPlaying());
        QSignalSpy statuses(dialog.driver(), &gui::ExchangeDriver::statusChanged);
        QTRY_COMPARE_WITH_TIMEOUT(dialog.statusText(), QString("正在下载FIELDBUS操作配置...."), 10000);
        QVERIFY(dialog.progressValue() > 0 && dialog.progressValue() < dialog.progressMaximum());
        saveShot(dialog, "download-mid-transfer");
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 20000);
        QCOMPARE(dialog.progressValue(), dialog.progressMaximum());
        QStringList seen;
        for (const auto& args : statuses)
            seen << args.at(0).toString();
        QCOMPARE(seen, (QStringList{"正在获取设备状态....", "正在下载RTU接口配置....",
                                    "正在下载FIELDBUS操作配置....", "", "正在重启设备...."}));
        QVERIFY(!dialog.picture()->isPlaying());
        QVERIFY(dialog.driver()->wireLog().size() >= 8);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.resultText(), QString("下 载 完 毕!"));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("result");
        QTest::newRow("model mismatch")
            << QStringList{"--identity-code", "75"}
            << QStringList{"设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为KX-P4R0-1.0"} << QString();
        QTest::newRow("identity tail")
            << QStringList{"--identity-tail", "345807"}
            << QStringList{"设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备"} << QString();
        QTest::newRow("version") << QStringList{"--version", "1,0"} << QStringList{"设备版本错误"}
                                 << QString();
        QTest::newRow("negative RTU ack")
            << QStringList{"--status", "20=3"} << QStringList{} << QString("下 载 失 败！3");
        QTest::newRow("negative fieldbus ack")
            << QStringList{"--status", "21=9"} << QStringList{} << QString("下 载 失 败！9");
        QTest::newRow("status 4 is success")
            << QStringList{"--status", "21=4"} << QStringList{} << QString("下 载 完 毕!");
        QTest::newRow("no reply") << QStringList{"--no-reply", "21"} << QStringList{}
                                  << QString("下 载 失 败！ 应答超时");
    }

    void failures() {
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, texts);
        QFETCH(QString, result);
        SimulatedGateway sim("KX-P2R0-1.0", simArgs);
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        // No pause before replies and a reply timeout of 400 ms instead of 50 s.
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 0, 400, sim.port()};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.show();
        dialog.start();
        // The window keeps running while the gateway is silent.
        int ticks = 0;
        QTimer heartbeat;
        connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
        heartbeat.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QVERIFY(!dialog.isVisible());
        dialog.showOutcome(nullptr);
        QCOMPARE(static_cast<int>(messages_.messages.size()), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(QString::fromStdString(messages_.messages[static_cast<std::size_t>(i)].text), texts[i]);
            QCOMPARE(messages_.messages[static_cast<std::size_t>(i)].caption, std::string("错误"));
        }
        QCOMPARE(results_, result.isEmpty() ? QStringList{} : QStringList{result});
        // The event loop went on while the exchange waited for the reply
        // (how long it may stall is measured in bench/).
        if (QTest::currentDataTag() == QByteArray("no reply"))
            QVERIFY(ticks > 0);
    }

    void noConnection() {
        // A port nobody listens on: bound, then closed.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const int port = server.serverPort();
        server.close();
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 0, 400, port};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.show();
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        dialog.showOutcome(nullptr);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"连接127.0.0.1:" + std::to_string(port) +
                                                             "失败,请检查设备的网络参数和网络连接"});
        QVERIFY(results_.isEmpty());
    }

    void cancelClosesTheConnection() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--no-reply", "20"});
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 0, 50000, sim.port()};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.show();
        dialog.start();
        QTRY_COMPARE_WITH_TIMEOUT(dialog.statusText(), QString("正在下载RTU接口配置...."), 10000);
        // 确定 does not stop a download half-way; only 取消 does.
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QVERIFY(!dialog.exchangeFinished());
        QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        QVERIFY(dialog.exchangeFinished());
        QVERIFY(!dialog.succeeded());
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.picture()->isPlaying());
        dialog.showOutcome(nullptr);
        QVERIFY(messages_.messages.empty());
        QVERIFY(results_.isEmpty());
    }

    // The largest project a six-port gateway takes (186 slaves, 512
    // commands) goes out through the window to the end.
    void largestProjectDownloadsThroughTheWindow() {
        SimulatedGateway sim("KX-P6R0-1.0");
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        doc.NewDocument(QDir::currentPath().toStdString());
        doc.masters.push_back(model::CMaster{"KX-P6R0-1.0", 35, 35, ""});
        int commands = 0;
        int gate[2] = {0, 0};
        for (int line = 0; line < 6; ++line) {
            model::CCOM com;
            com.COMName = "COM" + std::to_string(line + 1);
            com.num_com = line;
            doc.coms.push_back(com);
            for (int a = 1; a <= 31; ++a) {
                model::CSlave slave;
                slave.com_name = com.COMName;
                slave.address = a;
                doc.coms.back().addArea[static_cast<std::size_t>(a)] = 1;
                ++doc.coms.back().slave_num;
                const int perSlave = commands + 3 <= 512 && line * 31 + a <= 140 ? 3 : 2;
                for (int k = 0; k < perSlave && commands < 512; ++k, ++commands) {
                    model::CModule m;
                    const bool input = commands % 2 == 0;
                    m.Func = input ? "读3区 04H" : "读4区 03H";
                    m.area_num = input ? 3 : 4;
                    m.read_wri = 0;
                    m.Start_Add = 10 * k;
                    m.Length = 7;
                    m.Gate_Add = gate[input ? 0 : 1];
                    gate[input ? 0 : 1] += 7;
                    slave.modules.push_back(m);
                }
                doc.slaves.push_back(slave);
            }
        }
        QCOMPARE(doc.commandCount(), 512);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY2(blocks, messages_.texts().empty() ? "" : messages_.texts()[0].c_str());
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 20, 50000, sim.port()};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.show();
        dialog.start();
        // A plain event loop, as the window runs in.
        QEventLoop loop;
        connect(dialog.driver(), &gui::ExchangeDriver::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        QVERIFY(dialog.exchangeFinished());
        QCOMPARE(dialog.resultText(), QString("下 载 完 毕!"));
        QCOMPARE(dialog.progressValue(), dialog.progressMaximum());
    }

    void refusedWithoutAGateway() {
        model::CVantorDoc doc;
        doc.NewDocument(QDir::currentPath().toStdString());
        runDownloadCommand(nullptr, doc);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"请添加一个主站!"});
        QVERIFY(results_.isEmpty());
    }
};

QTEST_MAIN(DeviceDownloadTest)
#include "DeviceDownloadTest.moc"
