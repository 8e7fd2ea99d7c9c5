#include "view/GraphicScene.h"

#include "text/Shown.h"

#include <algorithm>

namespace vantor::view {
namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kYellow{255, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kLabel{0x9F, 0x43, 0xBF};
const Rgb kSlaveText{0, 0, 0xC8};

// Position of a line's name among COM1..COM6, or -1.
int portIndex(const std::string& comName) {
    if (comName.size() == 4 && comName.compare(0, 3, "COM") == 0 && comName[3] >= '1' && comName[3] <= '6')
        return comName[3] - '1';
    return -1;
}

// The line that the CDT gateway creates for its link is never drawn.
bool drawn(const model::CCOM& com) {
    return com.x != -1;
}

// The red line above the drawing that names the project's addressing mode.
std::string addressingLine(bool remote) {
    const char* mode = remote ? VT_TEXT("远端从站寻址") : VT_TEXT("MODBUS数据区寻址");
    return text::shownFormat(VT_TEXT("当前寻址方式:  %s"), text::shown(mode).c_str());
}

} // namespace

int gatewayPictureHeight(const std::string& model) {
    if (model == "KX-P6R0-1.0" || model == "TRX-H-QMB6")
        return 185;
    if (model == "KX-P4R0-1.0")
        return 136;
    if (model == "KX-P2R0-1.0")
        return 83;
    if (model == "KX-P1R0-1.0" || model == "LNK-P1-1.0" || model == "KX-P1-1.0")
        return 59;
    return 84;
}

int gatewayPortY(const model::CMaster& gateway, int port) {
    return gateway.y + 25 * port + 45;
}

namespace {

// The leftmost and rightmost x of the slaves of `line`; false without any.
bool slaveSpan(const model::CVantorDoc& doc, int line, int& leftmost, int& rightmost) {
    const std::vector<int> slaves = doc.slavesOfLine(line);
    if (slaves.empty())
        return false;
    leftmost = rightmost = doc.slaves[static_cast<std::size_t>(slaves.front())].x;
    for (int s : slaves) {
        leftmost = std::min(leftmost, doc.slaves[static_cast<std::size_t>(s)].x);
        rightmost = std::max(rightmost, doc.slaves[static_cast<std::size_t>(s)].x);
    }
    return true;
}

} // namespace

void fitLine(model::CVantorDoc& doc, int line) {
    int leftmost = 0, rightmost = 0;
    if (!slaveSpan(doc, line, leftmost, rightmost))
        return;
    model::CCOM& com = doc.coms[static_cast<std::size_t>(line)];
    if (leftmost < com.x)
        com.x = leftmost - 1;
    if (com.x + com.com_length < rightmost + 80) {
        if (com.x < -20)
            com.x = -20;
        com.com_length = rightmost - com.x + 80;
    } else {
        com.com_length = std::max(rightmost - com.x + 80, 260);
    }
}

bool lineHoldsSlaves(const model::CVantorDoc& doc, int line) {
    int leftmost = 0, rightmost = 0;
    if (!slaveSpan(doc, line, leftmost, rightmost))
        return true;
    const model::CCOM& com = doc.coms[static_cast<std::size_t>(line)];
    return leftmost >= com.x && com.x + com.com_length >= rightmost + 80;
}

void GraphicScene::fitSelectedLine() {
    int line = doc_.selectedCom();
    if (line < 0 && doc_.selectedSlave() >= 0)
        line = doc_.lineOfSlave(doc_.selectedSlave());
    if (line >= 0)
        fitLine(doc_, line);
}

std::vector<Primitive> GraphicScene::draw() {
    fitSelectedLine();
    std::vector<Primitive> out;
    const model::CMaster* gateway = doc_.masters.empty() ? nullptr : &doc_.masters.front();
    const int selectedLine = doc_.selectedCom();

    for (std::size_t i = 0; i < doc_.coms.size(); ++i) {
        const model::CCOM& com = doc_.coms[i];
        if (!drawn(com))
            continue;
        const int x = com.x, y = com.y, end = com.x + com.com_length;
        out.push_back(polyline({{x, y}, {end, y}}, 3, kBlack));
        out.push_back(text({x + com.com_length / 2, y - 17}, com.COMName, kLabel));
        if (gateway) {
            const int gx = gateway->x;
            const int py = gatewayPortY(*gateway, std::max(portIndex(com.COMName), 0));
            if (x >= gx && x < gx + kGatewayWidth)
                out.push_back(polyline({{x, y}, {gx - 2, y}, {gx - 2, py}, {gx, py}}, 1, kBlack));
            else if (x < gx)
                out.push_back(polyline({{x, y}, {x - 2, y}, {x - 2, py}, {gx, py}}, 1, kBlack));
            else {
                const int m = (x + gx + kGatewayWidth) / 2;
                out.push_back(polyline({{x, y}, {m, y}, {m, py}, {gx + kGatewayWidth - 1, py}}, 1, kBlack));
            }
        }
        if (static_cast<int>(i) == selectedLine)
            out.push_back(polyline({{x, y}, {end, y}}, 2, kBlue));
    }

    const int selectedSlave = doc_.selectedSlave();
    for (std::size_t i = 0; i < doc_.slaves.size(); ++i) {
        const model::CSlave& s = doc_.slaves[i];
        if (!s.com_name.empty()) {
            int line = doc_.lineByName(s.com_name);
            if (line >= 0)
                out.push_back(polyline(
                    {{s.x + 25, s.y}, {s.x + 25, doc_.coms[static_cast<std::size_t>(line)].y}}, 1, kBlack));
        }
        out.push_back(picture({s.x, s.y}, "BITMAP/slave.bmp", kSlaveWidth, kSlaveHeight,
                              text::shown(VT_TEXT("没有找到从站文件"))));
        out.push_back(text({s.x - 16, s.y + 13}, std::to_string(s.address), kSlaveText));
        out.push_back(text({s.x - 10, s.y - 15}, s.name, kSlaveText));
        out.back().maxWidth = nameSlotWidth(i);
        if (static_cast<int>(i) == selectedSlave)
            out.push_back(polyline({{s.x, s.y + 42}, {s.x + kSlaveWidth, s.y + 42}}, 2, kYellow));
    }

    if (gateway) {
        const int h = gatewayPictureHeight(gateway->masterName);
        out.push_back(picture({gateway->x, gateway->y}, "BITMAP/" + gateway->bitmap + ".bmp", kGatewayWidth,
                              h, text::shownFormat(VT_TEXT("没有找到%s文件"), gateway->masterName.c_str())));
        if (doc_.selectedMaster() == 0)
            out.push_back(
                polyline({{gateway->x, gateway->y + h + 2}, {gateway->x + kGatewayWidth, gateway->y + h + 2}},
                         2, kYellow));
        if (gateway->masterName != "TRC-H-ZRTU")
            out.push_back(text({100, 0}, addressingLine(doc_.addType == 1), kRed, 30));
    }
    return out;
}

int GraphicScene::hitSlave(Point p) const {
    int hit = -1;
    for (std::size_t i = 0; i < doc_.slaves.size(); ++i) {
        const auto& s = doc_.slaves[i];
        if (inside(p, s.x, s.y, s.x + kSlaveWidth, s.y + kSlaveHeight))
            hit = static_cast<int>(i);
    }
    return hit;
}

bool GraphicScene::hitGateway(Point p) const {
    if (doc_.masters.empty())
        return false;
    const auto& g = doc_.masters.front();
    return inside(p, g.x, g.y, g.x + kGatewayWidth, g.y + gatewayPictureHeight(g.masterName));
}

int GraphicScene::hitLine(Point p) const {
    int hit = -1;
    for (std::size_t i = 0; i < doc_.coms.size(); ++i) {
        const auto& c = doc_.coms[i];
        // A line that is not drawn cannot be clicked.
        if (drawn(c) && inside(p, c.x, c.y - 3, c.x + c.com_length, c.y + 3))
            hit = static_cast<int>(i);
    }
    return hit;
}

int GraphicScene::press(Point p) {
    doc_.selectedItem = -1;
    if (hitGateway(p))
        doc_.selectedItem = doc_.masterItem(0);
    if (int line = hitLine(p); line >= 0) {
        const auto& c = doc_.coms[static_cast<std::size_t>(line)];
        grab_ = {p.x - c.x, p.y - c.y};
        doc_.selectedItem = doc_.comItem(line);
    }
    if (int slave = hitSlave(p); slave >= 0)
        doc_.selectedItem = doc_.slaveItem(slave);
    return doc_.selectedItem;
}

bool GraphicScene::drag(Point p) {
    if (int s = doc_.selectedSlave(); s >= 0) {
        doc_.slaves[static_cast<std::size_t>(s)].x = p.x - 25;
        doc_.slaves[static_cast<std::size_t>(s)].y = p.y - 20;
    } else if (int m = doc_.selectedMaster(); m >= 0) {
        doc_.masters[static_cast<std::size_t>(m)].x = p.x - 65;
        doc_.masters[static_cast<std::size_t>(m)].y = p.y - 42;
    } else if (int c = doc_.selectedCom(); c >= 0) {
        doc_.coms[static_cast<std::size_t>(c)].x = p.x - grab_.x;
        doc_.coms[static_cast<std::size_t>(c)].y = p.y - grab_.y;
    } else {
        return false;
    }
    doc_.modified = true;
    return true;
}

bool GraphicScene::rightPress(Point p) {
    if (int slave = hitSlave(p); slave >= 0)
        doc_.selectedItem = doc_.slaveItem(slave);
    if (hitGateway(p))
        doc_.selectedItem = doc_.masterItem(0);
    if (int line = hitLine(p); line >= 0)
        doc_.selectedItem = doc_.comItem(line);
    return doc_.selectedSlave() >= 0 || doc_.selectedMaster() >= 0 || doc_.selectedCom() >= 0;
}

int GraphicScene::nameSlotWidth(std::size_t slave) const {
    constexpr int kGap = 4;
    const model::CSlave& s = doc_.slaves.at(slave);
    int next = -1;
    for (std::size_t i = 0; i < doc_.slaves.size(); ++i) {
        const model::CSlave& o = doc_.slaves[i];
        if (i != slave && o.com_name == s.com_name && o.y == s.y && o.x > s.x && (next < 0 || o.x < next))
            next = o.x;
    }
    return next < 0 ? 0 : std::max(next - s.x - kGap, 1);
}

GraphicScene::Opens GraphicScene::doubleClickTarget() const {
    if (doc_.selectedSlave() >= 0)
        return Opens::SlaveProperties;
    if (doc_.selectedMaster() >= 0)
        return Opens::GatewayInformation;
    if (doc_.selectedCom() >= 0)
        return Opens::ComProperties;
    return Opens::Nothing;
}

} // namespace vantor::view
