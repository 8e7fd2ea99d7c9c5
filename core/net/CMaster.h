#pragma once
// The VantorNet gateway; its name is the model name.
#include <string>

namespace vantor::net {

struct CMaster {
    std::string name;
    int x = 200;
    int y = 50;
    std::string bitmap;

    bool operator==(const CMaster&) const = default;
};

// The horizontal bus line of the graphic view.
struct CBus {
    int x = 150;
    int y = 150;
    int length = 400;

    bool operator==(const CBus&) const = default;
};

} // namespace vantor::net
