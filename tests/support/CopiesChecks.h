#pragma once
// What every test of 批量复制 checks in both configurators.
#include "common/MessageSink.h"
#include "editing/CommandSpan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vantor::testing {

// A refusal shows one message and leaves the project as it was.
template <typename Doc>
void expectRefusedAlone(bool made, const RecordingSink& sink, const std::string& message, const Doc& doc,
                        const Doc& before) {
    EXPECT_FALSE(made);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{message});
    EXPECT_TRUE(doc == before) << "a refused request changed the project";
}

// Every gateway range is its own and ends inside its area.
template <typename AreaEnd>
void expectOwnRanges(const std::vector<editing::CommandSpan>& spans, AreaEnd areaEnd) {
    std::vector<std::pair<int, int>> taken[5];
    for (const auto& m : spans) {
        EXPECT_LE(m.gate + m.length, areaEnd(m.area));
        for (auto [gate, length] : taken[m.area])
            EXPECT_TRUE(m.gate + m.length <= gate || gate + length <= m.gate)
                << "area " << m.area << " at " << m.gate;
        taken[m.area].emplace_back(m.gate, m.length);
    }
}

} // namespace vantor::testing
