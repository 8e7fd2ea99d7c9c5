#pragma once
// The drawing of the project: paints what the core's graphic scene lists and
// hands mouse events to it. Lives inside a scroll area over the 6000 x 1000
// drawing area.
#include "PrimitivePainter.h"
#include "view/GraphicScene.h"

#include <QWidget>

class ProjectView : public QWidget {
    Q_OBJECT
public:
    ProjectView(vantor::model::CVantorDoc& doc, QWidget* parent = nullptr);

signals:
    // After every click: the module list follows the selection.
    void selectionChanged();
    void modified();
    void doubleClicked(vantor::view::GraphicScene::Opens target);
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    // The end of a drag: `modified` once more, now with dragging() false.
    void mouseReleaseEvent(QMouseEvent*) override;
    // A slave's whole name as a tooltip (the drawing may elide it).
    bool event(QEvent*) override;

public:
    // A drag is under way (the left button moved something and is still down).
    bool dragging() const { return dragging_; }

private:
    bool dragging_ = false;

    vantor::model::CVantorDoc& doc_;
    vantor::view::GraphicScene scene_;
    // A missing picture is reported once per file, not at every repaint.
    vantor::gui::PrimitivePainter painter_{this};
};
