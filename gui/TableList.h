#pragma once
// The read-only lists of the address-table windows: full-row selection,
// grid lines, no editing, a background colour of their own; filled from the
// rows the core builds.
#include "QtText.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <string>

class QDialog;
class QPushButton;
class QVBoxLayout;

namespace vantor::gui {

// The tables' light green.
inline const QColor kTableGreen(240, 247, 233);

// The columns take `widths`, or more where a title needs more room.
QTableWidget* tableList(const QString& objectName, const QStringList& headers, const QList<int>& widths,
                        const QColor& background = kTableGreen);

// Widens every column whose title does not fit (titles are longer in some
// languages than the widths chosen for them); narrows none. Call again
// after the table's font changes.
void fitColumnsToTitles(QTableWidget* t);
// After filling: every column at least as wide as its title and its cells;
// column `ownColumn` (the user's own text, which may be long; -1: none) only
// as its title. Narrows none.
void fitColumnsToCells(QTableWidget* t, int ownColumn = -1);
// The width that shows every column without scrolling sideways: the
// columns, the frame and a vertical scroll bar.
int columnsWidth(const QTableWidget* t);

// One table row per row of `rows`, each a sequence of texts the core built,
// shown in the user's language (numbers and names stay as they are); the
// cells of column `ownColumn` (the user's own text, -1: none) as written.
template <typename Rows> void fillTable(QTableWidget* t, const Rows& rows, int ownColumn = -1) {
    t->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        int c = 0;
        for (const auto& cell : row) {
            const std::string text(cell);
            t->setItem(r, c, new QTableWidgetItem(c == ownColumn ? q(text) : shown(text)));
            ++c;
        }
    }
}

// The titles of a list's columns (the core's), in the user's language.
template <typename Titles> QStringList headerTexts(const Titles& titles) {
    QStringList out;
    for (const auto& t : titles)
        out << shown(std::string(t));
    return out;
}

// `inner` framed by a group box titled `title`.
QWidget* titled(const QString& title, QWidget* inner);

// The button row below a table window: 关闭, and `extra` when given.
void addCloseRow(QDialog& d, QVBoxLayout* layout, QPushButton* extra);

} // namespace vantor::gui
