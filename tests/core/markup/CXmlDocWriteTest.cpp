#include "Walk.h"
#include "markup/CXmlDoc.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor::markup {
namespace {

using testing::walk;
using testing::walkDocument;

const std::string declaration = "<?xml version='1.0' encoding='gb2312'?>\r\n";

TEST(MarkupWrite, ProjectShapedDocumentIsWrittenByteForByte) {
    CXmlDoc doc;
    doc.SetDoc(declaration);
    ASSERT_TRUE(doc.AddElem("VantorProject"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("softVer", "1.0"));
    ASSERT_TRUE(doc.AddElem("slaveAddrFlag"));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(doc.SetAttrib(std::to_string(i), static_cast<long long>(i % 2)));
    ASSERT_TRUE(doc.AddElem("MasterInfo"));
    ASSERT_TRUE(doc.SetAttrib("GW_work_mode", -1LL));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("Master"));
    ASSERT_TRUE(doc.SetAttrib("masterName", "\xCD\xF8\xB9\xD8"));
    ASSERT_TRUE(doc.SetAttrib("x", 12LL));
    ASSERT_TRUE(doc.OutOfElem());
    ASSERT_TRUE(doc.AddElem("SlaveInfo"));
    ASSERT_TRUE(doc.OutOfElem());
    EXPECT_EQ(doc.GetDoc(), declaration + "<VantorProject>\r\n"
                                          "<softVer>1.0</softVer>\r\n"
                                          "<slaveAddrFlag 0=\"0\" 1=\"1\" 2=\"0\"/>\r\n"
                                          "<MasterInfo GW_work_mode=\"-1\">\r\n"
                                          "<Master masterName=\"\xCD\xF8\xB9\xD8\" x=\"12\"/>\r\n"
                                          "</MasterInfo>\r\n"
                                          "<SlaveInfo/>\r\n"
                                          "</VantorProject>\r\n");
    CXmlDoc reread;
    EXPECT_TRUE(reread.SetDoc(doc.GetDoc()));
    EXPECT_EQ(reread.GetResult(), "");
}

// A sequence of edits on a starting text and the exact text it must give.
struct EditCase {
    const char* name;
    std::string start;
    void (*edit)(CXmlDoc&);
    std::string expected;
};

class Edit : public ::testing::TestWithParam<EditCase> {};

TEST_P(Edit, GivesExactText) {
    const EditCase& c = GetParam();
    CXmlDoc doc;
    doc.SetDoc(c.start);
    c.edit(doc);
    EXPECT_EQ(doc.GetDoc(), c.expected);
    // The element table kept in step with the text: navigating the edited
    // document shows the same tree as parsing its text afresh.
    doc.ResetPos();
    EXPECT_EQ(walk(doc), walkDocument(doc.GetDoc()));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, Edit,
    ::testing::Values(EditCase{"FirstChildGrowsEmptyElement", "<r/>\r\n",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.AddElem("a");
                               },
                               "<r>\r\n<a/>\r\n</r>\r\n"},
                      EditCase{"FirstChildIntoEmptyPair", "<r></r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.AddElem("a", "1");
                               },
                               "<r>\r\n<a>1</a>\r\n</r>"},
                      EditCase{"GrowthAfterSlashKeepsTagOpen", "<r x//>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.AddElem("a");
                               },
                               "<r x/ >\r\n<a/>\r\n</r>"},
                      EditCase{"DataAfterSlashKeepsTagOpen", "<r x//>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.SetData("d");
                               },
                               "<r x/ >d</r>"},
                      EditCase{"AddAfterCurrent", "<r>\r\n<a/>\r\n<b/>\r\n</r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.FindElem("a");
                                   d.AddElem("n");
                                   d.SetAttrib("k", "v");
                               },
                               "<r>\r\n<a/>\r\n<n k=\"v\"/>\r\n<b/>\r\n</r>"},
                      EditCase{"AddAtEndWithoutCurrent", "<r>\r\n<a/>\r\n</r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.AddElem("z");
                               },
                               "<r>\r\n<a/>\r\n<z/>\r\n</r>"},
                      EditCase{"AddAfterSiblingWithoutLineBreak", "<r><a/><b/></r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.FindElem("a");
                                   d.AddElem("n");
                               },
                               "<r><a/><n/>\r\n<b/></r>"},
                      EditCase{"AttributeOrderIsFirstSet", "<r/>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.SetAttrib("b", "1");
                                   d.SetAttrib("a", "2");
                                   d.SetAttrib("b", "3");
                               },
                               "<r b=\"3\" a=\"2\"/>"},
                      EditCase{"ReplaceValueKeepsFollowingElements",
                               "<r>\r\n<a x=\"1\" y='2'>t</a>\r\n<b z=\"3\"/>\r\n</r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.FindElem("a");
                                   d.SetAttrib("x", "a longer value");
                                   d.SetAttrib("y", "");
                                   d.FindElem("b");
                                   d.SetAttrib("z", "4");
                               },
                               "<r>\r\n<a x=\"a longer value\" y=\"\">t</a>\r\n<b z=\"4\"/>\r\n</r>"},
                      EditCase{"ValueForBareAttribute", "<r b/>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.SetAttrib("b", "1");
                               },
                               "<r b=\"1\"/>"},
                      EditCase{"AttributeOnParentMovesChildren", "<r>\r\n<a/>\r\n</r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.SetAttrib("k", "v");
                                   d.IntoElem();
                                   d.FindElem("a");
                                   d.SetAttrib("m", "w");
                               },
                               "<r k=\"v\">\r\n<a m=\"w\"/>\r\n</r>"},
                      EditCase{"SetDataOnEmptyElement", "<r>\r\n<ip/>\r\n<z/>\r\n</r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.FindElem("ip");
                                   d.SetData("192.168.1.15");
                                   d.FindElem("z");
                                   d.SetAttrib("q", "1");
                               },
                               "<r>\r\n<ip>192.168.1.15</ip>\r\n<z q=\"1\"/>\r\n</r>"},
                      EditCase{"SetDataReplacesAndEscapes", "<r><ip>10.0.0.1</ip></r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   d.IntoElem();
                                   d.FindElem("ip");
                                   d.SetData("a<b&c>\"'");
                                   d.SetData("x&y");
                               },
                               "<r><ip>x&amp;y</ip></r>"},
                      EditCase{"SetDataRefusedWithChildren", "<r><a/></r>",
                               [](CXmlDoc& d) {
                                   d.FindElem("r");
                                   EXPECT_FALSE(d.SetData("x"));
                               },
                               "<r><a/></r>"},
                      EditCase{"EscapedContentAndAttribute", "",
                               [](CXmlDoc& d) {
                                   d.AddElem("a", "<\"&'>");
                                   d.SetAttrib("v", "<\"&'>");
                               },
                               "<a v=\"&lt;&quot;&amp;&apos;&gt;\">&lt;\"&amp;'&gt;</a>\r\n"},
                      EditCase{
                          "DeepNestingBuiltAndLeft", "<?xml version='1.0'?>\r\n",
                          [](CXmlDoc& d) {
                              d.AddElem("a");
                              d.IntoElem();
                              d.AddElem("b");
                              d.IntoElem();
                              d.AddElem("c");
                              d.OutOfElem();
                              d.AddElem("d");
                              d.OutOfElem();
                              d.AddElem("e");
                          },
                          "<?xml version='1.0'?>\r\n<a>\r\n<b>\r\n<c/>\r\n</b>\r\n<d/>\r\n</a>\r\n<e/>\r\n"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(MarkupWrite, RefusesNamesThatCannotBeReadBack) {
    CXmlDoc doc;
    doc.SetDoc("<r/>");
    EXPECT_FALSE(doc.AddElem(""));
    EXPECT_FALSE(doc.AddElem("1a"));
    EXPECT_FALSE(doc.AddElem("a b"));
    ASSERT_TRUE(doc.FindElem("r"));
    EXPECT_FALSE(doc.SetAttrib("", "x"));
    EXPECT_FALSE(doc.SetAttrib("a=b", "x"));
    EXPECT_FALSE(doc.SetAttrib("a>", "x"));
    EXPECT_EQ(doc.GetDoc(), "<r/>");
}

class RoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTrip, ValueReadsBackThroughEditAndReparse) {
    const std::string& value = GetParam();
    CXmlDoc doc;
    doc.SetDoc();
    ASSERT_TRUE(doc.AddElem("r"));
    ASSERT_TRUE(doc.SetAttrib("v", value));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("c", value));
    ASSERT_TRUE(doc.AddElem("d"));
    ASSERT_TRUE(doc.SetData(value));
    ASSERT_TRUE(doc.OutOfElem());
    EXPECT_EQ(doc.GetAttrib("v"), value);

    CXmlDoc reread;
    ASSERT_TRUE(reread.SetDoc(doc.GetDoc())) << reread.GetResult();
    ASSERT_TRUE(reread.FindElem("r"));
    EXPECT_EQ(reread.GetAttrib("v"), value);
    ASSERT_TRUE(reread.IntoElem());
    ASSERT_TRUE(reread.FindElem("c"));
    EXPECT_EQ(reread.GetData(), value);
    ASSERT_TRUE(reread.FindElem("d"));
    EXPECT_EQ(reread.GetData(), value);
}

INSTANTIATE_TEST_SUITE_P(Markup, RoundTrip,
                         ::testing::Values("<\"&'>", "&amp;", "&#65;", "a > b", "x\"y'z", "\xD6\xD0\xCE\xC4",
                                           "\x81\x5C\x81\x7C\x81\x40\xFE\x7E", "trailing &", "]]>",
                                           "tab\tline\r\n"));

TEST(MarkupWrite, TwoHundredFiftySixDigitAttributes) {
    CXmlDoc doc;
    doc.SetDoc("<?xml version='1.0' encoding='gb2312'?>\r\n");
    doc.AddElem("VantorProject");
    doc.IntoElem();
    doc.AddElem("slaveAddrFlag");
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(doc.SetAttrib(std::to_string(i), static_cast<long long>(i * 3 % 7)));
    doc.AddElem("globalValue");
    doc.SetAttrib("addType", 1LL);
    ASSERT_TRUE(doc.OutOfElem());
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("slaveAddrFlag"));
    for (int i = 255; i >= 0; i -= 5)
        EXPECT_EQ(doc.GetAttrib(std::to_string(i)), std::to_string(i * 3 % 7)) << i;

    CXmlDoc reread;
    ASSERT_TRUE(reread.SetDoc(doc.GetDoc()));
    reread.FindElem("VantorProject");
    reread.IntoElem();
    ASSERT_TRUE(reread.FindElem("slaveAddrFlag"));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(reread.GetAttrib(std::to_string(i)), std::to_string(i * 3 % 7)) << i;
    ASSERT_TRUE(reread.FindElem("globalValue"));
    EXPECT_EQ(reread.GetAttrib("addType"), "1");
}

} // namespace
} // namespace vantor::markup
