#pragma once
// 设备 → 批量下载...: a plan's gateways in a table (name, IP, port, project,
// a progress bar and a status text per row), 开始 and 停止, and a save of the
// fleet report. Every gateway runs on the GUI thread with its own exchange
// driver (one socket per running row), up to 16 at a time, so the window
// keeps painting and answering while they run. The plan's rules, the
// download and verification sequence and the report are the core's.
#include "fleet/FleetReport.h"

#include <QDialog>
#include <QElapsedTimer>

#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vantor::gui {
class ExchangeDriver;
}

class FleetDialog : public QDialog {
    Q_OBJECT
public:
    explicit FleetDialog(QWidget* parent = nullptr);
    ~FleetDialog() override;

    // Reads the plan (its refused rows are shown, not run). False with a
    // message when the plan cannot be read at all.
    bool loadPlan(const QString& path);
    bool running() const { return running_; }
    // The run so far, as the report shows it.
    vantor::fleet::FleetRun run() const;

    static constexpr int kParallel = 16;

signals:
    // Every gateway of the run has ended.
    void runFinished();

private:
    struct Row;
    void choosePlan();
    void start();
    void stop();
    void saveReport();
    void fill();
    void startMore();
    void attach(Row& row);
    void advance(Row& row);
    void showRow(const Row& row);
    void armWake();
    int64_t now() const { return clock_.elapsed(); }
    void updateButtons();

    QTableWidget* table_;
    QLabel* summary_;
    QPushButton* open_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* save_;
    QTimer* wake_;
    QString planPath_;
    std::vector<vantor::fleet::PlanRefusal> refusals_;
    std::vector<std::unique_ptr<Row>> rows_;
    std::size_t next_ = 0;
    bool running_ = false;
    bool stopping_ = false;
    QElapsedTimer clock_;
    int64_t elapsedMs_ = 0;
};
