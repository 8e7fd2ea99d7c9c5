// The workbook reader on sheets as other programs write them (shared and
// inline strings, rich text, numbers in any decimal form, styles with date
// formats, formulas, cells without references, empty rows). What our own
// writer writes is read back by the workbook round-trip tests.
#include "ZipBuilder.h"

#include "sheet/WorkbookReader.h"

#include <gtest/gtest.h>

namespace {

using namespace vantor;
namespace t = vantor::testing;
using sheet::Cell;
using Kind = sheet::Cell::Kind;

const char* const kStyles = "<numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy\\-mm\\-dd\"/>"
                            "<numFmt numFmtId=\"165\" formatCode=\"0.00;[Red]\\-0.00\"/></numFmts>"
                            "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
                            "<xf numFmtId=\"165\"/></cellXfs>";
const char* const kShared =
    "<si><t>从站</t></si><si><r><t>COM</t></r><r><rPr/><t>1</t></r><rPh><t>x</t></rPh></si>"
    "<si><t xml:space=\"preserve\"> </t></si>";

struct CellCase {
    const char* xml; // one <c> element in row 2
    Cell expected;
};

TEST(WorkbookReader, CellsAsOtherProgramsWriteThem) {
    const CellCase cases[] = {
        {"<c r=\"A2\" t=\"s\"><v>0</v></c>", Cell::of(std::string("从站"))},
        {"<c r=\"A2\" t=\"s\"><v>1</v></c>", Cell::of(std::string("COM1"))},
        {"<c r=\"A2\" t=\"s\"><v>2</v></c>", Cell::of(std::string(" "))},
        {"<c r=\"A2\" t=\"s\"><v>9</v></c>", {Kind::Error, 0, "#REF!"}},
        {"<c r=\"A2\" t=\"inlineStr\"><is><t>网关&amp;地址</t></is></c>", Cell::of(std::string("网关&地址"))},
        {"<c r=\"A2\"><v>3.0</v></c>", Cell::of(3.0)},
        {"<c r=\"A2\" t=\"n\"><v>3E0</v></c>", Cell::of(3.0)},
        {"<c r=\"A2\" s=\"3\"><v>2.5</v></c>", Cell::of(2.5)},
        {"<c r=\"A2\" s=\"1\"><v>43832</v></c>", {Kind::Date, 43832, {}}},
        {"<c r=\"A2\" s=\"2\"><v>43832</v></c>", {Kind::Date, 43832, {}}},
        {"<c r=\"A2\" t=\"d\"><v>2020-01-02</v></c>", {Kind::Date, 0, "2020-01-02"}},
        {"<c r=\"A2\"><f>A1+1</f><v>4</v></c>", {Kind::Formula, 0, "A1+1"}},
        {"<c r=\"A2\" t=\"b\"><v>1</v></c>", {Kind::Boolean, 1, {}}},
        {"<c r=\"A2\" t=\"e\"><v>#N/A</v></c>", {Kind::Error, 0, "#N/A"}},
        {"<c r=\"A2\"><v>abc</v></c>", {Kind::Error, 0, "abc"}},
    };
    for (const auto& c : cases) {
        const std::string rows =
            std::string("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>h</t></is></c></row>") +
            "<row r=\"2\">" + c.xml + "</row>";
        const auto book = sheet::readWorkbookBytes(t::zipOf(t::minimalParts(rows, kShared, kStyles)));
        ASSERT_TRUE(book.ok) << c.xml << ": " << book.error;
        ASSERT_EQ(book.sheets.at(0).rows.size(), 2u) << c.xml;
        const Cell* got = book.sheets[0].rows[1].at(0);
        ASSERT_TRUE(got) << c.xml;
        EXPECT_EQ(*got, c.expected) << c.xml;
    }
}

TEST(WorkbookReader, RowsKeepTheirNumbersAndEmptyOnesAreLeftOut) {
    const std::string rows =
        "<row r=\"1\"><c><v>1</v></c><c><v>2</v></c><c r=\"E1\"><v>5</v></c><c><v>6</v></c></row>"
        "<row r=\"3\"><c r=\"A3\"/><c r=\"B3\" t=\"inlineStr\"><is><t></t></is></c></row>"
        "<row><c r=\"C4\"><v>7</v></c></row>";
    const auto book = sheet::readWorkbookBytes(t::zipOf(t::minimalParts(rows)));
    ASSERT_TRUE(book.ok) << book.error;
    const auto& r = book.sheets.at(0).rows;
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].number, 1);
    ASSERT_TRUE(r[0].at(1) && r[0].at(4) && r[0].at(5));
    EXPECT_EQ(r[0].at(5)->number, 6);
    EXPECT_EQ(r[1].number, 4);
    EXPECT_EQ(r[1].at(2)->number, 7);
}

TEST(WorkbookReader, DateFormats) {
    const std::pair<const char*, bool> codes[] = {
        {"yyyy-mm-dd", true},       {"h:mm", true},
        {"[h]:mm", true},           {"0.00", false},
        {"General", false},         {"\"d\"0", false},
        {"[Red]0.00", false},       {"0\\d", false},
        {"#,##0_);(#,##0)", false}, {"[$-804]yyyy\"年\"m\"月\"", true},
    };
    for (const auto& [code, date] : codes)
        EXPECT_EQ(sheet::isDateFormat(code), date) << code;
}

TEST(WorkbookReader, NotAWorkbook) {
    EXPECT_EQ(sheet::readWorkbookBytes("PK\x03\x04 not really").error, "工作簿已损坏或不是.xlsx文件");
    auto parts = t::minimalParts("");
    parts.erase(parts.begin() + 2); // the sheet's part
    EXPECT_EQ(sheet::readWorkbookBytes(t::zipOf(parts)).error, "工作簿中没有 xl/worksheets/sheet1.xml");
    parts = t::minimalParts("<row><c>");
    EXPECT_TRUE(sheet::readWorkbookBytes(t::zipOf(parts))
                    .error.starts_with("工作簿中的 xl/worksheets/sheet1.xml 不是有效的XML"));
}

} // namespace
