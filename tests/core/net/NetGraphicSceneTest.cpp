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
    EXPECT_EQ(endpoint->textHeight, 12) << "in the windows' normal face";
    const Primitive* unit = findText(all, "7");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->points[0], (Point{200, 279}));
    EXPECT_EQ(ofKind(all, Primitive::Kind::Text).size(), 5u) << "EtherNet, two names, endpoint, unit address";
}

// Every text of the drawing, in the room it is elided to and as high as its
// face, clears every icon, the bus and every other text.
TEST(NetGraphicScene, LabelsClearOfIconsTheBusAndEachOther) {
    struct Box {
        int l, t, r, b;
        bool meets(const Box& o) const { return l < o.r && o.l < r && t < o.b && o.t < b; }
    };
    CVantorNetDoc demo;
    ASSERT_TRUE(NetProjectFile::open(demo, std::string(VANTOR_DATA_DIR) + "/demo.vncfg", nullptr));
    auto dense = [](int dx, int dy, int count) {
        CVantorNetDoc doc = project("NXE-485-ZRTU2");
        for (int i = 0; i < count; ++i)
            doc.slaves.push_back(placed("255.255.255.255", 160 + dx * i, 220 + dy * (i % 3)));
        return doc;
    };
    CVantorNetDoc nearBus = dense(120, 0, 3);
    nearBus.slaves[1].y = nearBus.bus.y - 60;
    CVantorNetDoc cases[] = {demo, dense(30, 0, 31), dense(50, 45, 12), dense(0, 30, 3), nearBus};
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        std::vector<Box> texts, solid;
        for (const Primitive& p : NetGraphicScene(cases[c]).draw()) {
            const Point at = p.points[0];
            if (p.kind == Primitive::Kind::Text) {
                EXPECT_GT(p.maxWidth, 0) << c << ": " << p.text << " has no room";
                EXPECT_GE(p.textHeight, 12) << c << ": " << p.text << " in a tiny face";
                texts.push_back({at.x, at.y, at.x + p.maxWidth, at.y + p.textHeight});
            } else if (p.kind == Primitive::Kind::Picture) {
                solid.push_back({at.x, at.y, at.x + p.pictureWidth, at.y + p.pictureHeight});
            } else if (p.width == 7) {
                solid.push_back({at.x, at.y - 3, p.points[1].x, at.y + 4});
            }
        }
        if (c < 2) { // the demo and servers side by side keep every label
            EXPECT_EQ(texts.size(), 2 + 3 * cases[c].slaves.size()) << c;
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (const Box& o : solid)
                EXPECT_FALSE(texts[i].meets(o)) << c << ": text " << i << " over an icon or the bus";
            for (std::size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(texts[i].meets(texts[j])) << c << ": text " << i << " over text " << j;
        }
    }
    // A server's whole texts over its icon or its labels, not in the gap after them.
    NetGraphicScene scene(cases[0]);
    const std::string first = "温度采集器\n192.168.0.11:502\n从站MOD地址: 1";
    EXPECT_EQ(scene.tooltipAt({210, 230}), first);
    EXPECT_EQ(scene.tooltipAt({310, 270}), first);
    EXPECT_EQ(scene.tooltipAt({317, 270}), "");
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
