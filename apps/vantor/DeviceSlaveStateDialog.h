#pragma once
// 从站状态: polls the slaves' state and control words over MODBUS TCP once a
// second and lists every configured slave; a right-click ("设置控制字") or a
// double-click on a listed row opens the control-word window for it. When
// polling stops with the list filled, the rows are greyed and a note says
// when they were read. The tab 通信诊断 shows the same cycles as line health
// (grid, trends, worst-first list): one connection, one poll timer.
#include "DeviceDialog.h"

#include "model/CVantorDoc.h"
#include "services/SlaveStateExchange.h"

#include <QElapsedTimer>
#include <QTime>

#include <memory>

class QLabel;
class QTableWidget;
class QTabWidget;
class SlaveHealthPanel;

class DeviceSlaveStateDialog : public DeviceDialog {
    Q_OBJECT
public:
    // `project` (may be null) gives the health view the slaves' names and
    // the line budget.
    DeviceSlaveStateDialog(QWidget* parent, const std::string& model,
                           const vantor::services::SlaveStateSettings& settings,
                           const vantor::model::CVantorDoc* project = nullptr);

    void start();
    QTableWidget* list() const { return list_; }
    SlaveHealthPanel* healthPanel() const { return health_; }
    QTabWidget* tabs() const { return tabs_; }
    // Brings the 通信诊断 tab to the front.
    void showHealthTab();
    vantor::services::SlaveStateExchange& exchange() { return *exchange_; }
    // Refreshes shown so far.
    int refreshes() const { return shownCycles_; }

    // Opens the control-word window for a listed row (modal); nothing for
    // an empty row.
    void openControlWord(int row);

protected:
    void onEventHandled() override;
    void onConnectedToGateway() override { connected_ = true; }
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    void showRows();
    void markRowsStale();
    void contextMenu(const QPoint& at);

    std::unique_ptr<vantor::services::SlaveStateExchange> exchange_;
    vantor::services::SlaveStateSettings settings_;
    QTableWidget* list_;
    QTabWidget* tabs_;
    SlaveHealthPanel* health_;
    QElapsedTimer clock_; // the health's time: since the window opened
    QLabel* staleNote_;
    QTime lastRead_;
    int shownCycles_ = 0;
    bool connected_ = false;
};
