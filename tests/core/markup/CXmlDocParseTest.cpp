#include "Walk.h"
#include "markup/CXmlDoc.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor::markup {
namespace {

using testing::walk;

struct ParseCase {
    const char* name;
    std::string text;
    bool ok;
    std::string result;
    std::string tree; // what stays navigable
};

class ParseResult : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseResult, RecordsMessagesAndKeepsWhatItDelimited) {
    const ParseCase& c = GetParam();
    CXmlDoc doc;
    EXPECT_EQ(doc.SetDoc(c.text), c.ok);
    EXPECT_EQ(doc.GetResult(), c.result);
    EXPECT_EQ(doc.GetDoc(), c.text); // parsing never changes the text
    EXPECT_EQ(walk(doc), c.tree);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, ParseResult,
    ::testing::Values(
        ParseCase{"Empty", "", false, "Empty document", ""},
        ParseCase{"Blank", " \r\n\t", false, "Empty document", ""},
        ParseCase{"DeclarationOnly", "<?xml version='1.0' encoding='gb2312'?>\r\n", false, "No root element",
                  ""},
        ParseCase{"TextOnly", "hello", false, "No root element", ""},
        ParseCase{"TwoRoots", "<a/>\r\n<b/>\r\n", false, "Root element has sibling", "a b"},
        ParseCase{"DigitAttributes", "<a 0=\"1\" 255=\"7\"/>", true, "", "a"},
        ParseCase{"EveryNodeKind",
                  "<?xml version='1.0'?>\r\n<!DOCTYPE r [<!ELEMENT r ANY>]>\r\n<!-- c -->\r\n"
                  "<r><![CDATA[<x>]]><?pi x?><s a='>'/></r>\r\n",
                  true, "", "r(s)"},
        ParseCase{"GbkNames", "<\xD6\xD0 \xCE\xC4=\"1\"><\x81\x40/></\xD6\xD0>", true, "",
                  "\xD6\xD0(\x81\x40)"},
        ParseCase{"QuotedTagCharacters", "<a x=\"1>2/>\" y='\"'/>", true, "", "a"},
        ParseCase{"BareAndUnquotedAttributes", "<a b c=1 d = '2'/>", true, "", "a"},
        ParseCase{"BadNameCharacter", "<r>a < b<1/><c/></r>", false,
                  "Incorrect tag name character at offset 6, Incorrect tag name character at offset 9",
                  "r(c)"},
        ParseCase{"BadBangTag", "<r><!x><c/></r>", false, "Incorrect ! tag at offset 3", "r(c)"},
        ParseCase{"BadCommentTag", "<r><!-x--><c/></r>", false, "Incorrect comment tag at offset 3", "r(c)"},
        ParseCase{"BadEndTagName", "<r></ r><c/></r>", false, "Incorrect tag at offset 3", "r(c)"},
        ParseCase{"StartTagUnterminated", "<r><c/><a x='1></r>", false,
                  "Element tag at offset 7 unterminated, Element 'r' at offset 0 not ended", "r(c)"},
        ParseCase{"EndTagUnterminated", "<r><c/></r", false,
                  "Element end tag at offset 7 unterminated, Element 'r' at offset 0 not ended", "r(c)"},
        ParseCase{"CdataUnterminated", "<r><c/><![CDATA[x</r>", false,
                  "CDATA Section at offset 7 unterminated, Element 'r' at offset 0 not ended", "r(c)"},
        ParseCase{"PiUnterminated", "<?xml version='1.0'", false,
                  "Processing instruction at offset 0 unterminated, No root element", ""},
        ParseCase{"CommentUnterminated", "<r/><!-- x", false, "Comment at offset 4 unterminated", "r"},
        ParseCase{"DoctypeUnterminated", "<!DOCTYPE r [<!ELEMENT r ANY>", false,
                  "Doctype at offset 0 unterminated, No root element", ""},
        ParseCase{"LoneAngleAtEnd", "<r/><", false, "tag at offset 4 unterminated", "r"},
        ParseCase{"BangCutShort", "<r/><![CD", false, "tag at offset 4 unterminated", "r"},
        ParseCase{"EndTagWithoutStart", "</a><r/>", false, "No start tag for end tag 'a' at offset 0", "r"},
        ParseCase{"EndTagMismatch", "<r><c></x></c></r>", false,
                  "End tag 'x' at offset 6 does not match start tag 'c' at offset 3", "r(c)"},
        ParseCase{"InnerNotEnded", "<r><a x='1'><b/></r>", false, "Element 'a' at offset 3 not ended",
                  "r(a(b))"},
        ParseCase{"RootNotEnded", "<r><a/>", false, "Element 'r' at offset 0 not ended", "r(a)"},
        ParseCase{
            "SeveralMessagesJoined", "<r><!x></y></r><s/>", false,
            "Incorrect ! tag at offset 3, End tag 'y' at offset 7 does not match start tag 'r' at offset 0, "
            "Root element has sibling",
            "r[<!x>] s"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

struct NavigationStep {
    enum Op { Find, FindAny, Into, Out } op;
    const char* name;
    bool expected;
    const char* currentAfter; // tag name of the current element afterwards
};

struct NavigationCase {
    const char* name;
    std::string text;
    std::vector<NavigationStep> steps;
};

class Navigation : public ::testing::TestWithParam<NavigationCase> {};

TEST_P(Navigation, FollowsTheCursorRules) {
    CXmlDoc doc;
    doc.SetDoc(GetParam().text);
    int i = 0;
    for (const NavigationStep& s : GetParam().steps) {
        bool got = false;
        switch (s.op) {
        case NavigationStep::Find:
            got = doc.FindElem(s.name);
            break;
        case NavigationStep::FindAny:
            got = doc.FindElem();
            break;
        case NavigationStep::Into:
            got = doc.IntoElem();
            break;
        case NavigationStep::Out:
            got = doc.OutOfElem();
            break;
        }
        EXPECT_EQ(got, s.expected) << "step " << i;
        EXPECT_EQ(doc.GetTagName(), s.currentAfter) << "step " << i;
        ++i;
    }
}

using S = NavigationStep;
const std::string sample = "<r>\r\n<a id='1'/>\r\n<b><c/><d/></b>\r\n<a id='2'/>\r\n<e/>\r\n</r>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Markup, Navigation,
    ::testing::Values(
        NavigationCase{"NeverBackwards",
                       sample,
                       {{S::Find, "r", true, "r"},
                        {S::Into, "", true, ""},
                        {S::Find, "b", true, "b"},
                        {S::Find, "a", true, "a"},
                        {S::Find, "b", false, "a"},
                        {S::Find, "a", false, "a"},
                        {S::Find, "e", true, "e"}}},
        NavigationCase{"AnyName",
                       sample,
                       {{S::Find, "r", true, "r"},
                        {S::Into, "", true, ""},
                        {S::FindAny, "", true, "a"},
                        {S::FindAny, "", true, "b"},
                        {S::FindAny, "", true, "a"},
                        {S::FindAny, "", true, "e"},
                        {S::FindAny, "", false, "e"}}},
        NavigationCase{"TopLevel",
                       sample,
                       {{S::Into, "", false, ""},
                        {S::Out, "", false, ""},
                        {S::Find, "x", false, ""},
                        {S::Find, "r", true, "r"},
                        {S::Out, "", false, "r"},
                        {S::FindAny, "", false, "r"}}},
        NavigationCase{"IntoAndOut",
                       sample,
                       {{S::Find, "r", true, "r"},
                        {S::Into, "", true, ""},
                        {S::Find, "b", true, "b"},
                        {S::Into, "", true, ""},
                        {S::Find, "d", true, "d"},
                        {S::Into, "", true, ""},
                        {S::FindAny, "", false, ""},
                        {S::Out, "", true, "d"},
                        {S::Out, "", true, "b"},
                        {S::Find, "e", true, "e"},
                        {S::Out, "", true, "r"},
                        {S::Out, "", false, "r"}}},
        NavigationCase{
            "BothRootsReachable", "<a/><b/>", {{S::Find, "a", true, "a"}, {S::Find, "b", true, "b"}}},
        NavigationCase{"EmptyDocument", "", {{S::FindAny, "", false, ""}, {S::Into, "", false, ""}}}),
    [](const ::testing::TestParamInfo<NavigationCase>& info) { return std::string(info.param.name); });

TEST(MarkupNavigation, IntoSearchesFromTheFirstChildAgain) {
    CXmlDoc doc;
    doc.SetDoc(sample);
    ASSERT_TRUE(doc.FindElem("r"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_EQ(doc.GetAttrib("id"), "1");
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_EQ(doc.GetAttrib("id"), "2");
    ASSERT_TRUE(doc.OutOfElem());
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_EQ(doc.GetAttrib("id"), "1");
}

struct ValueCase {
    const char* name;
    std::string raw;      // as it stands in the text
    std::string expected; // as read
};

class Unescape : public ::testing::TestWithParam<ValueCase> {};

TEST_P(Unescape, AttributeAndContentReadTheSame) {
    const ValueCase& c = GetParam();
    CXmlDoc doc;
    doc.SetDoc("<a v=\"" + c.raw + "\">" + c.raw + "</a>");
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_EQ(doc.GetAttrib("v"), c.expected);
    EXPECT_EQ(doc.GetData(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Unescape,
    ::testing::Values(
        ValueCase{"Plain", "abc", "abc"}, ValueCase{"Named", "&lt;&gt;&amp;&apos;&quot;", "<>&'\""},
        ValueCase{"NamedTwice", "&amp;lt;", "&lt;"}, ValueCase{"Decimal", "x&#65;y", "xAy"},
        ValueCase{"Hex", "&#x41;&#x4a;", "AJ"}, ValueCase{"ChineseDecimal", "&#20013;", "\xD6\xD0"},
        ValueCase{"ChineseHex", "&#x6587;", "\xCE\xC4"},
        ValueCase{"DecimalTooLong", "&#123456;", "&#123456;"},
        ValueCase{"HexTooLong", "&#x1F600;", "&#x1F600;"},
        ValueCase{"LeadingZerosTooLong", "&#000065;", "&#000065;"},
        ValueCase{"NoSemicolon", "&#65 x", "&#65 x"}, ValueCase{"NoDigits", "&#;&#x;", "&#;&#x;"},
        ValueCase{"UpperX", "&#X41;", "&#X41;"}, ValueCase{"Unknown", "&nbsp;&", "&nbsp;&"},
        ValueCase{"GbkTrailBytes", "\x81\x5C\x81\x7C\xD6\xD0", "\x81\x5C\x81\x7C\xD6\xD0"}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(MarkupRead, DigitAttributeNames) {
    CXmlDoc doc;
    ASSERT_TRUE(doc.SetDoc("<a 0=\"1\" 255=\"7\"/>"));
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_EQ(doc.GetAttrib("255"), "7");
    EXPECT_EQ(doc.GetAttrib("0"), "1");
    EXPECT_EQ(doc.GetAttrib("25"), "");
    EXPECT_EQ(doc.GetAttrib("2550"), "");
}

TEST(MarkupRead, AttributesInAnyOrderAndForms) {
    CXmlDoc doc;
    doc.SetDoc("<a b c=1 d = '2' e=\"x'y\" f='x\"y'>\r\n</a>");
    ASSERT_TRUE(doc.FindElem("a"));
    const std::pair<const char*, const char*> expected[] = {{"f", "x\"y"}, {"d", "2"}, {"c", "1"},
                                                            {"e", "x'y"},  {"b", ""},  {"missing", ""}};
    for (const auto& [name, value] : expected)
        EXPECT_EQ(doc.GetAttrib(name), value) << name;
}

TEST(MarkupRead, DataSkipsCommentsAndKeepsCdata) {
    const std::pair<std::string, std::string> cases[] = {
        {"<a>x<!-- y -->z</a>", "xz"},
        {"<a><![CDATA[<&amp;>]]></a>", "<&amp;>"},
        {"<a>1 &lt; 2<?pi?></a>", "1 < 2"},
        {"<a/>", ""},
        {"<a>text<b/></a>", ""}, // an element with children has no data of its own
    };
    for (const auto& [text, data] : cases) {
        CXmlDoc doc;
        doc.SetDoc(text);
        ASSERT_TRUE(doc.FindElem("a")) << text;
        EXPECT_EQ(doc.GetData(), data) << text;
    }
}

TEST(MarkupRead, NothingCurrentGivesEmptyTexts) {
    CXmlDoc doc;
    doc.SetDoc("<a x='1'>d</a>");
    EXPECT_EQ(doc.GetAttrib("x"), "");
    EXPECT_EQ(doc.GetData(), "");
    EXPECT_EQ(doc.GetTagName(), "");
    EXPECT_FALSE(doc.SetAttrib("x", "2"));
    EXPECT_FALSE(doc.SetData("e"));
    EXPECT_EQ(doc.GetDoc(), "<a x='1'>d</a>");
}

} // namespace
} // namespace vantor::markup
