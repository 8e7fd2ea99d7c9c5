#include "HealthTrend.h"

#include <QPainter>

#include <algorithm>

using namespace vantor;

namespace {

QColor colourOf(services::HealthClass c) {
    const auto rgb = services::healthClassColour(c);
    return {rgb.r, rgb.g, rgb.b};
}

} // namespace

HealthTrend::HealthTrend(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HealthTrend::showSeries(const QString& caption, std::vector<services::CycleCounts> series,
                             std::size_t cycles) {
    caption_ = caption;
    series_ = std::move(series);
    cycles_ = std::max<std::size_t>(cycles, 1);
    update();
}

void HealthTrend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    const int captionHeight = 18;
    p.setPen(palette().text().color());
    p.drawText(QRect(6, 0, width() - 12, captionHeight), Qt::AlignLeft | Qt::AlignVCenter, caption_);

    // The plot: a middle axis; each cycle one column, its successes above
    // and its failures below, scaled to the largest count shown.
    const QRectF plot(36, captionHeight + 4, width() - 42, height() - captionHeight - 10);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    unsigned largest = 1;
    for (const auto& c : series_)
        largest = std::max({largest, c.successes, c.failures});
    const double middle = plot.top() + plot.height() / 2;
    const double half = plot.height() / 2 - 1;
    p.setPen(palette().mid().color());
    p.drawRect(plot);
    p.drawLine(QPointF(plot.left(), middle), QPointF(plot.right(), middle));
    p.setPen(palette().text().color());
    p.drawText(QRectF(0, plot.top() - 2, 32, 14), Qt::AlignRight | Qt::AlignTop, QString::number(largest));
    p.drawText(QRectF(0, plot.bottom() - 12, 32, 14), Qt::AlignRight | Qt::AlignBottom,
               QString::number(largest));
    p.drawText(QRectF(0, middle - 7, 32, 14), Qt::AlignRight | Qt::AlignVCenter, "0");

    const double column = plot.width() / static_cast<double>(cycles_);
    const double bar = std::max(1.0, column - (column > 3 ? 1 : 0));
    const std::size_t shown = std::min(series_.size(), cycles_);
    const QColor up = colourOf(services::HealthClass::Online);
    const QColor down = colourOf(services::HealthClass::Timeout);
    for (std::size_t k = 0; k < shown; ++k) {
        const auto& c = series_[series_.size() - shown + k];
        const double x = plot.right() - static_cast<double>(shown - k) * column;
        if (c.successes > 0)
            p.fillRect(QRectF(x, middle - half * c.successes / largest, bar, half * c.successes / largest),
                       up);
        if (c.failures > 0)
            p.fillRect(QRectF(x, middle, bar, half * c.failures / largest), down);
    }
}
