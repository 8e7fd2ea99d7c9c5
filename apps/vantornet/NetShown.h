#pragma once
// VantorNet's lists sized for the texts of the user's language.
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

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
