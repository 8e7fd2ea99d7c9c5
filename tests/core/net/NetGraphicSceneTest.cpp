// The VantorNet drawing without a window: the connector geometry, what is
// painted for gateway and servers, the selection line, and the hit tests of
// the mouse.
#include "net/NetGraphicScene.h"

#include "NetFixtures.h"
#include "PrimitiveQueries.h"
#include "net/NetProjectFile.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::net;
using vantor::net::testing::project;
using vantor::net::testing::server;
using vantor::testing::findText;
using vantor::testing::ofKind;
using view::Point;
using view::Primitive;

namespace {

CSlave placed(const std::string& ip, int x, int y) {
    CSlave s = server(ip, 502, 7);
    s.x = x;
    s.y = y;
    s.picture = "plc.bmp";
    return s;
}

} // namespace

TEST(NetConnector, JoinsAnIconToTheBus) {
    const CBus bus{150, 150, 400};
    struct Case {
        const char* what;
        int x, y;
        std::vector<Point> expected;
    };
    const Case cases[] = {
        {"gateway above the bus: straight down from the bottom edge", 200, 50, {{235, 90}, {235, 150}}},
        {"server below the bus: straight up from the top edge", 200, 220, {{235, 220}, {235, 150}}},
        {"centre exactly over the bus start", 115, 220, {{150, 220}, {150, 150}}},
        {"centre exactly over the bus end", 515, 220, {{550, 220}, {550, 150}}},
        {"left of the bus: half-way, along to the start, onto the bus",
         0,
         220,
         {{35, 220}, {35, 185}, {150, 185}, {150, 150}}},
        {"right of the bus: to the nearer end", 700, 220, {{735, 220}, {735, 185}, {550, 185}, {550, 150}}},
        {"right of the bus and above it", 700, 0, {{735, 40}, {735, 95}, {550, 95}, {550, 150}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(netConnector(c.x, c.y, bus), c.expected) << c.what;
}

TEST(NetGraphicScene, DrawsBusGatewayAndServers) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(placed("192.168.0.9", 200, 220));
    NetGraphicScene scene(doc);
    const std::vector<Primitive> all = scene.draw();

    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].kind, Primitive::Kind::Polyline);
    EXPECT_EQ(all[0].points, (std::vector<Point>{{150, 150}, {550, 150}}));
    EXPECT_EQ(all[0].width, 7);
    const Primitive* label = findText(all, "EtherNet");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->points[0], (Point{320, 125}));
    EXPECT_EQ(label->textHeight, 20);

    const std::vector<const Primitive*> pictures = ofKind(all, Primitive::Kind::Picture);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->text, "BITMAP/master.bmp") << "the gateway's icon whatever its bitmap field says";
    EXPECT_EQ(pictures[1]->text, "BITMAP/plc.bmp");
    for (const Primitive* p : pictures) {
        EXPECT_EQ(p->pictureWidth, 70);
        EXPECT_EQ(p->pictureHeight, 40);
        ASSERT_EQ(p->fallback.size(), 1u) << "a missing file is replaced, not reported";
        EXPECT_EQ(p->fallback[0].text, "缺少图片");
        EXPECT_EQ(p->fallback[0].fontFamily, "Arial");
        EXPECT_TRUE(p->fallback[0].bold);
        EXPECT_EQ(p->fallback[0].colour, (view::Rgb{255, 0, 0}));
        EXPECT_TRUE(p->missingMessage.empty());
    }

    const Primitive* gatewayName = findText(all, "KX-P1-1.0");
    ASSERT_TRUE(gatewayName);
    EXPECT_EQ(gatewayName->points[0], (Point{200, 35}));
    const Primitive* endpoint = findText(all, "192.168.0.9:502");
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(endpoint->points[0], (Point{200, 264})) << "under the icon and its selection line";
    EXPECT_EQ(endpoint->charWidth, 0) << "in a normal face";
    EXPECT_EQ(endpoint->textHeight, 12);
    const Primitive* unit = findText(all, "7");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->points[0], (Point{200, 279}));
    EXPECT_EQ(ofKind(all, Primitive::Kind::Text).size(), 5u) << "EtherNet, two names, endpoint, unit address";
}

// What the drawing paints, as boxes: every text in the room it is elided to
// (its band as high as its face), every icon, and the bus.
struct Painted {
    struct Box {
        int left, top, right, bottom;
        bool meets(const Box& o) const {
            return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
        }
    };
    std::vector<std::pair<std::string, Box>> texts;
    std::vector<Box> solid;

    explicit Painted(const std::vector<Primitive>& all) {
        for (const Primitive& p : all) {
            const Point at = p.points[0];
            if (p.kind == Primitive::Kind::Text)
                texts.push_back({p.text, {at.x, at.y, at.x + p.maxWidth, at.y + p.textHeight}});
            else if (p.kind == Primitive::Kind::Picture)
                solid.push_back({at.x, at.y, at.x + p.pictureWidth, at.y + p.pictureHeight});
            else if (p.width == 7)
                solid.push_back({at.x, at.y - 3, p.points[1].x, at.y + 4});
        }
    }
};

TEST(NetGraphicScene, LabelsReadableAndClearOfIconsAndEachOther) {
    CVantorNetDoc demo;
    std::string error;
    ASSERT_TRUE(NetProjectFile::open(demo, std::string(VANTOR_DATA_DIR) + "/demo.vncfg", &error)) << error;
    auto dense = [](int dx, int dy, int count, const char* ip) {
        CVantorNetDoc doc = project("NXE-485-ZRTU2");
        for (int i = 0; i < count; ++i)
            doc.slaves.push_back(placed(ip, 160 + dx * i, 220 + dy * (i % 3)));
        for (auto& s : doc.slaves)
            s.name = "一个很长很长的从站名称";
        return doc;
    };
    CVantorNetDoc nearBus = dense(120, 0, 3, "192.168.1.200");
    nearBus.slaves[1].y = nearBus.bus.y - 60; // its labels would run over the bus
    struct Case {
        const char* what;
        CVantorNetDoc doc;
        std::size_t texts; // every label drawn: caption, gateway name, three per server (0: not checked)
    } cases[] = {
        {"the demo", demo, 2 + 3 * 3},
        {"31 servers 30 pixels apart, icons overlapping", dense(30, 0, 31, "255.255.255.255"), 2 + 3 * 31},
        {"icons 50 pixels apart in rows 45 pixels apart", dense(50, 45, 12, "10.0.0.1"), 0},
        {"icons stacked at one x", dense(0, 30, 3, "10.0.0.1"), 0},
        {"a server just above the bus", nearBus, 0},
    };
    for (const Case& c : cases) {
        const Painted painted(NetGraphicScene(const_cast<CVantorNetDoc&>(c.doc)).draw());
        if (c.texts) {
            EXPECT_EQ(painted.texts.size(), c.texts) << c.what;
        }
        for (std::size_t i = 0; i < painted.texts.size(); ++i) {
            const auto& [text, box] = painted.texts[i];
            EXPECT_GT(box.right, box.left) << c.what << ": " << text << " has no room to be elided to";
            EXPECT_GE(box.bottom - box.top, 12) << c.what << ": " << text << " in a tiny face";
            for (const auto& solid : painted.solid)
                EXPECT_FALSE(box.meets(solid)) << c.what << ": " << text << " over an icon or the bus";
            for (std::size_t j = i + 1; j < painted.texts.size(); ++j)
                EXPECT_FALSE(box.meets(painted.texts[j].second))
                    << c.what << ": " << text << " over " << painted.texts[j].first;
        }
    }
}

TEST(NetGraphicScene, LabelsUnderTheIconWithTheirRoomAndTooltip) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(placed("192.168.1.200", 200, 220));
    doc.slaves.push_back(placed("10.0.0.2", 320, 220));
    doc.slaves[0].name = "温度采集器";
    NetGraphicScene scene(doc);
    using Role = NetLabel::Role;
    struct Expected {
        Role role;
        int server;
        Point at;
        int width;
        const char* text;
    } expected[] = {
        {Role::BusCaption, -1, {320, 125}, 100, "EtherNet"},
        {Role::GatewayName, -1, {200, 35}, 200, "KX-P1-1.0"},
        {Role::ServerName, 0, {200, 205}, 116, "温度采集器"},
        {Role::Endpoint, 0, {200, 264}, 116, "192.168.1.200:502"},
        {Role::UnitAddress, 0, {200, 279}, 116, "7"},
        {Role::ServerName, 1, {320, 205}, 200, "S10.0.0.2"},
        {Role::Endpoint, 1, {320, 264}, 200, "10.0.0.2:502"},
        {Role::UnitAddress, 1, {320, 279}, 200, "7"},
    };
    const std::vector<NetLabel> labels = scene.labels();
    ASSERT_EQ(labels.size(), std::size(expected));
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].role, expected[i].role) << i;
        EXPECT_EQ(labels[i].server, expected[i].server) << i;
        EXPECT_EQ(labels[i].at, expected[i].at) << i;
        EXPECT_EQ(labels[i].width, expected[i].width) << i;
        EXPECT_EQ(labels[i].text, expected[i].text) << i;
    }
    const std::string first = "温度采集器\n192.168.1.200:502\n从站MOD地址: 7";
    EXPECT_EQ(scene.tooltipAt({210, 230}), first) << "over the icon";
    EXPECT_EQ(scene.tooltipAt({310, 270}), first) << "over its endpoint's room";
    EXPECT_EQ(scene.tooltipAt({317, 270}), "") << "in the gap before the next server";
    EXPECT_EQ(scene.tooltipAt({320, 210}), "S10.0.0.2\n10.0.0.2:502\n从站MOD地址: 7");
}

TEST(NetGraphicScene, MissingIconPictureAndServerWithoutNodes) {
    CVantorNetDoc doc = project("");
    CSlave s = placed("10.0.0.1", 300, 220);
    s.picture.clear();
    s.nodes.clear(); // a file may hold a server without units
    doc.slaves.push_back(s);
    const std::vector<Primitive> all = NetGraphicScene(doc).draw();
    EXPECT_EQ(findText(all, "7"), nullptr) << "no unit address without a node";
    bool emptyPicture = false;
    for (const auto& p : all)
        emptyPicture |= p.kind == Primitive::Kind::Picture && p.text == "BITMAP/";
    EXPECT_TRUE(emptyPicture) << "an empty picture name is painted as missing";
}

TEST(NetGraphicScene, SelectionLineUnderTheSelectedIcon) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(placed("10.0.0.1", 200, 220));
    struct Case {
        int select;
        std::vector<Point> line; // empty: no yellow line
    };
    const Case cases[] = {
        {CVantorNetDoc::kSelectNothing, {}},
        {CVantorNetDoc::kSelectBus, {}},
        {CVantorNetDoc::kSelectGateway, {{200, 91}, {270, 91}}},
        {CVantorNetDoc::slaveSelection(0), {{200, 262}, {270, 262}}},
        {CVantorNetDoc::slaveSelection(5), {}}, // a stored selection off the list
    };
    for (const auto& c : cases) {
        doc.currentSelect = c.select;
        std::vector<Point> yellow;
        for (const auto& p : NetGraphicScene(doc).draw())
            if (p.kind == Primitive::Kind::Polyline && p.colour == view::Rgb{255, 255, 0})
                yellow = p.points;
        EXPECT_EQ(yellow, c.line) << "selection " << c.select;
    }
}

TEST(NetGraphicScene, PressSelectsWhatLiesUnderThePoint) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(placed("10.0.0.1", 200, 220));
    doc.slaves.push_back(placed("10.0.0.2", 240, 220)); // overlaps the first
    NetGraphicScene scene(doc);
    struct Case {
        Point at;
        int selected;
    };
    const Case cases[] = {
        {{150, 147}, CVantorNetDoc::kSelectBus},        {{549, 152}, CVantorNetDoc::kSelectBus},
        {{550, 150}, CVantorNetDoc::kSelectNothing}, // right edge is outside
        {{300, 153}, CVantorNetDoc::kSelectNothing}, // below the bus band
        {{200, 50}, CVantorNetDoc::kSelectGateway},     {{269, 89}, CVantorNetDoc::kSelectGateway},
        {{270, 89}, CVantorNetDoc::kSelectNothing},     {{205, 230}, CVantorNetDoc::slaveSelection(0)},
        {{250, 230}, CVantorNetDoc::slaveSelection(1)}, // the later icon wins
        {{309, 259}, CVantorNetDoc::slaveSelection(1)}, {{310, 259}, CVantorNetDoc::kSelectNothing},
    };
    for (const auto& c : cases) {
        doc.currentSelect = CVantorNetDoc::slaveSelection(0);
        EXPECT_EQ(scene.press(c.at), c.selected) << c.at.x << "," << c.at.y;
        EXPECT_EQ(doc.currentSelect, c.selected);
    }
}

TEST(NetGraphicScene, RightPressAndDoubleClickTargets) {
    CVantorNetDoc doc = project("KX-P1-1.0");
    doc.slaves.push_back(placed("10.0.0.1", 200, 220));
    NetGraphicScene scene(doc);
    using Opens = NetGraphicScene::Opens;

    doc.currentSelect = CVantorNetDoc::kSelectNothing;
    EXPECT_FALSE(scene.rightPress({10, 10})) << "nothing under the point, nothing selected: no menu";
    EXPECT_EQ(scene.doubleClickTarget(), Opens::Nothing);
    EXPECT_TRUE(scene.rightPress({210, 230}));
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::slaveSelection(0));
    EXPECT_EQ(scene.doubleClickTarget(), Opens::ServerProperties);
    EXPECT_TRUE(scene.rightPress({210, 60}));
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::kSelectGateway);
    EXPECT_EQ(scene.doubleClickTarget(), Opens::GatewaySettings);
    EXPECT_TRUE(scene.rightPress({10, 10})) << "the previous selection stays";
    EXPECT_EQ(doc.currentSelect, CVantorNetDoc::kSelectGateway);
    doc.currentSelect = CVantorNetDoc::kSelectBus;
    EXPECT_FALSE(scene.rightPress({300, 150})) << "the bus has no menu";
    doc.masters.clear();
    doc.currentSelect = CVantorNetDoc::kSelectGateway;
    EXPECT_EQ(scene.doubleClickTarget(), Opens::Nothing) << "a selection of a deleted gateway opens nothing";
}

TEST(NetGraphicScene, ExtentCoversEveryIconAndLabel) {
    CVantorNetDoc doc = project("");
    NetGraphicScene scene(doc);
    EXPECT_EQ(scene.extent(), (Point{1200, 600})) << "never smaller than a screenful";
    doc.bus.length = 2000;
    doc.slaves.push_back(placed("10.0.0.1", 3000, 900));
    EXPECT_EQ(scene.extent(), (Point{3300, 1074})) << "the labels' rooms under and beside the icon count";
}
