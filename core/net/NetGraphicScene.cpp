#include "net/NetGraphicScene.h"

#include <algorithm>
#include <cstdlib>

namespace vantor::net {
namespace {

using view::Point;
using view::Primitive;
using view::Rgb;

const Rgb kBlue{0, 0, 255};
const Rgb kDarkBlue{0, 0, 128};
const Rgb kYellow{255, 255, 0};
const Rgb kRed{255, 0, 0};
constexpr int kNarrowCharWidth = 4;

// An icon stretched to 70 x 40, with the red "缺少图片" in its place when
// the file cannot be read.
Primitive icon(int x, int y, const std::string& file) {
    Primitive p = view::picture({x, y}, "BITMAP/" + file, kNetIconWidth, kNetIconHeight, {});
    Primitive missing = view::text({x, y}, kMissingPicture, kRed, 40);
    missing.fontFamily = "Arial";
    missing.bold = true;
    p.fallback.push_back(std::move(missing));
    return p;
}

Primitive name(int x, int y, const std::string& s) {
    return view::text({x, y - 15}, s, kBlue, 15);
}

} // namespace

std::vector<Point> netConnector(int x, int y, const CBus& bus) {
    const int centre = x + kNetIconWidth / 2;
    // The icon's edge that faces the bus.
    const int edge = y + kNetIconHeight <= bus.y ? y + kNetIconHeight : y;
    const int end = bus.x + bus.length;
    if (centre >= bus.x && centre <= end)
        return {{centre, edge}, {centre, bus.y}};
    const int half = (edge + bus.y) / 2;
    const int nearer = std::abs(centre - bus.x) <= std::abs(centre - end) ? bus.x : end;
    return {{centre, edge}, {centre, half}, {nearer, half}, {nearer, bus.y}};
}

std::vector<Primitive> NetGraphicScene::draw() const {
    std::vector<Primitive> out;
    const CBus& bus = doc_.bus;
    out.push_back(view::polyline({{bus.x, bus.y}, {bus.x + bus.length, bus.y}}, 7, kBlue));
    out.push_back(view::text({bus.x + bus.length / 2 - 30, bus.y - 25}, "EtherNet", kDarkBlue, 20));

    if (!doc_.masters.empty()) {
        const CMaster& g = doc_.masters.front();
        out.push_back(view::polyline(netConnector(g.x, g.y, bus), 2, kBlue));
        // Whatever the gateway's bitmap field says, its icon is "master".
        out.push_back(icon(g.x, g.y, "master.bmp"));
        out.push_back(name(g.x, g.y, g.masterName));
    }
    for (const CSlave& s : doc_.slaves) {
        out.push_back(view::polyline(netConnector(s.x, s.y, bus), 2, kBlue));
        out.push_back(icon(s.x, s.y, s.picture));
        out.push_back(name(s.x, s.y, s.name));
        // Endpoint and unit address left of the icon, in the narrow face
        // (4 pixels a character) that ends them at the icon's edge.
        out.push_back(view::text({s.x - 60, s.y + 13}, s.ipadd + ":" + std::to_string(s.port), kBlue, 15));
        out.back().charWidth = kNarrowCharWidth;
        if (!s.nodes.empty()) {
            out.push_back(
                view::text({s.x - 30, s.y + 3}, std::to_string(s.nodes.front().address), kBlue, 15));
            out.back().charWidth = kNarrowCharWidth;
        }
    }

    if (doc_.currentSelect == CVantorNetDoc::kSelectGateway && !doc_.masters.empty()) {
        const CMaster& g = doc_.masters.front();
        out.push_back(view::polyline({{g.x, g.y + 41}, {g.x + kNetIconWidth, g.y + 41}}, 2, kYellow));
    } else if (const int s = doc_.selectedSlave(); s >= 0) {
        const CSlave& slave = doc_.slaves[static_cast<std::size_t>(s)];
        out.push_back(
            view::polyline({{slave.x, slave.y + 42}, {slave.x + kNetIconWidth, slave.y + 42}}, 2, kYellow));
    }
    return out;
}

bool NetGraphicScene::hitBus(Point p) const {
    const CBus& b = doc_.bus;
    return view::inside(p, b.x, b.y - 3, b.x + b.length, b.y + 3);
}

bool NetGraphicScene::hitGateway(Point p) const {
    return std::any_of(doc_.masters.begin(), doc_.masters.end(), [p](const CMaster& g) {
        return view::inside(p, g.x, g.y, g.x + kNetIconWidth, g.y + kNetIconHeight);
    });
}

int NetGraphicScene::hitServer(Point p) const {
    int hit = -1;
    for (std::size_t i = 0; i < doc_.slaves.size(); ++i) {
        const CSlave& s = doc_.slaves[i];
        if (view::inside(p, s.x, s.y, s.x + kNetIconWidth, s.y + kNetIconHeight))
            hit = static_cast<int>(i);
    }
    return hit;
}

int NetGraphicScene::press(Point p) {
    doc_.currentSelect = CVantorNetDoc::kSelectNothing;
    if (hitBus(p))
        doc_.currentSelect = CVantorNetDoc::kSelectBus;
    if (hitGateway(p))
        doc_.currentSelect = CVantorNetDoc::kSelectGateway;
    if (const int s = hitServer(p); s >= 0)
        doc_.currentSelect = CVantorNetDoc::slaveSelection(s);
    return doc_.currentSelect;
}

bool NetGraphicScene::rightPress(Point p) {
    if (hitGateway(p))
        doc_.currentSelect = CVantorNetDoc::kSelectGateway;
    if (const int s = hitServer(p); s >= 0)
        doc_.currentSelect = CVantorNetDoc::slaveSelection(s);
    return doubleClickTarget() != Opens::Nothing;
}

NetGraphicScene::Opens NetGraphicScene::doubleClickTarget() const {
    if (doc_.selectedSlave() >= 0)
        return Opens::ServerProperties;
    if (doc_.currentSelect == CVantorNetDoc::kSelectGateway && !doc_.masters.empty())
        return Opens::GatewaySettings;
    return Opens::Nothing;
}

Point NetGraphicScene::extent() const {
    constexpr int kMargin = 100;
    int right = doc_.bus.x + doc_.bus.length;
    int bottom = doc_.bus.y;
    for (const CMaster& g : doc_.masters) {
        right = std::max(right, g.x + kNetIconWidth);
        bottom = std::max(bottom, g.y + kNetIconHeight);
    }
    for (const CSlave& s : doc_.slaves) {
        right = std::max(right, s.x + kNetIconWidth);
        bottom = std::max(bottom, s.y + kNetIconHeight);
    }
    return {std::max(right + kMargin, 1200), std::max(bottom + kMargin, 600)};
}

} // namespace vantor::net
