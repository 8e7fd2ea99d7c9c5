#pragma once
// The VantorNet gateway: a name (the model name), its place in the view
// and its bitmap name, as in Vantor; a new one is placed at 200, 50.
#include "model/CMaster.h"

namespace vantor::net {

using CMaster = model::CMaster;

// The horizontal bus line of the graphic view.
struct CBus {
    int x = 150;
    int y = 150;
    int length = 400;

    bool operator==(const CBus&) const = default;
};

} // namespace vantor::net
