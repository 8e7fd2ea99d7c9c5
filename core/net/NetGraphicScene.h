#pragma once
// The VantorNet drawing as primitives, and its mouse rules: the EtherNet
// bus, the gateway's icon above it, the servers' icons below it, each joined
// to the bus, and the hit tests of the selection. Coordinates are logical
// (scroll position already added).
#include "net/CVantorNetDoc.h"
#include "text/Shown.h"
#include "view/Primitives.h"

#include <string>
#include <vector>

namespace vantor::net {

inline constexpr int kNetIconWidth = 70;
inline constexpr int kNetIconHeight = 40;
inline constexpr const char* kMissingPicture = VT_TEXT("缺少图片");

// A text of the drawing with the room it may take: the bus caption, the
// gateway's name, and each server's name above its icon and its endpoint
// (IP:port) and unit address under it. The room is the band from `at`,
// `width` wide and `height` high; a longer text is elided to the width.
struct NetLabel {
    enum class Role { BusCaption, GatewayName, ServerName, Endpoint, UnitAddress };
    Role role = Role::ServerName;
    int server = -1; // the server a label belongs to, -1 for the bus and the gateway
    view::Point at;
    int width = 0;
    int height = 0;
    std::string text;
};

// The blue line joining an icon at (x, y) to the bus: straight up or down
// from the icon's centre when that lies over the bus, otherwise half-way
// towards the bus, along to the nearer bus end, then onto the bus.
std::vector<view::Point> netConnector(int x, int y, const CBus& bus);

class NetGraphicScene {
public:
    explicit NetGraphicScene(CVantorNetDoc& doc) : doc_(doc) {}

    // Bus, gateway, servers, then the selection line, in painting order.
    std::vector<view::Primitive> draw() const;

    // Left button down: the bus, the gateway or a server under the point (a
    // later one over an earlier one), else nothing. Answers currentSelect.
    int press(view::Point p);
    // Right button down: a server or the gateway under the point becomes
    // the selection (the previous one stays otherwise). True when a server
    // or the gateway is selected afterwards (the menu with "删除" opens).
    bool rightPress(view::Point p);

    // What a double-click opens for the current selection.
    enum class Opens { Nothing, GatewaySettings, ServerProperties };
    Opens doubleClickTarget() const;

    // The area the drawing needs: every icon, text and the bus with a
    // margin, never smaller than a screenful.
    view::Point extent() const;

    // The labels that are drawn, each in a room that overlaps no icon, the
    // bus and no other label: a room ends before whatever starts to its
    // right in the same band; a label that would start on an icon or the
    // bus, or on another label's start, is not drawn (its server's tooltip
    // still tells it).
    std::vector<NetLabel> labels() const;

    // The whole name, endpoint and unit address of the server whose icon or
    // label lies under the point (a later one over an earlier one), one a
    // line; empty elsewhere.
    std::string tooltipAt(view::Point p) const;

private:
    int hitServer(view::Point p) const;
    bool hitGateway(view::Point p) const;
    bool hitBus(view::Point p) const;

    CVantorNetDoc& doc_;
};

} // namespace vantor::net
