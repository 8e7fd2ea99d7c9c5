#pragma once
// The device catalogue as the window shows it: three roots with their
// children, each item with its icon index (0 gateway root, 1 COM root,
// 2 slave root, 3 placeable item, 4 command kind), all expanded.
#include <string>
#include <vector>

namespace vantor::editing {

struct CatalogueNode {
    std::string text;
    int image = 0;
    std::vector<CatalogueNode> children;
};

const std::vector<CatalogueNode>& catalogueTree();

} // namespace vantor::editing
