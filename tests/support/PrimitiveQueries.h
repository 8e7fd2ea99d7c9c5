#pragma once
// Looking things up in a drawing's primitives (the scene tests of both
// configurators).
#include "view/Primitives.h"

#include <string>
#include <vector>

namespace vantor::testing {

inline std::vector<const view::Primitive*> ofKind(const std::vector<view::Primitive>& all,
                                                  view::Primitive::Kind k) {
    std::vector<const view::Primitive*> out;
    for (const auto& p : all)
        if (p.kind == k)
            out.push_back(&p);
    return out;
}

// The first text primitive reading `s`, or nullptr.
inline const view::Primitive* findText(const std::vector<view::Primitive>& all, const std::string& s) {
    for (const auto& p : all)
        if (p.kind == view::Primitive::Kind::Text && p.text == s)
            return &p;
    return nullptr;
}

} // namespace vantor::testing
