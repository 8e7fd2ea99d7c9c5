#pragma once
// The project drawing as a list of primitives, plus the mouse rules of the
// drawing (hit tests, dragging). The window paints the primitives as they
// come and forwards mouse events here; every coordinate is logical (the
// 6000 x 1000 drawing area, scroll position already added).
#include "model/CVantorDoc.h"
#include "view/Primitives.h"

#include <string>
#include <vector>

namespace vantor::view {

inline constexpr int kSceneWidth = 6000;
inline constexpr int kSceneHeight = 1000;
inline constexpr int kGatewayWidth = 130;
inline constexpr int kSlaveWidth = 50;
inline constexpr int kSlaveHeight = 41;

// Height of the gateway picture for a model.
int gatewayPictureHeight(const std::string& model);

// Port k (0 = COM1) height on the gateway's edges.
int gatewayPortY(const model::CMaster& gateway, int port);

// Where a slave can lie and still be seen and grabbed: its picture at least
// partly inside the drawing area.
inline constexpr int kSlaveXMin = 1 - kSlaveWidth;
inline constexpr int kSlaveXMax = kSceneWidth - 1;
inline constexpr int kSlaveYMin = 1 - kSlaveHeight;
inline constexpr int kSlaveYMax = kSceneHeight - 1;

// The line fit after a slave of `line` was dropped: the line starts left of
// its leftmost slave and reaches 80 past its rightmost one (at least 260
// long). Nothing for a line without slaves.
void fitLine(model::CVantorDoc& doc, int line);
// Whether every slave of `line` lies along it, as the fit leaves them.
bool lineHoldsSlaves(const model::CVantorDoc& doc, int line);

class GraphicScene {
public:
    explicit GraphicScene(model::CVantorDoc& doc) : doc_(doc) {}

    // The line fit of the selected line (or of the selected slave's line),
    // applied to the model, then the primitives in drawing order.
    std::vector<Primitive> draw();

    // Left button down at a logical point: selects (slaves over lines over the
    // gateway) and records the grab offset of a hit line. Answers the new
    // selected item index (-1 for nothing).
    int press(Point p);
    // Mouse move with the left button: moves the selected item. True when
    // something moved (the document is then marked modified).
    bool drag(Point p);
    // Right button down: slaves, then the gateway, then lines are tested and a
    // hit selects, without clearing the previous selection first. True when
    // the selection names any item afterwards (the context menu opens).
    bool rightPress(Point p);

    // What a double-click would open for the current selection.
    enum class Opens { Nothing, SlaveProperties, GatewayInformation, ComProperties };
    Opens doubleClickTarget() const;

    // The slave whose picture lies under a logical point, or -1.
    int slaveAt(Point p) const { return hitSlave(p); }

    // The width a slave's name may take: up to the next slave to its right
    // on the same line, less a gap; 0 when no slave follows.
    int nameSlotWidth(std::size_t slave) const;

private:
    void fitSelectedLine();
    int hitSlave(Point p) const;
    bool hitGateway(Point p) const;
    int hitLine(Point p) const;

    model::CVantorDoc& doc_;
    Point grab_;
};

} // namespace vantor::view
