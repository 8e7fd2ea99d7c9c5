#include "ProjectView.h"

#include "DataFiles.h"
#include "QtMessageSink.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

using vantor::view::Primitive;

ProjectView::ProjectView(vantor::model::CVantorDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), scene_(doc) {
    setFixedSize(vantor::view::kSceneWidth, vantor::view::kSceneHeight);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

const QPixmap* ProjectView::picture(const Primitive& p) {
    const QString file = QString::fromStdString(p.text);
    auto it = pictures_.find(file);
    if (it == pictures_.end()) {
        // The scene names pictures below the data directory ("BITMAP/...").
        const QString found = QFileInfo(file).isAbsolute() ? file : vantor::gui::dataFile(file);
        QPixmap pixmap;
        if (QFileInfo::exists(found))
            pixmap.load(found);
        if (!pixmap.isNull())
            pixmap = pixmap.scaled(p.pictureWidth, p.pictureHeight, Qt::IgnoreAspectRatio,
                                   Qt::SmoothTransformation);
        it = pictures_.insert(file, pixmap);
    }
    if (it->isNull()) {
        if (!reportedMissing_.contains(file)) {
            reportedMissing_.insert(file);
            // Shown after the paint, never from inside it.
            const std::string message = p.missingMessage;
            QTimer::singleShot(0, this,
                               [this, message] { vantor::gui::QtMessageSink(this).error("错误", message); });
        }
        return nullptr;
    }
    return &*it;
}

void ProjectView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Primitive& p : scene_.draw()) {
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
            QFont font("Times");
            font.setPixelSize(p.textHeight);
            font.setWeight(QFont::Normal);
            painter.setFont(font);
            painter.setPen(colour);
            const QFontMetrics metrics(font);
            QString shown = QString::fromStdString(p.text);
            if (p.maxWidth > 0)
                shown = metrics.elidedText(shown, Qt::ElideRight, p.maxWidth);
            painter.drawText(p.points[0].x, p.points[0].y + metrics.ascent(), shown);
            break;
        }
        case Primitive::Kind::Picture:
            if (const QPixmap* pixmap = picture(p))
                painter.drawPixmap(p.points[0].x, p.points[0].y, *pixmap);
            break;
        }
    }
}

void ProjectView::mousePressEvent(QMouseEvent* e) {
    const vantor::view::Point at{e->position().toPoint().x(), e->position().toPoint().y()};
    if (e->button() == Qt::LeftButton) {
        scene_.press(at);
        emit selectionChanged();
        update();
    } else if (e->button() == Qt::RightButton) {
        bool any = scene_.rightPress(at);
        emit selectionChanged();
        update();
        if (any)
            emit contextMenuRequested(e->globalPosition().toPoint());
    }
}

void ProjectView::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() != Qt::LeftButton)
        return;
    const QPoint p = e->position().toPoint();
    if (scene_.drag({p.x(), p.y()})) {
        dragging_ = true;
        emit modified();
        update();
    }
}

void ProjectView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    emit modified();
}

bool ProjectView::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    const QPoint p = static_cast<QHelpEvent*>(e)->pos();
    const int slave = scene_.slaveAt({p.x(), p.y()});
    if (slave >= 0)
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(),
                           QString::fromStdString(doc_.slaves[static_cast<std::size_t>(slave)].name), this);
    else
        QToolTip::hideText();
    return true;
}

void ProjectView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    emit doubleClicked(scene_.doubleClickTarget());
    update();
}
