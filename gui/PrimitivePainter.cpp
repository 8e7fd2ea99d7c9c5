#include "PrimitivePainter.h"

#include "DataFiles.h"
#include "QtMessageSink.h"

#include <QFileInfo>
#include <QPainter>
#include <QPolygon>
#include <QTimer>
#include <QWidget>

namespace vantor::gui {

using view::Primitive;

const QPixmap* PrimitivePainter::picture(const Primitive& p) {
    const QString file = QString::fromStdString(p.text);
    const QString key = file + QString("@%1x%2").arg(p.pictureWidth).arg(p.pictureHeight);
    auto it = pictures_.find(key);
    if (it == pictures_.end()) {
        // Scenes name pictures below the data directory ("BITMAP/...").
        const QString found = QFileInfo(file).isAbsolute() ? file : dataFile(file);
        QPixmap pixmap;
        if (QFileInfo(found).isFile())
            pixmap.load(found);
        if (!pixmap.isNull())
            pixmap = pixmap.scaled(p.pictureWidth, p.pictureHeight, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
        it = pictures_.insert(key, pixmap);
    }
    if (!it->isNull())
        return &*it;
    if (!p.missingMessage.empty() && !reportedMissing_.contains(file)) {
        reportedMissing_.insert(file);
        const std::string message = p.missingMessage;
        QWidget* owner = owner_;
        QTimer::singleShot(0, owner, [owner, message] { QtMessageSink(owner).error("错误", message); });
    }
    return nullptr;
}

void PrimitivePainter::paintOne(QPainter& painter, const Primitive& p) {
    const QColor colour(p.colour.r, p.colour.g, p.colour.b);
    switch (p.kind) {
    case Primitive::Kind::Polyline: {
        painter.setPen(QPen(colour, p.width));
        QPolygon poly;
        for (const auto& pt : p.points)
            poly << QPoint(pt.x, pt.y);
        painter.drawPolyline(poly);
        break;
    }
    case Primitive::Kind::Text: {
        QFont font(QString::fromStdString(p.fontFamily));
        font.setPixelSize(p.textHeight);
        font.setWeight(p.bold ? QFont::Bold : QFont::Normal);
        painter.setFont(font);
        painter.setPen(colour);
        const QFontMetrics metrics(font);
        QString shown = QString::fromStdString(p.text);
        if (p.maxWidth > 0)
            shown = metrics.elidedText(shown, Qt::ElideRight, p.maxWidth);
        const int natural = metrics.horizontalAdvance(shown);
        if (p.charWidth > 0 && natural > 0) {
            // A narrow face: the text squeezed (or widened) to its width.
            painter.save();
            painter.translate(p.points[0].x, p.points[0].y);
            painter.scale(static_cast<double>(p.charWidth) * static_cast<double>(shown.size()) / natural,
                          1.0);
            painter.drawText(0, metrics.ascent(), shown);
            painter.restore();
        } else {
            painter.drawText(p.points[0].x, p.points[0].y + metrics.ascent(), shown);
        }
        break;
    }
    case Primitive::Kind::Picture:
        if (const QPixmap* pixmap = picture(p))
            painter.drawPixmap(p.points[0].x, p.points[0].y, *pixmap);
        else
            for (const Primitive& f : p.fallback)
                paintOne(painter, f);
        break;
    }
}

void PrimitivePainter::paint(QPainter& painter, const std::vector<Primitive>& primitives) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& p : primitives)
        paintOne(painter, p);
}

} // namespace vantor::gui
