#include "SlaveHealthPanel.h"

#include "HealthGrid.h"
#include "HealthTrend.h"
#include "QtText.h"
#include "TableList.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace vantor;

namespace {
// The list's column of the slave's name (the user's own text).
constexpr int kNameColumn = 2;
} // namespace

SlaveHealthPanel::SlaveHealthPanel(QWidget* parent, bool statusLayout)
    : QWidget(parent), health_(statusLayout) {
    setObjectName("healthPanel");
    grid_ = new HealthGrid;
    auto* gridScroll = new QScrollArea;
    gridScroll->setWidget(grid_);
    gridScroll->setWidgetResizable(true);
    gridScroll->setMinimumHeight(90);
    connect(grid_, &HealthGrid::slaveClicked, this, &SlaveHealthPanel::select);

    slaveTrend_ = new HealthTrend;
    slaveTrend_->setObjectName("slaveTrend");
    lineTrend_ = new HealthTrend;
    lineTrend_->setObjectName("lineTrend");
    legend_ = new QLabel(gui::shown(services::trendLegend(health_.windowCycles())));

    const auto& titles = services::healthListTitles();
    worst_ = new QTableWidget(0, static_cast<int>(titles.size()));
    worst_->setObjectName("healthList");
    QStringList labels;
    for (const auto& t : titles)
        labels << gui::shown(t);
    worst_->setHorizontalHeaderLabels(labels);
    worst_->verticalHeader()->hide();
    worst_->verticalHeader()->setDefaultSectionSize(18);
    worst_->horizontalHeader()->setStretchLastSection(true);
    worst_->setSelectionBehavior(QAbstractItemView::SelectRows);
    worst_->setSelectionMode(QAbstractItemView::SingleSelection);
    worst_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const int widths[] = {50, 70, 110, 70, 70, 90, 70};
    for (int c = 0; c < worst_->columnCount(); ++c)
        worst_->setColumnWidth(c, widths[c]);
    gui::fitColumnsToTitles(worst_);
    connect(worst_, &QTableWidget::cellClicked, this, [this](int row, int) {
        const auto order = health_.worstFirst();
        if (row >= 0 && row < static_cast<int>(order.size()))
            select(order[static_cast<std::size_t>(row)]->port, order[static_cast<std::size_t>(row)]->address);
    });

    auto* trends = new QWidget;
    auto* trendLayout = new QVBoxLayout(trends);
    trendLayout->setContentsMargins(0, 0, 0, 0);
    trendLayout->addWidget(slaveTrend_, 1);
    trendLayout->addWidget(lineTrend_, 1);
    trendLayout->addWidget(legend_);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(gridScroll);
    splitter->addWidget(trends);
    splitter->addWidget(worst_);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setStretchFactor(2, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    refresh();
}

void SlaveHealthPanel::setProject(const model::CVantorDoc& doc) {
    health_.setProject(doc);
    refresh();
}

void SlaveHealthPanel::addCycle(int64_t nowMs, const std::vector<services::SlaveSample>& samples) {
    health_.addCycle(nowMs, samples);
    refresh();
}

void SlaveHealthPanel::select(int port, int address) {
    if (!health_.find(port, address))
        return;
    selected_ = std::pair{port, address};
    refresh();
}

void SlaveHealthPanel::refresh() {
    // The grid keeps pointers into the health's slaves: it is laid out again
    // before anything else after every change.
    grid_->showHealth(&health_);
    const auto order = health_.worstFirst();
    if (!selected_ && !order.empty())
        selected_ = std::pair{order.front()->port, order.front()->address};
    if (selected_)
        grid_->select(selected_->first, selected_->second);

    const services::SlaveHealth* chosen =
        selected_ ? health_.find(selected_->first, selected_->second) : nullptr;
    if (chosen) {
        slaveTrend_->showSeries(gui::shown(services::slaveTrendTitle(*chosen)),
                                {chosen->history.begin(), chosen->history.end()}, health_.windowCycles());
        const auto line = health_.line(chosen->port);
        lineTrend_->showSeries(gui::shown(services::lineTrendTitle(line)), line.history,
                               health_.windowCycles());
    }

    worst_->setRowCount(static_cast<int>(order.size()));
    for (int r = 0; r < static_cast<int>(order.size()); ++r) {
        const auto& s = *order[static_cast<std::size_t>(r)];
        const auto cells = services::healthListRow(s, health_.nowMs());
        const auto rgb = services::healthClassColour(s.health);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            QTableWidgetItem* item = worst_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                worst_->setItem(r, c, item);
            }
            item->setText(gui::shown(cells[static_cast<std::size_t>(c)]));
            // The state cell carries the class colour, as in the grid.
            item->setBackground(c == 3 ? QBrush(QColor(rgb.r, rgb.g, rgb.b)) : QBrush());
            item->setForeground(c == 3 ? QBrush(Qt::white) : QBrush());
        }
    }
    gui::fitColumnsToCells(worst_, kNameColumn);
}
