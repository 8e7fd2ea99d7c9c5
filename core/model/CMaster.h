#pragma once
// The gateway: its model name decides every model rule.
#include <string>

namespace vantor::model {

struct CMaster {
    std::string masterName;
    int x = 35;
    int y = 35;
    std::string bitmap;

    bool operator==(const CMaster&) const = default;
};

} // namespace vantor::model
