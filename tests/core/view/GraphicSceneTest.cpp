#include "view/GraphicScene.h"

#include "PrimitiveQueries.h"

#include <gtest/gtest.h>

using namespace vantor;
using namespace vantor::model;
using namespace vantor::view;
using vantor::testing::findText;
using vantor::testing::ofKind;

namespace {

CCOM line(const char* name, int x, int y, int length = 260) {
    CCOM c;
    c.COMName = name;
    c.x = x;
    c.y = y;
    c.com_length = length;
    return c;
}

CSlave slave(const char* com, int x, int y, int address, const char* name = "SLAVE") {
    CSlave s;
    s.com_name = com;
    s.x = x;
    s.y = y;
    s.address = address;
    s.name = name;
    return s;
}

} // namespace

TEST(GraphicScene, PictureHeights) {
    struct Case {
        const char* model;
        int height;
    } cases[] = {{"KX-P6R0-1.0", 185}, {"TRX-H-QMB6", 185},   {"KX-P4R0-1.0", 136}, {"KX-P2R0-1.0", 83},
                 {"KX-P1R0-1.0", 59},  {"LNK-P1-1.0", 59},    {"KX-P1-1.0", 59},    {"NXE-485-ZRTU2", 84},
                 {"TRC-H-ZRTU", 84},   {"NXE-485-ZRTU2E", 84}};
    for (const auto& c : cases)
        EXPECT_EQ(gatewayPictureHeight(c.model), c.height) << c.model;
}

TEST(GraphicScene, WithoutGatewayNoConnectorsAndNoModeText) {
    CVantorDoc doc;
    doc.coms.push_back(line("COM1", 260, 80));
    doc.slaves.push_back(slave("COM1", 310, 115, 1));
    GraphicScene scene(doc);
    auto prims = scene.draw();
    // The bus and the slave's drop line; no connector.
    auto lines = ofKind(prims, Primitive::Kind::Polyline);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->points, (std::vector<Point>{{260, 80}, {520, 80}}));
    EXPECT_EQ(lines[0]->width, 3);
    EXPECT_EQ(lines[1]->points, (std::vector<Point>{{335, 115}, {335, 80}}));
    EXPECT_EQ(ofKind(prims, Primitive::Kind::Picture).size(), 1u);
    for (const auto& p : prims)
        EXPECT_EQ(p.text.find("当前寻址方式"), std::string::npos);
    const Primitive* label = findText(prims, "COM1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->points[0], (Point{390, 63}));
}

TEST(GraphicScene, ConnectorsToGatewayPorts) {
    struct Case {
        const char* com;
        int x, y;
        std::vector<Point> connector;
    } cases[] = {
        // Right of the gateway (gateway at 35..165): middle column.
        {"COM1", 260, 80, {{260, 80}, {212, 80}, {212, 80}, {164, 80}}},
        {"COM3", 260, 380, {{260, 380}, {212, 380}, {212, 130}, {164, 130}}},
        // Starting over the gateway: down its left edge.
        {"COM2", 100, 300, {{100, 300}, {33, 300}, {33, 105}, {35, 105}}},
        // Left of the gateway: from its start around to the left edge.
        {"COM2", 10, 300, {{10, 300}, {8, 300}, {8, 105}, {35, 105}}},
    };
    for (const auto& c : cases) {
        CVantorDoc doc;
        doc.masters.push_back(CMaster{"KX-P6R0-1.0", 35, 35, "KX-P6R0-1.0"});
        doc.coms.push_back(line(c.com, c.x, c.y));
        auto prims = GraphicScene(doc).draw();
        auto lines = ofKind(prims, Primitive::Kind::Polyline);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1]->points, c.connector) << c.com << " at " << c.x;
        EXPECT_EQ(lines[1]->width, 1);
    }
}

TEST(GraphicScene, ModeTextAndCdtLinkLine) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"NXE-485-ZRTU2", 35, 35, "x"});
    doc.addType = 1;
    auto prims = GraphicScene(doc).draw();
    const Primitive* mode = findText(prims, "当前寻址方式:  远端从站寻址");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->textHeight, 30);
    EXPECT_EQ(mode->points[0], (Point{100, 0}));

    CVantorDoc cdt;
    cdt.masters.push_back(CMaster{"TRC-H-ZRTU", 35, 35, "x"});
    cdt.coms.push_back(line("COM1", -1, -1));
    cdt.coms.push_back(line("COM2", 260, 230));
    auto p2 = GraphicScene(cdt).draw();
    EXPECT_EQ(findText(p2, "COM1"), nullptr);
    EXPECT_NE(findText(p2, "COM2"), nullptr);
    for (const auto& p : p2)
        EXPECT_EQ(p.text.find("当前寻址方式"), std::string::npos);
    // The link line cannot be clicked either.
    GraphicScene scene(cdt);
    EXPECT_EQ(scene.press({0, 0}), -1);
}

TEST(GraphicScene, MissingPictureMessages) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P2R0-1.0", 35, 35, "KX-P2R0-1.0"});
    doc.coms.push_back(line("COM1", 260, 80));
    doc.slaves.push_back(slave("COM1", 310, 115, 7, "泵站"));
    auto prims = GraphicScene(doc).draw();
    auto pictures = ofKind(prims, Primitive::Kind::Picture);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->text, "BITMAP/slave.bmp");
    EXPECT_EQ(pictures[0]->missingMessage, "没有找到从站文件");
    EXPECT_EQ(pictures[1]->text, "BITMAP/KX-P2R0-1.0.bmp");
    EXPECT_EQ(pictures[1]->pictureHeight, 83);
    EXPECT_EQ(pictures[1]->missingMessage, "没有找到KX-P2R0-1.0文件");
}

TEST(GraphicScene, ClicksPreferSlavesOverLinesOverGateway) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P2R0-1.0", 35, 35, ""});
    doc.coms.push_back(line("COM1", 100, 80));
    doc.slaves.push_back(slave("COM1", 120, 60, 1)); // picture overlaps the bus and the gateway
    GraphicScene scene(doc);
    struct Case {
        Point at;
        int selected;
    } cases[] = {
        {{130, 80}, 0},   // slave over bus and gateway
        {{300, 80}, 2},   // bus only: line 0 is item S + M + 0
        {{50, 50}, 1},    // gateway only
        {{500, 500}, -1}, // nothing
        {{300, 77}, 2},   {{300, 76}, -1}, {{300, 82}, 2}, {{300, 83}, -1}, // bus is y-3 .. y+2
    };
    for (const auto& c : cases)
        EXPECT_EQ(scene.press(c.at), c.selected) << c.at.x << ',' << c.at.y;
}

TEST(GraphicScene, RightClickKeepsSelectionAndPrefersLines) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P2R0-1.0", 35, 35, ""});
    doc.coms.push_back(line("COM1", 100, 80));
    doc.slaves.push_back(slave("COM1", 120, 60, 1));
    GraphicScene scene(doc);
    doc.selectedItem = 0;
    EXPECT_TRUE(scene.rightPress({900, 900})); // miss: the slave stays selected
    EXPECT_EQ(doc.selectedItem, 0);
    EXPECT_TRUE(scene.rightPress({130, 80})); // slave, then line: the line wins
    EXPECT_EQ(doc.selectedItem, 2);
    doc.selectedItem = -1;
    EXPECT_FALSE(scene.rightPress({900, 900}));
}

TEST(GraphicScene, DraggingLastSlaveFitsTheLine) {
    CVantorDoc doc;
    doc.coms.push_back(line("COM1", 260, 80));
    doc.slaves.push_back(slave("COM1", 310, 115, 1));
    doc.slaves.push_back(slave("COM1", 390, 115, 2));
    GraphicScene scene(doc);
    ASSERT_EQ(scene.press({400, 120}), 1);
    EXPECT_TRUE(scene.drag({725, 135})); // slave to 700, 115
    EXPECT_EQ(doc.slaves[1].x, 700);
    EXPECT_EQ(doc.slaves[1].y, 115);
    EXPECT_TRUE(doc.modified);
    scene.draw();
    EXPECT_EQ(doc.coms[0].com_length, 700 - 260 + 80);
    scene.drag({425, 135}); // back to 400: shrinks to 220, kept at 260
    scene.draw();
    EXPECT_EQ(doc.coms[0].com_length, 260);
    // Dragging a slave left of the line's start moves the start.
    scene.drag({225, 135});
    scene.draw();
    EXPECT_EQ(doc.coms[0].x, 199);
}

TEST(GraphicScene, DraggingLineAndGateway) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P2R0-1.0", 35, 35, ""});
    doc.coms.push_back(line("COM1", 260, 380));
    GraphicScene scene(doc);
    ASSERT_EQ(scene.press({300, 381}), 1);
    scene.drag({350, 401});
    EXPECT_EQ(doc.coms[0].x, 310);
    EXPECT_EQ(doc.coms[0].y, 400);
    ASSERT_EQ(scene.press({40, 40}), 0);
    EXPECT_EQ(scene.doubleClickTarget(), GraphicScene::Opens::GatewayInformation);
    scene.drag({100, 100});
    EXPECT_EQ(doc.masters[0].x, 35);
    EXPECT_EQ(doc.masters[0].y, 58);
    scene.press({5000, 900});
    EXPECT_FALSE(scene.drag({10, 10}));
    EXPECT_EQ(scene.doubleClickTarget(), GraphicScene::Opens::Nothing);
}

TEST(GraphicScene, SelectionMarks) {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P1R0-1.0", 35, 35, ""});
    doc.coms.push_back(line("COM1", 260, 80));
    doc.slaves.push_back(slave("COM1", 310, 115, 1));
    struct Case {
        int item;
        std::vector<Point> mark;
        int width;
    } cases[] = {
        {0, {{310, 157}, {360, 157}}, 2},
        {1, {{35, 96}, {165, 96}}, 2},
        {2, {{260, 80}, {520, 80}}, 2},
    };
    for (const auto& c : cases) {
        doc.selectedItem = c.item;
        auto prims = GraphicScene(doc).draw();
        int marks = 0;
        for (const auto& p : prims)
            if (p.kind == Primitive::Kind::Polyline && p.width == 2) {
                ++marks;
                EXPECT_EQ(p.points, c.mark) << c.item;
            }
        EXPECT_EQ(marks, 1) << c.item;
    }
}

// A slave's name may take the room up to the next slave to its right on its
// line; the last one on a line is not limited.
TEST(GraphicScene, NameSlotsEndAtTheNextSlave) {
    CVantorDoc doc;
    doc.coms.push_back(line("COM1", 100, 80, 600));
    doc.coms.push_back(line("COM2", 100, 200, 600));
    doc.slaves.push_back(slave("COM1", 300, 100, 3, "电表CCCCCCCCCCCCCCCC"));
    doc.slaves.push_back(slave("COM1", 120, 100, 1, "电表AAAAAAAAAAAAAAAA"));
    doc.slaves.push_back(slave("COM1", 180, 100, 2, "电表BBBBBBBBBBBBBBBB"));
    doc.slaves.push_back(slave("COM2", 150, 220, 1, "水表"));
    GraphicScene scene(doc);
    const struct {
        std::size_t slave;
        int width;
    } cases[] = {{1, 56}, {2, 116}, {0, 0}, {3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(scene.nameSlotWidth(c.slave), c.width) << c.slave;
    const auto drawn = scene.draw();
    const Primitive* name = findText(drawn, "电表AAAAAAAAAAAAAAAA");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->maxWidth, 56);
    EXPECT_EQ(scene.slaveAt({185, 110}), 2);
    EXPECT_EQ(scene.slaveAt({185, 300}), -1);
}
