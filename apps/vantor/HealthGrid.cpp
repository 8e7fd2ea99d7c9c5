#include "HealthGrid.h"

#include "QtText.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

using namespace vantor;

namespace {

constexpr int kLabelWidth = 52;
constexpr int kCellWidth = 30;
constexpr int kCellHeight = 22;
constexpr int kGap = 3;
constexpr int kBandGap = 8;

QColor colourOf(services::HealthClass c) {
    const auto rgb = services::healthClassColour(c);
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace

HealthGrid::HealthGrid(QWidget* parent) : QWidget(parent) {
    setObjectName("healthGrid");
    setMouseTracking(false);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void HealthGrid::showHealth(const services::LineHealth* health) {
    health_ = health;
    int height = 0;
    layOut(width(), &cells_, &bands_, &height);
    updateGeometry();
    update();
}

void HealthGrid::select(int port, int address) {
    selected_ = std::pair{port, address};
    update();
}

void HealthGrid::layOut(int width, std::vector<Cell>* cells, std::vector<Band>* bands, int* height) const {
    cells->clear();
    bands->clear();
    int y = kGap;
    if (health_) {
        const int perRow = std::max(1, (width - kLabelWidth - kGap) / (kCellWidth + kGap));
        for (int port : health_->ports()) {
            const int top = y;
            int column = 0;
            for (const auto& s : health_->slaves()) {
                if (s.port != port)
                    continue;
                if (column == perRow) {
                    column = 0;
                    y += kCellHeight + kGap;
                }
                cells->push_back(
                    {QRect(kLabelWidth + column * (kCellWidth + kGap), y, kCellWidth, kCellHeight), &s});
                ++column;
            }
            y += kCellHeight;
            bands->push_back({port, QRect(0, top, width, y - top)});
            y += kBandGap;
        }
    }
    *height = y;
}

int HealthGrid::heightForWidth(int width) const {
    std::vector<Cell> cells;
    std::vector<Band> bands;
    int height = 0;
    layOut(width, &cells, &bands, &height);
    return std::max(height, kCellHeight + 2 * kGap);
}

QSize HealthGrid::sizeHint() const {
    const int width = kLabelWidth + 16 * (kCellWidth + kGap);
    return {width, heightForWidth(width)};
}

QRect HealthGrid::cellRect(int port, int address) const {
    for (const auto& c : cells_)
        if (c.slave->port == port && c.slave->address == address)
            return c.rect;
    return {};
}

const HealthGrid::Cell* HealthGrid::cellAt(const QPoint& at) const {
    for (const auto& c : cells_)
        if (c.rect.contains(at))
            return &c;
    return nullptr;
}

void HealthGrid::paintEvent(QPaintEvent*) {
    int height = 0;
    layOut(width(), &cells_, &bands_, &height);
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(palette().text().color());
    for (const auto& band : bands_)
        p.drawText(QRect(4, band.rect.top(), kLabelWidth - 8, kCellHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QString("COM%1").arg(band.port));
    for (const auto& c : cells_) {
        const QColor fill = colourOf(c.slave->health);
        p.fillRect(c.rect, fill);
        p.setPen(fill.lightness() > 140 ? Qt::black : Qt::white);
        p.drawText(c.rect, Qt::AlignCenter, QString::number(c.slave->address));
        if (!c.slave->reported) {
            // Not listed by the gateway: a dashed outline inside the cell.
            p.setPen(QPen(Qt::white, 1, Qt::DashLine));
            p.drawRect(c.rect.adjusted(2, 2, -3, -3));
        }
    }
    if (selected_) {
        const QRect r = cellRect(selected_->first, selected_->second);
        if (!r.isEmpty()) {
            p.setPen(QPen(palette().highlight().color(), 3));
            p.drawRect(r.adjusted(-2, -2, 1, 1));
        }
    }
}

void HealthGrid::mousePressEvent(QMouseEvent* event) {
    if (const Cell* c = cellAt(event->position().toPoint())) {
        select(c->slave->port, c->slave->address);
        emit slaveClicked(c->slave->port, c->slave->address);
    }
}

bool HealthGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const Cell* c = cellAt(help->pos()); c && health_)
            QToolTip::showText(help->globalPos(),
                               gui::shown(services::healthTooltip(*c->slave, health_->nowMs())), this,
                               c->rect);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
