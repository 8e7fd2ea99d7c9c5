// Draws our device pictures: one gateway picture per model (130 pixels wide,
// the model's height, a port socket at each serial port's height) and the
// slave picture (50 x 41) for Vantor; the gateway ("master"), the default
// server ("node") and a few devices to choose from (70 x 40) for VantorNet.
#include "model/GatewayCatalogue.h"
#include "net/NetGraphicScene.h"
#include "view/GraphicScene.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>

namespace {

void drawGateway(const QString& dir, const vantor::model::GatewayModel& model) {
    const std::string name(model.name);
    const int h = vantor::view::gatewayPictureHeight(name);
    QImage img(vantor::view::kGatewayWidth, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(0x3d, 0x6f, 0xa8));
    body.setColorAt(1, QColor(0x1f, 0x3f, 0x66));
    p.setBrush(body);
    p.setPen(QPen(QColor(0x12, 0x26, 0x3f), 1.5));
    p.drawRoundedRect(QRectF(6.5, 1.5, 117, h - 3), 6, 6);
    // Status lamps.
    const QColor lamps[] = {QColor(0x4c, 0xd1, 0x37), QColor(0xff, 0xc1, 0x07), QColor(0xe5, 0x39, 0x35)};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(lamps[i]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(100 + 7 * i, 9), 2.5, 2.5);
    }
    // Serial sockets on both edges at the port heights.
    const int ports = static_cast<int>(model.ports.size());
    QFont small("DejaVu Sans");
    small.setPixelSize(8);
    p.setFont(small);
    for (int k = 0; k < ports; ++k) {
        const int y = 25 * k + 45;
        if (y + 5 > h)
            break;
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
        p.setBrush(QColor(0xd8, 0xdc, 0xe0));
        p.drawRect(QRectF(1.5, y - 4.5, 9, 9));
        p.drawRect(QRectF(119.5, y - 4.5, 9, 9));
        p.setPen(Qt::white);
        p.drawText(QRectF(14, y - 6, 40, 12), Qt::AlignVCenter | Qt::AlignLeft, QString("COM%1").arg(k + 1));
    }
    // Network socket and the model name.
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.setBrush(QColor(0xf0, 0xe6, 0x8c));
    p.drawRect(QRectF(96.5, h - 18.5, 16, 12));
    QFont title("DejaVu Sans");
    title.setPixelSize(9);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(10, 14, 110, 14), Qt::AlignCenter, QString::fromStdString(name));
    p.end();
    img.save(dir + "/" + QString::fromStdString(name) + ".bmp", "BMP");
}

void drawSlave(const QString& dir) {
    QImage img(vantor::view::kSlaveWidth, vantor::view::kSlaveHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, 41);
    body.setColorAt(0, QColor(0x9b, 0xc5, 0x3d));
    body.setColorAt(1, QColor(0x5a, 0x7d, 0x1c));
    p.setBrush(body);
    p.setPen(QPen(QColor(0x33, 0x47, 0x10), 1.2));
    p.drawRoundedRect(QRectF(4.5, 4.5, 41, 33), 4, 4);
    p.setBrush(QColor(0x1d, 0x26, 0x2e));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(9, 9, 32, 12)); // display
    p.setPen(QPen(QColor(0x7f, 0xff, 0x7f), 1));
    p.drawLine(QPointF(12, 15), QPointF(20, 15));
    p.drawLine(QPointF(23, 15), QPointF(37, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf5, 0xf5, 0xf5));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(QPointF(13 + 8 * i, 29), 2.2, 2.2); // terminals
    p.end();
    img.save(dir + "/slave.bmp", "BMP");
}

// A VantorNet icon: 70 x 40 on white, a rounded body in `top`..`bottom`,
// then `details` on top.
template <typename Details>
void drawNetIcon(const QString& path, QColor top, QColor bottom, Details details) {
    QImage img(vantor::net::kNetIconWidth, vantor::net::kNetIconHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, 40);
    body.setColorAt(0, top);
    body.setColorAt(1, bottom);
    p.setBrush(body);
    p.setPen(QPen(bottom.darker(160), 1.2));
    p.drawRoundedRect(QRectF(2.5, 2.5, 65, 35), 4, 4);
    details(p);
    p.end();
    img.save(path, "BMP");
}

// Network sockets along the lower edge.
void sockets(QPainter& p, int count, qreal x0) {
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.setBrush(QColor(0xf0, 0xe6, 0x8c));
    for (int i = 0; i < count; ++i)
        p.drawRect(QRectF(x0 + 12 * i, 26.5, 9, 7));
}

void drawNetPictures(const QString& dir) {
    // The gateway: blue, status lamps, two sockets.
    drawNetIcon(dir + "/master.bmp", QColor(0x3d, 0x6f, 0xa8), QColor(0x1f, 0x3f, 0x66), [](QPainter& p) {
        const QColor lamps[] = {QColor(0x4c, 0xd1, 0x37), QColor(0xff, 0xc1, 0x07), QColor(0xe5, 0x39, 0x35)};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(lamps[i]);
            p.drawEllipse(QPointF(10 + 7 * i, 9), 2.2, 2.2);
        }
        QFont f("DejaVu Sans");
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(30, 3, 36, 12), Qt::AlignCenter, "GW");
        sockets(p, 2, 40);
    });
    // The default server: grey box with a display and one socket.
    drawNetIcon(dir + "/node.bmp", QColor(0xb8, 0xc0, 0xc8), QColor(0x70, 0x7a, 0x84), [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1d, 0x26, 0x2e));
        p.drawRect(QRectF(8, 8, 36, 13));
        p.setPen(QPen(QColor(0x7f, 0xff, 0x7f), 1));
        p.drawLine(QPointF(11, 14.5), QPointF(26, 14.5));
        p.drawLine(QPointF(29, 14.5), QPointF(40, 14.5));
        sockets(p, 1, 52);
    });
    // A controller: green with a row of terminals.
    drawNetIcon(dir + "/plc.bmp", QColor(0x9b, 0xc5, 0x3d), QColor(0x5a, 0x7d, 0x1c), [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf5, 0xf5, 0xf5));
        for (int i = 0; i < 7; ++i)
            p.drawEllipse(QPointF(9 + 8 * i, 9), 2.2, 2.2);
        p.setBrush(QColor(0xff, 0xc1, 0x07));
        p.drawRect(QRectF(8, 16, 20, 6));
        sockets(p, 1, 52);
    });
    // A power meter: white face with a needle.
    drawNetIcon(dir + "/meter.bmp", QColor(0xe8, 0xe8, 0xe8), QColor(0xa0, 0xa0, 0xa0), [](QPainter& p) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        p.setBrush(Qt::white);
        p.drawChord(QRectF(12, 6, 34, 34), 0, 180 * 16);
        p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 1.5));
        p.drawLine(QPointF(29, 23), QPointF(38, 12));
        sockets(p, 1, 52);
    });
    // A drive: orange with cooling fins.
    drawNetIcon(dir + "/drive.bmp", QColor(0xf0, 0x9a, 0x3c), QColor(0xb0, 0x5a, 0x10), [](QPainter& p) {
        p.setPen(QPen(QColor(0x60, 0x30, 0x08), 1));
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(8 + 5 * i, 8), QPointF(8 + 5 * i, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1d, 0x26, 0x2e));
        p.drawRect(QRectF(42, 7, 20, 10));
        sockets(p, 1, 52);
    });
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantor-drawpictures DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    for (const auto& m : vantor::model::gatewayModels())
        drawGateway(dir, m);
    drawSlave(dir);
    drawNetPictures(dir);
    return 0;
}
