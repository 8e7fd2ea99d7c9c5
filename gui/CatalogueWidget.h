#pragma once
// The device catalogue dock's tree: the core's catalogue nodes with our own
// tile icons (gateway root, port root, slave root, placeable item, command
// kind), fully expanded, headers hidden.
#include "editing/CatalogueTree.h"

#include <QString>
#include <vector>

class QTreeWidget;

namespace vantor::gui {

QTreeWidget* catalogueWidget(const std::vector<editing::CatalogueNode>& nodes, const QString& objectName);

} // namespace vantor::gui
