#pragma once
// A trend chart of 通信诊断: the successes (upwards, green) and failures
// (downwards, red) of each poll cycle, newest at the right, over a fixed
// number of cycles, under a caption (the slave or line and its failure
// rate).
#include "services/LineHealth.h"

#include <QString>
#include <QWidget>

#include <vector>

class HealthTrend : public QWidget {
    Q_OBJECT
public:
    explicit HealthTrend(QWidget* parent = nullptr);

    void showSeries(const QString& caption, std::vector<vantor::services::CycleCounts> series,
                    std::size_t cycles);
    QString caption() const { return caption_; }

    QSize sizeHint() const override { return {480, 120}; }
    QSize minimumSizeHint() const override { return {200, 80}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
    std::vector<vantor::services::CycleCounts> series_;
    std::size_t cycles_ = 1;
};
