#pragma once
// The health grid of 通信诊断: one band per serial line ("COM1" at its
// left), one cell per slave in address order, coloured by its class and
// marked with its address; the cells wrap inside their line's band when the
// window is narrow. The tooltip names the slave and its state; a click
// selects it (a frame around its cell).
#include "services/LineHealth.h"

#include <QWidget>

#include <optional>
#include <utility>

class HealthGrid : public QWidget {
    Q_OBJECT
public:
    explicit HealthGrid(QWidget* parent = nullptr);

    // Shows `health` (kept by the caller); called after every cycle.
    void showHealth(const vantor::services::LineHealth* health);
    void select(int port, int address);
    std::optional<std::pair<int, int>> selected() const { return selected_; }
    // Where the slave's cell is drawn; empty when it has none.
    QRect cellRect(int port, int address) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

signals:
    void slaveClicked(int port, int address);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Cell {
        QRect rect;
        const vantor::services::SlaveHealth* slave;
    };
    struct Band {
        int port;
        QRect rect;
    };
    // Cells and bands laid out for `width`.
    void layOut(int width, std::vector<Cell>* cells, std::vector<Band>* bands, int* height) const;
    const Cell* cellAt(const QPoint& at) const;

    const vantor::services::LineHealth* health_ = nullptr;
    std::optional<std::pair<int, int>> selected_;
    std::vector<Cell> cells_;
    std::vector<Band> bands_;
};
