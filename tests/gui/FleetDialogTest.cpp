// 设备 → 批量下载...: a plan of three simulated gateways (the second refuses
// the fieldbus block) and a row that cannot run; the rows end with their
// own results while the window keeps answering, 停止 ends every row, and
// the report is saved where the user chose.
#include "FleetDialog.h"
#include "GuiTestSupport.h"
#include "MainWindow.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class FleetDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess sim_;
    QString plan_;

    static QString status(FleetDialog& d, int row) {
        return d.findChild<QTableWidget*>("fleetTable")->item(row, 5)->text();
    }
    static QPushButton* button(FleetDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        const QString ports = dir_.filePath("ports");
        sim_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim_.start(VANTOR_SIM, {"--model", "KX-P2R0-1.0", "--fleet", "3", "--port", "0", "--port-file", ports,
                                "--layout", "52", "--member", "2", "--status", "21=3"});
        QVERIFY(sim_.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ports), 10000);
        QFile f(ports);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QFile::copy("demo.vtc", dir_.filePath("demo.vtc")));
        QString csv = "name,ip,port,project,mport\n";
        int i = 0;
        for (const QByteArray& line : f.readAll().trimmed().split('\n')) {
            const auto parts = line.split(' ');
            csv += QString("gw%1,127.0.0.1,%2,demo.vtc,%3\n").arg(++i).arg(parts[0], parts[1]);
        }
        csv += "lost,127.0.0.1,1,missing.vtc,\n";
        plan_ = dir_.filePath("plan.csv");
        QFile out(plan_);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(csv.toUtf8());
    }
    void cleanupTestCase() {
        sim_.kill();
        sim_.waitForFinished(5000);
    }

    void theMenuEntryOpensTheWindow() {
        MainWindow w;
        auto* entry = w.findChild<QAction*>("commandFleet");
        QVERIFY(entry);
        QCOMPARE(entry->text(), QString("批量下载..."));
        vantor::testing::ModalStep step([](QDialog* d) {
            QCOMPARE(d->objectName(), QString("fleetDialog"));
            d->reject();
        });
        entry->trigger();
        VERIFY_MODAL(step);
    }

    void runsEveryRowAndSavesTheReport() {
        FleetDialog d;
        vantor::testing::ScriptedChooser chooser({plan_, dir_.filePath("fleet.html")});
        QTest::mouseClick(button(d, "fleetOpen"), Qt::LeftButton);
        auto* table = d.findChild<QTableWidget*>("fleetTable");
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(status(d, 3), QString("第5行 lost: 工程文件不存在 missing.vtc"));
        QVERIFY(!button(d, "fleetSave")->isEnabled());

        QSignalSpy finished(&d, &FleetDialog::runFinished);
        QTest::mouseClick(button(d, "fleetStart"), Qt::LeftButton);
        // Running: the window answers, 停止 is offered and 开始 is not.
        QVERIFY(d.running());
        QVERIFY(button(d, "fleetStop")->isEnabled());
        QVERIFY(!button(d, "fleetStart")->isEnabled());
        QVERIFY(finished.wait(90000));
        QCOMPARE(status(d, 0), QString("成功"));
        QVERIFY2(status(d, 1).startsWith("失败: 下 载 失 败！3"), qPrintable(status(d, 1)));
        QCOMPARE(status(d, 2), QString("成功"));
        for (int r = 0; r < 3; ++r)
            QCOMPARE(qobject_cast<QProgressBar*>(table->cellWidget(r, 4))->value(), 100);
        QVERIFY(d.findChild<QLabel*>("fleetSummary")->text().startsWith("3个网关: 2个成功, 1个失败"));

        QTest::mouseClick(button(d, "fleetSave"), Qt::LeftButton);
        QFile report(dir_.filePath("fleet.html"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(report.readAll());
        QVERIFY(html.contains("<td>gw2</td><td>127.0.0.1</td>"));
        QVERIFY(html.contains("<td>lost</td><td>工程文件不存在 missing.vtc</td>"));
    }

    void stopEndsEveryRow() {
        FleetDialog d;
        QVERIFY(d.loadPlan(plan_));
        QSignalSpy finished(&d, &FleetDialog::runFinished);
        QTest::mouseClick(button(d, "fleetStart"), Qt::LeftButton);
        QTest::mouseClick(button(d, "fleetStop"), Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(30000));
        for (int r = 0; r < 3; ++r)
            QCOMPARE(status(d, r), QString("失败: 已停止"));
        QVERIFY(button(d, "fleetStart")->isEnabled());
    }
};

QTEST_MAIN(FleetDialogTest)
#include "FleetDialogTest.moc"
