#pragma once
// Paints the primitives a core scene lists (lines, texts, pictures from
// files below the current directory). Pictures are loaded once and kept;
// a missing picture paints its fallback, and its message (if it has one) is
// shown once per file, after the paint, never from inside it. A text's
// elision and glyphs depend only on the text, its face and its room, so they
// are worked out once and kept while the text is still drawn.
#include "view/Primitives.h"

#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <string>
#include <unordered_map>
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
    // Texts are laid out again at the next paint.
    void forgetTexts() { texts_.clear(); }
    // Texts laid out so far, and texts kept from the last paint.
    quint64 textLayoutsMade() const { return layoutsMade_; }
    std::size_t textsKept() const { return texts_.size(); }

private:
    // A text as it is drawn: the shown (elided) text shaped once into glyph
    // runs placed on its baseline, and that baseline's depth below the top.
    struct TextLayout {
        QList<QGlyphRun> glyphs;
        int ascent = 0;
        quint64 frame = 0; // the last paint that drew it
    };

    void paintOne(QPainter& painter, const view::Primitive& p);
    const QPixmap* picture(const view::Primitive& p);
    const TextLayout& textLayout(const view::Primitive& p);

    QWidget* owner_;
    QHash<QString, QPixmap> pictures_;
    QSet<QString> reportedMissing_;
    std::unordered_map<std::string, TextLayout> texts_;
    quint64 frame_ = 0;
    quint64 layoutsMade_ = 0;
};

} // namespace vantor::gui
