#include "CatalogueWidget.h"

#include "QtText.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>
#include <array>

namespace vantor::gui {
namespace {

// A coloured tile with a letter.
QIcon tileIcon(QColor colour, const QString& letter) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawRoundedRect(1, 1, 18, 18, 4, 4);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, letter);
    return QIcon(pm);
}

void addNodes(QTreeWidget* tree, QTreeWidgetItem* parent, const std::vector<editing::CatalogueNode>& nodes,
              const std::array<QIcon, 5>& icons) {
    for (const auto& node : nodes) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, shown(node.text));
        item->setData(0, kCatalogueKeyRole, QString::fromStdString(node.text));
        if (node.image >= 0 && node.image < static_cast<int>(icons.size()))
            item->setIcon(0, icons[static_cast<std::size_t>(node.image)]);
        addNodes(tree, item, node.children, icons);
    }
}

} // namespace

QTreeWidget* catalogueWidget(const std::vector<editing::CatalogueNode>& nodes, const QString& objectName) {
    auto* tree = new QTreeWidget;
    tree->setObjectName(objectName);
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(20, 20));
    const std::array<QIcon, 5> icons{
        tileIcon(QColor(0x2b, 0x6c, 0xb0), "M"), tileIcon(QColor(0x8a, 0x4f, 0xbf), "C"),
        tileIcon(QColor(0x2e, 0x8b, 0x57), "S"), tileIcon(QColor(0x70, 0x70, 0x70), "•"),
        tileIcon(QColor(0xd0, 0x7a, 0x1c), "F")};
    addNodes(tree, nullptr, nodes, icons);
    tree->expandAll();
    return tree;
}

std::string catalogueKey(const QTreeWidgetItem* item) {
    return item ? item->data(0, kCatalogueKeyRole).toString().toStdString() : std::string();
}

void widenToLongestItem(QTreeWidget* catalogue, int atLeast) {
    const QAbstractItemView* items = catalogue;
    catalogue->setMinimumWidth(std::max(atLeast, items->sizeHintForColumn(0) + 2 * catalogue->frameWidth() +
                                                     catalogue->verticalScrollBar()->sizeHint().width()));
}

} // namespace vantor::gui
