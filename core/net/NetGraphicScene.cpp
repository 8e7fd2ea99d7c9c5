#include "net/NetGraphicScene.h"

#include "text/Shown.h"

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

// Label bands: names in the drawing's 15-pixel face 15 pixels above the
// icon; endpoint and unit address in the 12-pixel face of the windows, one
// under the other below the selection line.
constexpr int kNameHeight = 15;
constexpr int kDetailHeight = 12;
constexpr int kDetailPitch = 15;  // the 12-pixel face's line height
constexpr int kDetailTop = 44;    // below the icon (40) and its selection line (41..43)
constexpr int kLabelRoom = 200;   // the widest endpoint, 255.255.255.255:65535
constexpr int kCaptionRoom = 100; // "EtherNet" in the 20-pixel face
constexpr int kLabelGap = 4;      // between a room and what follows it
constexpr int kSmallestRoom = 12; // less shows not even an ellipsis

struct Box {
    int left, top, right, bottom;
    bool sharesBand(const Box& o) const { return top < o.bottom && o.top < bottom; }
};

Box iconBox(int x, int y) {
    return {x, y, x + kNetIconWidth, y + kNetIconHeight};
}

std::string endpointText(const CSlave& s) {
    return s.ipadd + ":" + std::to_string(s.port);
}

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
    if (!doc_.masters.empty()) {
        const CMaster& g = doc_.masters.front();
        out.push_back(view::polyline(netConnector(g.x, g.y, bus), 2, kBlue));
        // Whatever the gateway's bitmap field says, its icon is "master".
        out.push_back(icon(g.x, g.y, "master.bmp"));
    }
    for (const CSlave& s : doc_.slaves) {
        out.push_back(view::polyline(netConnector(s.x, s.y, bus), 2, kBlue));
        out.push_back(icon(s.x, s.y, s.picture));
    }
    for (const NetLabel& l : labels()) {
        const bool caption = l.role == NetLabel::Role::BusCaption;
        const bool detail = l.role == NetLabel::Role::Endpoint || l.role == NetLabel::Role::UnitAddress;
        out.push_back(
            view::text(l.at, l.text, caption ? kDarkBlue : kBlue, detail ? kDetailHeight : l.height));
        out.back().maxWidth = l.width;
        if (detail)
            out.back().fontFamily = "Arial";
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

std::vector<NetLabel> NetGraphicScene::labels() const {
    using Role = NetLabel::Role;
    // What no label may cover: the bus and every icon.
    const CBus& bus = doc_.bus;
    std::vector<Box> fixed{{bus.x, bus.y - 3, bus.x + bus.length, bus.y + 4}};
    for (const CMaster& g : doc_.masters)
        fixed.push_back(iconBox(g.x, g.y));
    for (const CSlave& s : doc_.slaves)
        fixed.push_back(iconBox(s.x, s.y));

    // Every label at its place with its widest room, in order of precedence.
    std::vector<NetLabel> wanted;
    auto want = [&](Role role, int server, Point at, int room, int height, std::string text) {
        wanted.push_back({role, server, at, room, height, std::move(text)});
    };
    want(Role::BusCaption, -1, {bus.x + bus.length / 2 - 30, bus.y - 25}, kCaptionRoom, 20, "EtherNet");
    if (!doc_.masters.empty()) {
        const CMaster& g = doc_.masters.front();
        want(Role::GatewayName, -1, {g.x, g.y - kNameHeight}, kLabelRoom, kNameHeight, g.masterName);
    }
    for (std::size_t i = 0; i < doc_.slaves.size(); ++i) {
        const CSlave& s = doc_.slaves[i];
        const int server = static_cast<int>(i);
        want(Role::ServerName, server, {s.x, s.y - kNameHeight}, kLabelRoom, kNameHeight, s.name);
        want(Role::Endpoint, server, {s.x, s.y + kDetailTop}, kLabelRoom, kDetailPitch, endpointText(s));
        if (!s.nodes.empty())
            want(Role::UnitAddress, server, {s.x, s.y + kDetailTop + kDetailPitch}, kLabelRoom, kDetailPitch,
                 std::to_string(s.nodes.front().address));
    }
    auto box = [](const NetLabel& l) { return Box{l.at.x, l.at.y, l.at.x + l.width, l.at.y + l.height}; };

    // A label that starts on an icon or the bus, or where an earlier label
    // of its band starts, is left out.
    std::vector<bool> shown(wanted.size(), true);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const Box b = box(wanted[i]);
        for (const Box& f : fixed)
            if (b.sharesBand(f) && f.left <= b.left && b.left < f.right)
                shown[i] = false;
        for (std::size_t j = 0; j < i && shown[i]; ++j)
            if (shown[j] && wanted[j].at.x == b.left && b.sharesBand(box(wanted[j])))
                shown[i] = false;
    }
    // Each room ends before the next icon or label that starts to its right
    // in its band.
    std::vector<NetLabel> out;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!shown[i])
            continue;
        const Box b = box(wanted[i]);
        int right = b.right;
        for (const Box& f : fixed)
            if (b.sharesBand(f) && f.left > b.left)
                right = std::min(right, f.left - kLabelGap);
        for (std::size_t j = 0; j < wanted.size(); ++j)
            if (j != i && shown[j] && wanted[j].at.x > b.left && b.sharesBand(box(wanted[j])))
                right = std::min(right, wanted[j].at.x - kLabelGap);
        if (right - b.left < kSmallestRoom)
            continue;
        out.push_back(wanted[i]);
        out.back().width = right - b.left;
    }
    return out;
}

std::string NetGraphicScene::tooltipAt(Point p) const {
    int hit = hitServer(p);
    for (const NetLabel& l : labels())
        if (l.server > hit && view::inside(p, l.at.x, l.at.y, l.at.x + l.width, l.at.y + l.height))
            hit = l.server;
    if (hit < 0)
        return {};
    const CSlave& s = doc_.slaves[static_cast<std::size_t>(hit)];
    std::string tip = s.name + "\n" + endpointText(s);
    if (!s.nodes.empty())
        tip += "\n" + text::shownFormat(VT_TEXT("从站MOD地址: %d"), s.nodes.front().address);
    return tip;
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
    for (const NetLabel& l : labels()) {
        right = std::max(right, l.at.x + l.width);
        bottom = std::max(bottom, l.at.y + l.height);
    }
    return {std::max(right + kMargin, 1200), std::max(bottom + kMargin, 600)};
}

} // namespace vantor::net
