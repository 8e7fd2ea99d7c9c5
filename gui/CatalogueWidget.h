#pragma once
// The device catalogue dock's tree: the core's catalogue nodes with our own
// tile icons (gateway root, port root, slave root, placeable item, command
// kind), fully expanded, headers hidden. Each item shows its node's text in
// the user's language and keeps the text as the core wrote it, which is what
// the core is asked about when the item is chosen.
#include "editing/CatalogueTree.h"

#include <QString>
#include <Qt>
#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace vantor::gui {

// The item data role that keeps the core's text.
inline constexpr int kCatalogueKeyRole = Qt::UserRole + 1;

QTreeWidget* catalogueWidget(const std::vector<editing::CatalogueNode>& nodes, const QString& objectName);

// The node text of an item of a catalogue tree as the core wrote it (empty
// for none).
std::string catalogueKey(const QTreeWidgetItem* item);

// The catalogue as wide as its longest item (the texts are longer in some
// languages), `atLeast` pixels at least.
void widenToLongestItem(QTreeWidget* catalogue, int atLeast);

} // namespace vantor::gui
