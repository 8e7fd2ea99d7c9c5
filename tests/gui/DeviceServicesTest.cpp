// The device windows besides the download, against vantor-gatewaysim on
// free ports: network parameters stored after the acknowledgement, the
// slave state list and a control word written from it, a firmware update,
// the gateway information fields, and the commands' refusals. Messages
// and result boxes are recorded.
#include "ConnectingBox.h"
#include "DeviceAccessDialog.h"
#include "DeviceCommands.h"
#include "DeviceControlWordDialog.h"
#include "DeviceDownloadDialog.h"
#include "DeviceFirmwareDialog.h"
#include "DeviceInfoDialog.h"
#include "DeviceNetworkDialog.h"
#include "DeviceSlaveStateDialog.h"
#include "DeviceWorkModeDialog.h"
#include "GuiTestSupport.h"
#include "QtMessageSink.h"
#include "ResultBox.h"
#include "SimulatedGateway.h"

#include "model/ProjectFile.h"
#include "services/AccessParams.h"
#include "transfer/DownloadCommand.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <cstdlib>

using namespace vantor;
using namespace vantor::testing;

class DeviceServicesTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    QStringList results_;

    static void loadDemo(model::CVantorDoc& doc) {
        doc.NewDocument(QDir::currentPath().toStdString());
        std::string error;
        QVERIFY2(model::ProjectFile::open(doc, "demo.vtc", &error), error.c_str());
    }
    static void withGateway(model::CVantorDoc& doc, const char* name) {
        doc.NewDocument(QDir::currentPath().toStdString());
        doc.masters.push_back(model::CMaster{name, 35, 35, ""});
        doc.IP = "127.0.0.1";
    }
    // Downloads the demo project into the simulator (its slaves then answer
    // on MODBUS TCP).
    void downloadDemo(const SimulatedGateway& sim) {
        model::CVantorDoc doc;
        loadDemo(doc);
        auto blocks = transfer::prepareDownload(doc, messages_);
        QVERIFY(blocks);
        transfer::DownloadSettings settings{"127.0.0.1", 5032, 0, 5000, sim.port()};
        DeviceDownloadDialog dialog(nullptr, doc.modelName(), *blocks, settings);
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QCOMPARE(dialog.resultText(), QString("下 载 完 毕!"));
    }

private slots:
    void init() { recordOutputs(messages_, results_); }
    void cleanup() { stopRecordingOutputs(); }

    void networkParametersAreStoredAfterTheAcknowledgement() {
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        DeviceNetworkDialog dialog(nullptr, doc);
        QCOMPARE(dialog.ipEdit()->text(), QString::fromStdString(doc.SETIP));
        dialog.show();
        dialog.start();
        QVERIFY(dialog.connectingBox()->isVisible());
        saveShot(*dialog.connectingBox(), "connecting-box");
        QCOMPARE(dialog.connectingBox()->text(), QString("正在连接127.0.0.1:%1...").arg(sim.port()));
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchange().connectedToGateway(), 5000);
        QVERIFY(!dialog.connectingBox()->isVisible());

        // A refused field: message at once, nothing sent, the window stays.
        dialog.ipEdit()->setText("0.1.2.3");
        dialog.download();
        QCOMPARE(messages_.texts(), std::vector<std::string>{"网口1IP设置错误"});
        QVERIFY(!dialog.exchange().running());

        dialog.ipEdit()->setText("192.168.3.20");
        dialog.maskEdit()->setText("255.255.255.0");
        dialog.gatewayEdit()->setText("192.168.3.1");
        dialog.portEdit()->setText("1502");
        saveShot(dialog, "network-parameters");
        dialog.download();
        QVERIFY(dialog.exchange().running());
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QCOMPARE(dialog.findChild<QProgressBar*>("progress")->value(), 99);
        QVERIFY(!dialog.isVisible());
        dialog.showOutcome(nullptr);
        QCOMPARE(results_, QStringList{"下载完毕！"});
        QCOMPARE(doc.SETIP, std::string("192.168.3.20"));
        QCOMPARE(doc.SETMASK, std::string("255.255.255.0"));
        QCOMPARE(doc.SETGW, std::string("192.168.3.1"));
        QCOMPARE(doc.SETPORT, 1502);
        // Two Ethernet ports: the 24 bytes twice; port 1502 = de 05.
        const QString first = "c0a80314ffffff00c0a80301de0500000000000000000000";
        QCOMPARE(sim.dumped("netparams.hex"), first + first);
    }

    void networkParametersUnacknowledgedKeepTheProject() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--no-reply", "10"});
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        const std::string before = doc.SETIP;
        DeviceNetworkDialog dialog(nullptr, doc);
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchange().connectedToGateway(), 5000);
        dialog.ipEdit()->setText("192.168.1.77");
        dialog.download();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        dialog.showOutcome(nullptr);
        QCOMPARE(results_, QStringList{"下 载 失 败！"});
        QCOMPARE(doc.SETIP, before);
    }

    void slaveStateListAndControlWord() {
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        downloadDemo(sim);
        DeviceSlaveStateDialog dialog(nullptr, "KX-P2R0-1.0", {"127.0.0.1", sim.modbusPort()});
        QTableWidget* list = dialog.list();
        QCOMPARE(list->rowCount(), 186);
        QCOMPARE(list->columnCount(), 6);
        QCOMPARE(list->horizontalHeaderItem(2)->text(), QString("控制字地址"));
        dialog.show();
        dialog.start();
        {
            // Three refreshes in a plain event loop, as the window runs in.
            QEventLoop loop;
            connect(dialog.driver(), &gui::ExchangeDriver::eventHandled, &loop, [&] {
                if (dialog.refreshes() >= 3)
                    loop.quit();
            });
            QTimer::singleShot(15000, &loop, &QEventLoop::quit);
            loop.exec();
        }
        QVERIFY(dialog.refreshes() >= 3);
        // The demo's slaves: COM1 1, 2, 3 and COM2 1, 5, in that order.
        const char* expected[][5] = {{"COM1", "1", "42001", "32001"},
                                     {"COM1", "2", "42002", "32002"},
                                     {"COM1", "3", "42003", "32003"},
                                     {"COM2", "1", "42257", "32257"},
                                     {"COM2", "5", "42261", "32261"}};
        auto text = [&](int r, int c) { return list->item(r, c) ? list->item(r, c)->text() : QString(); };
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(text(r, 0), QString(expected[r][0]));
            QCOMPARE(text(r, 1), QString(expected[r][1]));
            QCOMPARE(text(r, 2), QString(expected[r][2]));
            QCOMPARE(text(r, 4), QString(expected[r][3]));
            QVERIFY(text(r, 3).startsWith("0x") && text(r, 3).size() == 6);
            QVERIFY(text(r, 5).startsWith("0x") && text(r, 5) != "0x0000");
        }
        QVERIFY(text(5, 1).isEmpty());
        saveShot(dialog, "slave-state");

        // A double-click on a listed row opens the control-word window for
        // it; on an empty row nothing opens.
        QString shownAddress, shownValue;
        {
            testing::ModalStep controlWord([&](QDialog* d) {
                auto* w = qobject_cast<DeviceControlWordDialog*>(d);
                QVERIFY(w);
                shownAddress = QString::number(w->displayAddress());
                shownValue = w->valueEdit()->text();
                w->reject();
            });
            emit list->cellDoubleClicked(4, 0);
            VERIFY_MODAL(controlWord);
        }
        QCOMPARE(shownAddress, QString("42261"));
        QCOMPARE(shownValue.toUpper(), text(4, 3).mid(2).toUpper());
        {
            // A window opened here would be closed by the step (and counted),
            // never left hanging.
            testing::ModalStep none([](QDialog* d) { d->reject(); });
            dialog.openControlWord(20);
            QVERIFY2(!none.ran(), "an empty row opened a control-word window");
        }

        // Write a new control word for COM2 slave 5; the list shows it at a
        // later refresh while polling goes on.
        const QString newValue = text(4, 3) == "0x0000" ? "0001" : "0000";
        DeviceControlWordDialog writer(nullptr, {"127.0.0.1", sim.modbusPort()}, 42261, 0x81);
        QCOMPARE(writer.valueEdit()->text(), QString("0081"));
        writer.show();
        writer.valueEdit()->setText("12G4");
        writer.accept();
        QCOMPARE(messages_.texts(), std::vector<std::string>{"控制字输入错误,应为4个16进制数"});
        QVERIFY(writer.isVisible());
        writer.valueEdit()->setText(newValue);
        writer.accept();
        QTRY_VERIFY_WITH_TIMEOUT(writer.exchangeFinished(), 5000);
        QVERIFY(writer.succeeded());
        QVERIFY(!writer.isVisible());
        writer.showOutcome(nullptr);
        QCOMPARE(messages_.messages.back(), (Message{MessageKind::Information, "信息", "设置成功"}));
        QTRY_COMPARE_WITH_TIMEOUT(text(4, 3), "0x" + newValue, 5000);
        QVERIFY(dialog.exchange().polling());
    }

    void slaveStateWithoutRepliesKeepsTheList() {
        auto sim = std::make_unique<SimulatedGateway>("KX-P2R0-1.0");
        QVERIFY(sim->ok());
        downloadDemo(*sim);
        DeviceSlaveStateDialog dialog(nullptr, "KX-P2R0-1.0", {"127.0.0.1", sim->modbusPort()});
        dialog.show();
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.refreshes() >= 1, 10000);
        auto* staleNote = dialog.findChild<QLabel*>("staleNote");
        QVERIFY(staleNote && !staleNote->isVisible());
        const QTime lastRead = QTime::currentTime();
        sim.reset(); // the gateway goes away
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"无应答"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.list()->item(0, 0)->text(), QString("COM1"));
        // The rows left are the last values read, greyed, with their time.
        QVERIFY(staleNote->isVisible());
        const QString note = staleNote->text();
        const QTime noted = QTime::fromString(note.mid(note.indexOf(':') - 2, 8), "HH:mm:ss");
        QVERIFY2(noted.isValid() && std::abs(noted.secsTo(lastRead)) <= 2, qPrintable(note));
        for (int c = 0; c < 6; ++c)
            QCOMPARE(dialog.list()->item(0, c)->foreground().color(), QColor(128, 128, 128));
        saveShot(dialog, "slave-state-stale");
        dialog.showOutcome(nullptr); // shown already
        QCOMPARE(messages_.messages.size(), std::size_t(1));
    }

    // A poll request the socket cannot send ends polling and the window.
    void slaveStateSendFailureClosesTheWindow() {
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        DeviceSlaveStateDialog dialog(nullptr, "KX-P2R0-1.0", {"127.0.0.1", sim.modbusPort()});
        dialog.show();
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.refreshes() >= 1, 10000);
        // What the socket layer reports when a write cannot go out.
        dialog.driver()->exchange().sendFailed();
        dialog.driver()->pump();
        QVERIFY(dialog.exchangeFinished());
        QVERIFY(!dialog.isVisible());
        QVERIFY(dialog.endedWith("发送失败"));
        dialog.showOutcome(nullptr);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"发送失败"});
    }

    void controlWordRefusedKeepsTheWindow() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--modbus-fault"});
        QVERIFY(sim.ok());
        downloadDemo(sim);
        DeviceControlWordDialog writer(nullptr, {"127.0.0.1", sim.modbusPort()}, 42001, 0x81);
        writer.show();
        writer.accept();
        QTRY_VERIFY_WITH_TIMEOUT(writer.exchangeFinished(), 5000);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"设置失败"});
        QVERIFY(writer.isVisible());
        writer.showOutcome(nullptr); // nothing more to show
        QCOMPARE(messages_.messages.size(), std::size_t(1));
    }

    void firmwareUpdateCompletes() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("FIRMWARE");
        QDir().mkpath(folder);
        QByteArray file(32 + 500, 0);
        for (int i = 0; i < file.size(); ++i)
            file[i] = static_cast<char>(i * 7);
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile f(QDir(folder).filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write("KX-P2R0-1.0_v2.bin", file);
        write("KX-P4R0-1.0_v2.bin", file); // another model's: not offered
        write("KX-P2R0-1.0_v2.txt", file);

        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        services::FirmwareSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = sim.port();
        DeviceFirmwareDialog dialog(nullptr, "KX-P2R0-1.0", folder, settings);
        QCOMPARE(dialog.files()->count(), 1);
        QCOMPARE(dialog.files()->currentText(), QString("KX-P2R0-1.0_v2.bin"));
        dialog.show();
        saveShot(dialog, "firmware");
        dialog.upgrade();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QVERIFY(dialog.succeeded());
        QCOMPARE(dialog.progress()->maximum(), 2);
        QCOMPARE(dialog.progress()->value(), 2);
        QVERIFY(!dialog.isVisible());
        dialog.showOutcome(nullptr);
        QCOMPARE(messages_.messages,
                 (std::vector<Message>{{MessageKind::Information, "信息",
                                        "固件升级完成\n将拨码开关BIT4置为OFF,并对设备重新上电"}}));
        QFile dumped(QDir(sim.dump()).filePath("firmware.bin"));
        QTRY_VERIFY_WITH_TIMEOUT(dumped.exists(), 5000);
        QVERIFY(dumped.open(QIODevice::ReadOnly));
        QCOMPARE(dumped.readAll(), file);
    }

    // With nothing in the folder the window says where it looked, and a file
    // chosen elsewhere is sent from where it lies.
    void firmwareFromAChosenFile() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("FIRMWARE");
        QDir().mkpath(folder);
        const QString elsewhere = dir.filePath("update.bin");
        QFile f(elsewhere);
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray file(32 + 240, 'v');
        f.write(file);
        f.close();
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        services::FirmwareSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = sim.port();
        DeviceFirmwareDialog dialog(nullptr, "KX-P2R0-1.0", folder, settings);
        QCOMPARE(dialog.files()->count(), 0);
        const QString note = dialog.findChild<QLabel*>("labelFolder")->text();
        QVERIFY2(note.contains(folder) && note.contains("KX-P2R0-1.0*.bin"), qPrintable(note));
        testing::ScriptedChooser chooser({elsewhere, elsewhere});
        dialog.chooseFile();
        dialog.chooseFile(); // the same file twice is listed once
        QCOMPARE(dialog.files()->count(), 1);
        QCOMPARE(dialog.files()->currentText(), QString("update.bin"));
        QCOMPARE(chooser.requests.at(0).directory, folder);
        dialog.show();
        saveShot(dialog, "firmware-chosen");
        dialog.upgrade();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        QVERIFY(dialog.succeeded());
        QFile dumped(QDir(sim.dump()).filePath("firmware.bin"));
        QTRY_VERIFY_WITH_TIMEOUT(dumped.exists(), 5000);
        QVERIFY(dumped.open(QIODevice::ReadOnly));
        QCOMPARE(dumped.readAll(), file);
    }

    void firmwareRefusedByTheGateway() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("FIRMWARE"));
        QFile f(dir.filePath("FIRMWARE/KX-P2R0-1.0.bin"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, 'x'));
        f.close();
        SimulatedGateway sim("KX-P2R0-1.0", {"--firmware-result", "5"});
        QVERIFY(sim.ok());
        services::FirmwareSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = sim.port();
        DeviceFirmwareDialog dialog(nullptr, "KX-P2R0-1.0", dir.filePath("FIRMWARE"), settings);
        dialog.show();
        dialog.upgrade();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 10000);
        dialog.showOutcome(nullptr);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"固件升级失败,错误码5\n请确认拨码开关BIT4为ON"});
    }

    void gatewayInformationFields() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--layout", "52", "--run-state", "3"});
        QVERIFY(sim.ok());
        services::DeviceInfoSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = sim.port();
        DeviceInfoDialog dialog(nullptr, "KX-P2R0-1.0", settings);
        dialog.show();
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.field("serial1095")->text().isEmpty(), 5000);
        QCOMPARE(dialog.field("id1072")->text(), QString("06583474"));
        QCOMPARE(dialog.field("version1069")->text(), QString("01-01-0203"));
        QCOMPARE(dialog.field("build1073")->text(), QString("2026-11-30 09:15:00"));
        QCOMPARE(dialog.field("mac1070")->text(), QString("00-1C-56-10-20-31"));
        QCOMPARE(dialog.field("mac1074")->text(), QString("00-1C-56-10-20-32"));
        QCOMPARE(dialog.field("serial1095")->text(), QString("2026120700015AA513579BDF"));
        QLineEdit* state = dialog.field("state1071");
        QCOMPARE(state->text(), QString("参数配置模式"));
        QCOMPARE(state->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(state->palette().color(QPalette::Base), QColor(251, 247, 200));
        // Read once; the window stays with its fields.
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 5000);
        QVERIFY(dialog.isVisible());
        saveShot(dialog, "gateway-information");
        dialog.copySerialNumber();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("2026120700015AA513579BDF"));
        QVERIFY(messages_.messages.empty());
    }

    void gatewayInformationOfAnotherModel() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--layout", "52", "--identity-code", "73"});
        QVERIFY(sim.ok());
        services::DeviceInfoSettings settings;
        settings.host = "127.0.0.1";
        settings.portOverride = sim.port();
        DeviceInfoDialog dialog(nullptr, "KX-P2R0-1.0", settings);
        dialog.show();
        dialog.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.exchangeFinished(), 5000);
        QVERIFY(!dialog.isVisible());
        dialog.showOutcome(nullptr);
        QCOMPARE(messages_.texts(),
                 std::vector<std::string>{"设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为KX-P6R0-1.0"});
    }

    void commandsThatOpenNothing() {
        struct Case {
            const char* model; // empty: no gateway
            void (*run)(model::CVantorDoc&);
            std::vector<std::string> texts;
        } cases[] = {
            {"", [](model::CVantorDoc& d) { runNetworkParamsCommand(nullptr, d); }, {"请添加主站"}},
            {"", [](model::CVantorDoc& d) { runSlaveStateCommand(nullptr, d); }, {"请添加一个主站!"}},
            {"TRX-H-QMB6", [](model::CVantorDoc& d) { runNetworkParamsCommand(nullptr, d); }, {}},
            {"TRX-H-QMB6", [](model::CVantorDoc& d) { runSlaveStateCommand(nullptr, d); }, {}},
            {"NXE-485-ZRTU2", [](model::CVantorDoc& d) { runFirmwareCommand(nullptr, d, "."); }, {}},
            {"TRX-H-QMB6", [](model::CVantorDoc& d) { runFirmwareCommand(nullptr, d, "."); }, {}},
            {"KX-P2R0-1.0", [](model::CVantorDoc& d) { QVERIFY(!runWorkModeCommand(nullptr, d)); }, {}},
        };
        for (const auto& c : cases) {
            messages_ = RecordingSink{};
            model::CVantorDoc doc;
            if (*c.model)
                withGateway(doc, c.model);
            else
                doc.NewDocument(QDir::currentPath().toStdString());
            // Any window that opened would be a modal left open: close it
            // and count it.
            int opened = 0;
            QTimer::singleShot(0, [&] {
                if (auto* w = QApplication::activeModalWidget()) {
                    ++opened;
                    w->close();
                }
            });
            c.run(doc);
            QCoreApplication::processEvents();
            QCOMPARE(opened, 0);
            QCOMPARE(messages_.texts(), c.texts);
        }
    }

    void workModeIsStored() {
        model::CVantorDoc doc;
        withGateway(doc, "LNK-P1-1.0");
        DeviceWorkModeDialog dialog(nullptr, doc);
        QVERIFY(dialog.slaveButton()->isChecked());
        QCOMPARE(dialog.masterButton()->text(), QString("rtu-master+tcp-master"));
        dialog.masterButton()->setChecked(true);
        dialog.accept();
        QCOMPARE(doc.GW_work_mode, 1);
        DeviceWorkModeDialog again(nullptr, doc);
        QVERIFY(again.masterButton()->isChecked());
    }

    // The device windows connect only to an access IP a gateway can have
    // (the simulator would answer on 0.0.0.0), and 访问参数设置 stores none
    // other.
    void accessIpNoGatewayCanHave_data() {
        QTest::addColumn<QString>("ip");
        for (const char* ip : {"", "0.0.0.0", "224.0.0.1", "0.1"})
            QTest::newRow(*ip ? ip : "empty") << ip;
    }
    void accessIpNoGatewayCanHave() {
        QFETCH(QString, ip);
        SimulatedGateway sim("KX-P2R0-1.0");
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        loadDemo(doc);
        doc.IP = ip.toStdString();
        DeviceNetworkDialog window(nullptr, doc);
        window.start();
        QTRY_VERIFY_WITH_TIMEOUT(window.exchangeFinished(), 5000);
        window.showOutcome(nullptr);
        QCOMPARE(messages_.texts(), std::vector<std::string>{"访问IP地址设置错误"});
        QVERIFY(results_.isEmpty());

        messages_ = RecordingSink{};
        QTemporaryDir dir;
        doc.IP = "127.0.0.1";
        DeviceAccessDialog access(nullptr, doc, dir.path());
        access.ipEdit()->setText(ip);
        access.accept();
        QCOMPARE(messages_.texts(), std::vector<std::string>{"访问IP地址设置错误"});
        QCOMPARE(doc.IP, std::string("127.0.0.1"));
        QVERIFY(!QFile::exists(dir.filePath("IP/ETHOption.xml")));
    }

    void accessIpGoesToProjectAndFile() {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("IP"));
        model::CVantorDoc doc;
        withGateway(doc, "KX-P2R0-1.0");
        DeviceAccessDialog dialog(nullptr, doc, dir.path());
        QCOMPARE(dialog.ipEdit()->text(), QString("127.0.0.1"));
        dialog.ipEdit()->setText("10.0.0.7");
        dialog.accept();
        QCOMPARE(doc.IP, std::string("10.0.0.7"));
        QCOMPARE(doc.accessPort, 5032);
        QCOMPARE(model::readAccessIp(services::ethOptionPath(dir.path().toStdString())),
                 std::string("10.0.0.7"));
        QVERIFY(messages_.messages.empty());
    }
};

QTEST_MAIN(DeviceServicesTest)
#include "DeviceServicesTest.moc"
