#pragma once
// Paints the primitives a core scene lists (lines, texts, pictures from
// files below the current directory). Pictures are loaded once and kept;
// a missing picture paints its fallback, and its message (if it has one) is
// shown once per file, after the paint, never from inside it.
#include "view/Primitives.h"

#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <vector>

class QPainter;
class QWidget;

namespace vantor::gui {

class PrimitivePainter {
public:
    // `owner` parents the missing-picture messages.
    explicit PrimitivePainter(QWidget* owner) : owner_(owner) {}

    void paint(QPainter& painter, const std::vector<view::Primitive>& primitives);
    // Pictures are read again at the next paint (a chosen file may be new).
    void forgetPictures() { pictures_.clear(); }

private:
    void paintOne(QPainter& painter, const view::Primitive& p);
    const QPixmap* picture(const view::Primitive& p);

    QWidget* owner_;
    QHash<QString, QPixmap> pictures_;
    QSet<QString> reportedMissing_;
};

} // namespace vantor::gui
