// The primitive painter lays a text out once while it is drawn frame after
// frame, again when its room or font changes, and keeps nothing that is no
// longer drawn; what it paints is what a plain elided drawText paints.
#include "PrimitivePainter.h"

#include <QPainter>
#include <QWidget>
#include <QtTest>

using vantor::view::Primitive;

class PrimitivePainterTest : public QObject {
    Q_OBJECT

    static std::vector<Primitive> texts() {
        std::vector<Primitive> out;
        out.push_back(vantor::view::text({10, 10}, "从站12 一个很长很长的名字", {0, 0, 200}));
        out.back().maxWidth = 60;
        out.push_back(vantor::view::text({10, 40}, "192.168.1.200:502", {0, 0, 0}, 12));
        out.back().charWidth = 5;
        out.push_back(vantor::view::text({10, 70}, "当前寻址方式", {255, 0, 0}, 30));
        out.back().bold = true;
        return out;
    }

    static QImage blank() {
        QImage image(300, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

private slots:
    void laysEachTextOutOnce() {
        QWidget owner;
        vantor::gui::PrimitivePainter painter(&owner);
        auto prims = texts();
        QImage image = blank();
        for (int frame = 0; frame < 3; ++frame) {
            QPainter p(&image);
            painter.paint(p, prims);
        }
        QCOMPARE(painter.textLayoutsMade(), quint64(3));
        // A new room, a new font height or a new text: laid out again; the
        // old forms are no longer kept.
        prims[0].maxWidth = 80;
        prims[1].textHeight = 13;
        prims[2].text = "当前寻址方式:  远端从站寻址";
        for (int frame = 0; frame < 2; ++frame) {
            QPainter p(&image);
            painter.paint(p, prims);
        }
        QCOMPARE(painter.textLayoutsMade(), quint64(6));
        QCOMPARE(painter.textsKept(), std::size_t(3));
    }

    void paintsWhatAnElidedDrawTextPaints() {
        QWidget owner;
        vantor::gui::PrimitivePainter painter(&owner);
        QImage kept;
        for (int frame = 0; frame < 2; ++frame) { // the second frame draws what was kept
            kept = blank();
            QPainter p(&kept);
            painter.paint(p, texts());
        }
        QImage plain = blank();
        QPainter p(&plain);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const Primitive& t : texts()) {
            QFont font(QString::fromStdString(t.fontFamily));
            font.setPixelSize(t.textHeight);
            font.setWeight(t.bold ? QFont::Bold : QFont::Normal);
            p.setFont(font);
            p.setPen(QColor(t.colour.r, t.colour.g, t.colour.b));
            const QFontMetrics metrics(font);
            QString shown = QString::fromStdString(t.text);
            if (t.maxWidth > 0)
                shown = metrics.elidedText(shown, Qt::ElideRight, t.maxWidth);
            p.save();
            p.translate(t.points[0].x, t.points[0].y);
            if (t.charWidth > 0)
                p.scale(double(t.charWidth) * double(shown.size()) / metrics.horizontalAdvance(shown), 1.0);
            p.drawText(0, metrics.ascent(), shown);
            p.restore();
        }
        p.end();
        QCOMPARE(kept, plain);
    }
};

QTEST_MAIN(PrimitivePainterTest)
#include "PrimitivePainterTest.moc"
