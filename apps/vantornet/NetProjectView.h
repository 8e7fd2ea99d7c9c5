#pragma once
// The VantorNet drawing: paints what the core's scene lists and hands mouse
// events to it. Lives inside a scroll area; its size follows the project.
#include "PrimitivePainter.h"
#include "net/NetGraphicScene.h"

#include <QWidget>

class NetProjectView : public QWidget {
    Q_OBJECT
public:
    NetProjectView(vantor::net::CVantorNetDoc& doc, QWidget* parent = nullptr);
    // After an edit: the size follows the project, then a repaint.
    void refresh();

signals:
    // After every click: the module list follows the selection.
    void selectionChanged();
    void doubleClicked(vantor::net::NetGraphicScene::Opens target);
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    // A server's whole name, endpoint and unit address as a tooltip (the
    // drawing may elide them).
    bool event(QEvent*) override;

private:
    vantor::net::NetGraphicScene scene_;
    vantor::gui::PrimitivePainter painter_{this};
};
