#include "text/Gbk.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

using namespace vantor::text;

TEST(ReadDecimal, LenientPrefixes) {
    struct Case {
        const char* in;
        int32_t out;
    } cases[] = {
        // clang-format off
        {"", 0},      {"   ", 0},   {"abc", 0},   {"12", 12},   {"  42xyz", 42}, {"-7", -7},
        {"+9", 9},    {" -0", 0},   {"3.9", 3},   {"\t15", 15}, {"--5", 0},      {"- 5", 0},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"1e3", 1},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(readDecimal(c.in), c.out) << '"' << c.in << '"';
}

TEST(ZeroFill, PadsOnlyShortTexts) {
    EXPECT_EQ(zeroFill(7, 5), "00007");
    EXPECT_EQ(zeroFill(12345, 5), "12345");
    EXPECT_EQ(zeroFill(123456, 5), "123456");
    EXPECT_EQ(zeroFill(0, 1), "0");
    EXPECT_EQ(zeroFill(40001, 6), "040001");
}

TEST(Gbk, RoundTripsChineseAndAscii) {
    const std::string samples[] = {"", "SLAVE", "从站状态", "读0区 01H", "写4区 10H 写多字", "a&<\"'>b"};
    for (const auto& s : samples) {
        auto g = toGbk(s);
        ASSERT_TRUE(g.has_value()) << s;
        EXPECT_EQ(fromGbk(*g), s);
    }
    EXPECT_EQ(*toGbk("错误"), "\xB4\xED\xCE\xF3");
}

TEST(Gbk, ByteLengthCountsChineseAsTwo) {
    EXPECT_EQ(gbkLength("SLAVE"), 5u);
    EXPECT_EQ(gbkLength("从站"), 4u);
    EXPECT_EQ(gbkLength("A从B"), 4u);
}

TEST(Gbk, RefusesWhatGbkCannotHold) {
    // An emoji and a Hangul syllable have no GBK form; invalid UTF-8 is refused too.
    for (const char* s : {"\xF0\x9F\x98\x80", "x\xEA\xB0\x80", "\xFF\xFE"}) {
        EXPECT_FALSE(toGbk(s).has_value()) << s;
        EXPECT_FALSE(gbkLength(s).has_value()) << s;
    }
    EXPECT_EQ(toGbkLossy("a\xF0\x9F\x98\x80"
                         "b"),
              "a?b");
}

TEST(Gbk, DamagedGbkStillReads) {
    // A lone lead byte at the end and an invalid pair become replacement characters.
    EXPECT_EQ(fromGbk("ab\x81"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(fromGbk("\xB4\xED"), "错");
}

TEST(Gbk, NumericReferences) {
    EXPECT_EQ(codePointToGbk(0x41), "A");
    EXPECT_EQ(codePointToGbk(0x9519), "\xB4\xED"); // 错
    EXPECT_EQ(codePointToGbk(0x1F600), "?");
    EXPECT_EQ(codePointToGbk(0), "?");
    EXPECT_EQ(codePointToGbk(0xD800), "?");
}

TEST(Gbk, Utf16Container) {
    std::string wide("A\0\x19\x95", 4); // "A错" in UTF-16LE
    EXPECT_EQ(utf16leToGbk(wide), "A\xB4\xED");
}

TEST(HexDigit, BothCasesAndNothingElse) {
    const std::pair<char, int> cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15}, {'A', 10}, {'F', 15},
                                          {'g', -1}, {'G', -1}, {'/', -1}, {':', -1}, {'@', -1}, {' ', -1}};
    for (auto [c, v] : cases)
        EXPECT_EQ(hexDigitValue(c), v) << c;
}
