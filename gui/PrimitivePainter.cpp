#include "PrimitivePainter.h"

#include "DataFiles.h"
#include "QtMessageSink.h"
#include "QtText.h"

#include <QFileInfo>
#include <QPainter>
#include <QPolygon>
#include <QTextLayout>
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
        QTimer::singleShot(0, owner, [owner, message] { QtMessageSink(owner).error(message); });
    }
    return nullptr;
}

const PrimitivePainter::TextLayout& PrimitivePainter::textLayout(const Primitive& p) {
    std::string key = p.fontFamily + '\n' + std::to_string(p.textHeight) + (p.bold ? "b/" : "/") +
                      std::to_string(p.maxWidth) + '\n' + p.text;
    auto [it, added] = texts_.try_emplace(std::move(key));
    TextLayout& layout = it->second;
    layout.frame = frame_;
    if (!added)
        return layout;
    ++layoutsMade_;
    QFont font(QString::fromStdString(p.fontFamily));
    font.setPixelSize(p.textHeight);
    font.setWeight(p.bold ? QFont::Bold : QFont::Normal);
    const QFontMetrics metrics(font);
    // A label the core gives is drawn in the user's language; names stay
    // as they are (the catalogue has no entry for them).
    QString text = shown(p.text);
    if (p.maxWidth > 0)
        text = metrics.elidedText(text, Qt::ElideRight, p.maxWidth);
    QTextLayout shaped(text, font);
    shaped.beginLayout();
    const QTextLine line = shaped.createLine();
    shaped.endLayout(); // lays the line out: its ascent is known from here on
    // The layout puts its baseline at the ascent of the tallest font it uses;
    // the runs are moved onto the baseline itself, where drawText puts it
    // (the primary font's ascent below the top).
    layout.glyphs = shaped.glyphRuns();
    for (QGlyphRun& run : layout.glyphs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& at : positions)
            at.ry() -= line.ascent();
        run.setPositions(positions);
    }
    layout.ascent = metrics.ascent();
    return layout;
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
        const TextLayout& layout = textLayout(p);
        painter.setPen(colour);
        // Glyph runs carry their own fonts: no font change on the painter.
        for (const QGlyphRun& run : layout.glyphs)
            painter.drawGlyphRun(QPointF(p.points[0].x, p.points[0].y + layout.ascent), run);
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
    ++frame_;
    for (const Primitive& p : primitives)
        paintOne(painter, p);
    // Keep only what this paint drew: renamed or moved texts do not pile up.
    std::erase_if(texts_, [this](const auto& entry) { return entry.second.frame != frame_; });
}

} // namespace vantor::gui
