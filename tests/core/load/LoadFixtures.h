#pragma once
// A scratch working directory for the address files, removed afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace vantor::load::testing {

class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-load-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void put(const std::string& relative, const std::string& bytes) {
        std::filesystem::create_directories((dir / relative).parent_path());
        std::ofstream(dir / relative, std::ios::binary) << bytes;
    }
    std::optional<std::string> get(const std::string& relative) const {
        std::ifstream in(dir / relative, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    std::filesystem::path dir;
};

} // namespace vantor::load::testing
