#pragma once
// 通信诊断: the health grid of every slave, the trends of the selected slave
// and of its line, and the slaves worst-first (failure rate, last success,
// share of the line's poll cycle). It shows what the core's LineHealth
// derives from the cycles the slave-state window feeds it; it polls
// nothing itself.
#include "services/LineHealth.h"

#include <QWidget>

#include <optional>
#include <utility>

class HealthGrid;
class HealthTrend;
class QLabel;
class QTableWidget;

class SlaveHealthPanel : public QWidget {
    Q_OBJECT
public:
    SlaveHealthPanel(QWidget* parent, bool statusLayout);

    // Names, expected slaves and budget shares from the project.
    void setProject(const vantor::model::CVantorDoc& doc);
    // One completed poll cycle at `nowMs`.
    void addCycle(int64_t nowMs, const std::vector<vantor::services::SlaveSample>& samples);
    void select(int port, int address);

    const vantor::services::LineHealth& health() const { return health_; }
    HealthGrid* grid() const { return grid_; }
    QTableWidget* worstList() const { return worst_; }
    HealthTrend* slaveTrend() const { return slaveTrend_; }
    HealthTrend* lineTrend() const { return lineTrend_; }

private:
    void refresh();

    vantor::services::LineHealth health_;
    std::optional<std::pair<int, int>> selected_;
    HealthGrid* grid_;
    HealthTrend* slaveTrend_;
    HealthTrend* lineTrend_;
    QLabel* legend_;
    QTableWidget* worst_;
};
