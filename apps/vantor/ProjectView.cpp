#include "ProjectView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

ProjectView::ProjectView(vantor::model::CVantorDoc& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), scene_(doc) {
    setFixedSize(vantor::view::kSceneWidth, vantor::view::kSceneHeight);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void ProjectView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter_.paint(painter, scene_.draw());
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
