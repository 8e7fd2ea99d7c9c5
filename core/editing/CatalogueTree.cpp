#include "editing/CatalogueTree.h"

#include "editing/ProjectEditor.h"
#include "model/CommandKind.h"
#include "model/GatewayCatalogue.h"

namespace vantor::editing {

const std::vector<CatalogueNode>& catalogueTree() {
    static const std::vector<CatalogueNode> tree = [] {
        CatalogueNode masters{std::string(kMasterRoot), 0, {}};
        for (const auto& m : model::gatewayModels())
            masters.children.push_back({std::string(m.name), 3, {}});
        CatalogueNode ports{std::string(kComRoot), 1, {}};
        for (int p = 1; p <= 6; ++p)
            ports.children.push_back({"COM" + std::to_string(p), 3, {}});
        CatalogueNode slave{std::string(kNormalSlave), 3, {}};
        for (const auto& k : model::kCommandKinds)
            slave.children.push_back({std::string(k.func), 4, {}});
        CatalogueNode slaves{std::string(kSlaveRoot), 2, {slave}};
        return std::vector<CatalogueNode>{masters, ports, slaves};
    }();
    return tree;
}

} // namespace vantor::editing
