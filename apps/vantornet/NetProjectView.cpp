#include "NetProjectView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

NetProjectView::NetProjectView(vantor::net::CVantorNetDoc& doc, QWidget* parent)
    : QWidget(parent), scene_(doc) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    refresh();
}

void NetProjectView::refresh() {
    const vantor::view::Point size = scene_.extent();
    if (width() != size.x || height() != size.y)
        setFixedSize(size.x, size.y);
    painter_.forgetPictures();
    update();
}

void NetProjectView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter_.paint(painter, scene_.draw());
}

void NetProjectView::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) {
        scene_.press({p.x(), p.y()});
        emit selectionChanged();
        update();
    } else if (e->button() == Qt::RightButton) {
        const bool any = scene_.rightPress({p.x(), p.y()});
        emit selectionChanged();
        update();
        if (any)
            emit contextMenuRequested(e->globalPosition().toPoint());
    }
}

void NetProjectView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton)
        return;
    emit doubleClicked(scene_.doubleClickTarget());
    update();
}

bool NetProjectView::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip)
        return QWidget::event(e);
    auto* help = static_cast<QHelpEvent*>(e);
    const std::string tip = scene_.tooltipAt({help->pos().x(), help->pos().y()});
    if (tip.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this);
    return true;
}
