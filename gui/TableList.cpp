#include "TableList.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace vantor::gui {

namespace {
struct TableList {
    Q_DECLARE_TR_FUNCTIONS(TableList)
};
} // namespace

QTableWidget* tableList(const QString& objectName, const QStringList& headers, const QList<int>& widths,
                        const QColor& background) {
    auto* t = new QTableWidget;
    t->setObjectName(objectName);
    t->setColumnCount(static_cast<int>(headers.size()));
    t->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < widths.size(); ++c)
        t->setColumnWidth(c, widths[c]);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(22);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setShowGrid(true);
    if (background.isValid())
        t->setStyleSheet(QString("QTableWidget { background-color: %1; }").arg(background.name()));
    fitColumnsToTitles(t);
    return t;
}

void fitColumnsToTitles(QTableWidget* t) {
    QHeaderView* header = t->horizontalHeader();
    for (int c = 0; c < t->columnCount(); ++c)
        if (const int wanted = header->sectionSizeHint(c); wanted > t->columnWidth(c))
            t->setColumnWidth(c, wanted);
}

void fitColumnsToCells(QTableWidget* t, int ownColumn) {
    // (the cells' hint is public on the item view, not on the table)
    const QAbstractItemView* view = t;
    for (int c = 0; c < t->columnCount(); ++c) {
        const int title = t->horizontalHeader()->sectionSizeHint(c);
        const int needed = c == ownColumn ? title : std::max(title, view->sizeHintForColumn(c));
        if (needed > t->columnWidth(c))
            t->setColumnWidth(c, needed);
    }
}

int columnsWidth(const QTableWidget* t) {
    int width = 2 * t->frameWidth() + t->verticalScrollBar()->sizeHint().width();
    if (!t->verticalHeader()->isHidden())
        width += t->verticalHeader()->width();
    for (int c = 0; c < t->columnCount(); ++c)
        width += t->columnWidth(c);
    return width;
}

QWidget* titled(const QString& title, QWidget* inner) {
    auto* box = new QGroupBox(title);
    auto* l = new QVBoxLayout(box);
    l->addWidget(inner);
    return box;
}

void addCloseRow(QDialog& d, QVBoxLayout* layout, QPushButton* extra) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(TableList::tr("关闭"));
    if (extra)
        buttons->addButton(extra, QDialogButtonBox::ActionRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace vantor::gui
