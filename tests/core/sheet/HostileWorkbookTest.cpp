// Hostile workbooks: each is refused with a message that says what is wrong,
// in under a second, and with bounded memory. Each read runs in a child
// process on a file, so that its peak memory is the read's alone.
#include "ChildRun.h"
#include "ZipBuilder.h"

#include "sheet/WorkbookReader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using namespace vantor;
namespace t = vantor::testing;

std::string repeated(const std::string& unit, std::size_t bytes) {
    std::string s;
    s.reserve(bytes + unit.size());
    while (s.size() < bytes)
        s += unit;
    return s;
}

std::string manyRows(int count) {
    std::string rows;
    for (int r = 1; r <= count; ++r)
        rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\"><v>1</v></c></row>";
    return rows;
}

// The sizes a zip declares for the sheet's entry, in its local header and
// in the central directory, overwritten with `size`: the container lies.
std::string declaringSize(std::string zip, uint32_t size) {
    const std::string name = "xl/worksheets/sheet1.xml";
    auto patch = [&](const char* signature, std::size_t nameLength, std::size_t nameAt, std::size_t sizeAt) {
        for (std::size_t at = zip.find(signature); at != std::string::npos;
             at = zip.find(signature, at + 4)) {
            uint16_t n = 0;
            std::memcpy(&n, &zip[at + nameLength], 2);
            if (zip.compare(at + nameAt, n, name) == 0)
                std::memcpy(&zip[at + sizeAt], &size, 4);
        }
    };
    patch("PK\x03\x04", 26, 30, 22);
    patch("PK\x01\x02", 28, 46, 24);
    return zip;
}

// Runs `f` in a child process (the parent never holds the large inputs, so
// the peak is the read's own) and answers what it returned.
std::string inChild(const std::function<std::string()>& f, long* peakKb = nullptr) {
    const vantor::testing::ChildResult r = vantor::testing::runInChild(f);
    EXPECT_TRUE(r.exited) << "a child died";
    if (peakKb)
        *peakKb = r.peakKb;
    return r.out;
}

struct Hostile {
    const char* name;
    std::function<std::string()> make;
    const char* says; // part of the message
};

const std::vector<Hostile>& hostiles() {
    static const std::vector<Hostile> all = {
        {"Sheet50MBStored",
         [] { return t::zipOf(t::minimalParts(repeated("<row><c><v>1</v></c></row>", 50u << 20)), true); },
         "工作簿文件过大"},
        {"Sheet50MBDeflated",
         [] { return t::zipOf(t::minimalParts(repeated("<row><c><v>1</v></c></row>", 50u << 20))); },
         "解压后超过 8 MB"},
        {"ZipBombDeclaringSmallSizes",
         [] { return declaringSize(t::zipOf(t::minimalParts(std::string(200u << 20, ' '))), 1000); },
         "解压后超过 8 MB"},
        {"Nested100000Deep",
         [] { return t::zipOf(t::minimalParts(repeated("<x>", 300000) + repeated("</x>", 400000))); },
         "嵌套过深"},
        {"MillionRows", [] { return t::zipOf(t::minimalParts(manyRows(1000000))); }, "解压后超过 8 MB"},
        {"TwentyThousandRows", [] { return t::zipOf(t::minimalParts(manyRows(20000))); }, "超过10000行"},
        {"MillionElements", [] { return t::zipOf(t::minimalParts(repeated("<b/>", 4u << 20))); }, "元素过多"},
    };
    return all;
}

class HostileWorkbooks : public ::testing::TestWithParam<std::size_t> {};

TEST_P(HostileWorkbooks, AreRefusedQuicklyWithinMemory) {
    const Hostile& h = hostiles()[GetParam()];
    const auto path =
        std::filesystem::temp_directory_path() / ("vantor-hostile-" + std::to_string(::getpid()) + ".xlsx");
    inChild([&] {
        const std::string bytes = h.make();
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return std::string();
    });
    long peakKb = 0;
    const std::string out = inChild(
        [&] {
            const auto begin = std::chrono::steady_clock::now();
            const auto book = sheet::readWorkbook(path.string());
            const auto ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin);
            return std::to_string(ms.count()) + "\n" + (book.ok ? "" : book.error);
        },
        &peakKb);
    std::filesystem::remove(path);
    const auto newline = out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const double ms = std::stod(out.substr(0, newline));
    const std::string message = out.substr(newline + 1);
    EXPECT_NE(message.find(h.says), std::string::npos) << h.name << ": \"" << message << "\"";
    EXPECT_LT(ms, 1000) << h.name;
    // The sanitizers' shadow memory included (the largest peak is about 40 MB).
    EXPECT_LT(peakKb, 96 * 1024) << h.name;
    std::printf("[ measured ] %-28s %7.1f ms  peak %4ld MB  %s\n", h.name, ms, peakKb / 1024,
                message.c_str());
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileWorkbooks, ::testing::Range<std::size_t>(0, hostiles().size()),
                         [](const auto& info) { return std::string(hostiles()[info.param].name); });

} // namespace
