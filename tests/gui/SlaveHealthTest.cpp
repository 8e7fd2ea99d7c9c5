// 通信诊断 against the live simulator playing the demo project with COM1
// slave 3 dead: the grid's cells as painted (the dead slave red within two
// cycles, the others green), the worst-first list, and a slave turned grey
// (stopped) once its control word's bit 0 is cleared.
#include "DeviceControlWordDialog.h"
#include "DeviceSlaveStateDialog.h"
#include "GuiTestSupport.h"
#include "HealthGrid.h"
#include "HealthTrend.h"
#include "SimulatedGateway.h"
#include "SlaveHealthPanel.h"

#include "model/ProjectFile.h"

#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace vantor;
using namespace vantor::testing;

class SlaveHealthTest : public QObject {
    Q_OBJECT

    RecordingSink messages_;
    QStringList results_;

    // The colour painted inside a slave's cell (clear of its number).
    static QColor cellColour(HealthGrid* grid, int port, int address) {
        const QRect r = grid->cellRect(port, address);
        if (r.isEmpty())
            return {};
        return grid->grab().toImage().pixelColor(r.topLeft() + QPoint(1, 1));
    }
    static bool reddish(const QColor& c) {
        return c.red() > 100 && c.red() > 2 * c.green() && c.red() > 2 * c.blue();
    }
    static bool greenish(const QColor& c) {
        return c.green() > 100 && c.green() > c.red() + 40 && c.green() > c.blue() + 40;
    }
    static bool grey(const QColor& c) {
        return c.red() > 80 && std::abs(c.red() - c.green()) < 10 && std::abs(c.green() - c.blue()) < 10;
    }

private slots:
    void init() { recordOutputs(messages_, results_); }
    void cleanup() { stopRecordingOutputs(); }

    void deadSlaveRedOthersGreenStoppedGrey() {
        SimulatedGateway sim("KX-P2R0-1.0", {"--project", "demo.vtc", "--dead", "COM1:3"});
        QVERIFY(sim.ok());
        model::CVantorDoc doc;
        doc.NewDocument(QDir::currentPath().toStdString());
        std::string error;
        QVERIFY2(model::ProjectFile::open(doc, "demo.vtc", &error), error.c_str());

        DeviceSlaveStateDialog dialog(nullptr, doc.modelName(), {"127.0.0.1", sim.modbusPort()}, &doc);
        dialog.showHealthTab();
        dialog.show();
        dialog.start();
        SlaveHealthPanel* panel = dialog.healthPanel();
        QCOMPARE(dialog.tabs()->currentWidget(), panel);
        HealthGrid* grid = panel->grid();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.refreshes() >= 2, 10000);

        const std::pair<int, int> live[] = {{1, 1}, {1, 2}, {2, 1}, {2, 5}};
        for (auto [port, address] : live)
            QVERIFY2(greenish(cellColour(grid, port, address)),
                     qPrintable(QString("COM%1:%2 %3")
                                    .arg(port)
                                    .arg(address)
                                    .arg(cellColour(grid, port, address).name())));
        QVERIFY2(reddish(cellColour(grid, 1, 3)), qPrintable(cellColour(grid, 1, 3).name()));

        // The dead slave leads the list, with its name and no success.
        QTableWidget* worst = panel->worstList();
        QCOMPARE(worst->rowCount(), 5);
        QCOMPARE(worst->item(0, 0)->text(), QString("COM1"));
        QCOMPARE(worst->item(0, 1)->text(), QString("3"));
        QCOMPARE(worst->item(0, 2)->text(), QString::fromStdString(doc.slaves[2].name));
        QCOMPARE(worst->item(0, 5)->text(), QString("从未"));
        // Clicking a cell selects that slave's trend.
        const QRect cell = grid->cellRect(2, 5);
        QTest::mouseClick(grid, Qt::LeftButton, {}, cell.center());
        QVERIFY2(panel->slaveTrend()->caption().startsWith("COM2 从站 5"),
                 qPrintable(panel->slaveTrend()->caption()));
        QVERIFY(panel->lineTrend()->caption().startsWith("COM2 合计"));
        saveShot(dialog, "slave-health");

        // Bit 0 of COM1 slave 1's control word cleared: the gateway stops
        // polling it, and its cell turns grey while polling goes on.
        DeviceControlWordDialog writer(nullptr, {"127.0.0.1", sim.modbusPort()}, 42001, 0x0001);
        writer.show();
        writer.valueEdit()->setText("0000");
        writer.accept();
        QTRY_VERIFY_WITH_TIMEOUT(writer.exchangeFinished(), 5000);
        QVERIFY(writer.succeeded());
        QTRY_VERIFY_WITH_TIMEOUT(grey(cellColour(grid, 1, 1)), 5000);
        QVERIFY(greenish(cellColour(grid, 1, 2)));
        QVERIFY(dialog.exchange().polling());
        saveShot(dialog, "slave-health-stopped");
    }
};

QTEST_MAIN(SlaveHealthTest)
#include "SlaveHealthTest.moc"
