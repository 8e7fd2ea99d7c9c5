#pragma once
// A translator answering from a test's own table of English (any other text
// as written), installed while it lives.
#include "text/Shown.h"

#include <map>
#include <string>

namespace vantor::testing {

using English = std::map<std::string, std::string>;

class FakeTranslator {
public:
    explicit FakeTranslator(English table) {
        entries() = std::move(table);
        install(true);
    }
    ~FakeTranslator() {
        install(false);
        entries().clear();
    }
    FakeTranslator(const FakeTranslator&) = delete;
    FakeTranslator& operator=(const FakeTranslator&) = delete;

    // Off for a case that wants the texts as written.
    void install(bool on) const { text::installTranslator(on ? &lookUp : nullptr); }

private:
    static English& entries() {
        static English table;
        return table;
    }
    static std::string lookUp(const char* text) {
        const auto it = entries().find(text);
        return it == entries().end() ? text : it->second;
    }
};

} // namespace vantor::testing
