#pragma once
// The small form of "批量复制" in both configurators: how many copies of the
// selected slave to make and how far apart their addresses lie.
#include "common/MessageSink.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor::editing {

struct CopiesForm {
    std::string countText = "1"; // "复制数量："
    std::string stepText = "1";  // "地址间隔："
};

struct CopiesRequest {
    int count = 0;
    int step = 0;
};

// Both fields hold 1..255 (no copy can take an address beyond that).
inline constexpr int kMaxCopiesField = 255;

// The fields read as the other forms read numbers: digits only and not
// empty, then the range; the first fault is shown and nothing answered.
std::optional<CopiesRequest> readCopiesForm(const CopiesForm& form, MessageSink& sink);

// Made copies: their indexes in the slave array, in address order.
struct CopiesOutcome {
    bool made = false;
    std::vector<int> slaves;
};

} // namespace vantor::editing
