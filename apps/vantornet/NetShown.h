#pragma once
// The core's texts as VantorNet's windows show them: column titles, table
// cells and list items in the user's language. The user's own texts (a
// command's comment) and numbers stay as written.
#include "QtText.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

#include <algorithm>
#include <string>
#include <vector>

// The titles of a list's columns.
template <typename Titles> QStringList shownTitles(const Titles& titles) {
    QStringList out;
    for (const auto& t : titles)
        out << vantor::gui::shown(std::string(t));
    return out;
}

// The items of a drop-down list (parity names, stop bits...).
template <typename Texts> std::vector<std::string> shownItems(const Texts& texts) {
    std::vector<std::string> out;
    for (const auto& t : texts)
        out.push_back(vantor::text::shown(std::string(t)));
    return out;
}

// A table's rows with every cell shown, except those of column `ownColumn`
// (the user's own text; -1: none), which stay as written.
template <typename Rows>
std::vector<std::vector<std::string>> shownRows(const Rows& rows, int ownColumn = -1) {
    std::vector<std::vector<std::string>> out;
    out.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<std::string>& cells = out.emplace_back();
        for (const auto& cell : row) {
            const std::string text(cell);
            cells.push_back(static_cast<int>(cells.size()) == ownColumn ? text : vantor::text::shown(text));
        }
    }
    return out;
}

// After filling: every column at least as wide as its title and its cells
// (the widths given suit the Chinese texts; English ones are longer); column
// `ownColumn` (the user's own text, which may be long) only as its title.
inline void widenToFit(QTableWidget* table, int ownColumn = -1) {
    for (int c = 0; c < table->columnCount(); ++c) {
        const int given = table->columnWidth(c);
        const int title = table->horizontalHeader()->sectionSizeHint(c);
        // (the cells' hint is public on the item view, not on the table)
        const QAbstractItemView* view = table;
        const int needed = c == ownColumn ? title : std::max(title, view->sizeHintForColumn(c));
        if (needed > given)
            table->setColumnWidth(c, needed);
    }
}
