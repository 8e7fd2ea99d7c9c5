// The primitive painter lays a text out once while it is drawn frame after
// frame and again when its room or face changes, keeps nothing no longer
// drawn, and paints what a plain elided drawText paints.
#include "PrimitivePainter.h"

#include <QPainter>
#include <QWidget>
#include <QtTest>

using vantor::view::Primitive;

class PrimitivePainterTest : public QObject {
    Q_OBJECT

private slots:
    void keptLayoutsPaintAsPlainText() {
        std::vector<Primitive> texts{vantor::view::text({10, 10}, "从站12 一个很长的名字", {0, 0, 200}),
                                     vantor::view::text({10, 40}, "192.168.1.200:502", {0, 0, 0}, 12),
                                     vantor::view::text({10, 70}, "当前寻址方式", {255, 0, 0}, 30)};
        texts[0].maxWidth = 60;
        texts[2].bold = true;
        QImage plain(300, 120, QImage::Format_RGB32);
        plain.fill(Qt::white);
        QImage kept = plain;
        QPainter p(&plain);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (const Primitive& t : texts) {
            QFont font(QString::fromStdString(t.fontFamily));
            font.setPixelSize(t.textHeight);
            font.setBold(t.bold);
            const QFontMetrics metrics(font);
            QString shown = QString::fromStdString(t.text);
            if (t.maxWidth > 0)
                shown = metrics.elidedText(shown, Qt::ElideRight, t.maxWidth);
            p.setFont(font);
            p.setPen(QColor(t.colour.r, t.colour.g, t.colour.b));
            p.drawText(t.points[0].x, t.points[0].y + metrics.ascent(), shown);
        }
        p.end();

        QWidget owner;
        vantor::gui::PrimitivePainter painter(&owner);
        for (int frame = 0; frame < 3; ++frame) {
            kept.fill(Qt::white);
            QPainter k(&kept);
            painter.paint(k, texts);
        }
        QCOMPARE(kept, plain);
        QCOMPARE(painter.textLayoutsMade(), quint64(3));
        // A new room, a new face or a new text is laid out again; the old
        // forms are dropped.
        texts[0].maxWidth = 80;
        texts[1].textHeight = 13;
        texts[2].text = "当前寻址方式:  远端从站寻址";
        QPainter k(&kept);
        painter.paint(k, texts);
        painter.paint(k, texts);
        QCOMPARE(painter.textLayoutsMade(), quint64(6));
        QCOMPARE(painter.textsKept(), std::size_t(3));
    }
};

QTEST_MAIN(PrimitivePainterTest)
#include "PrimitivePainterTest.moc"
