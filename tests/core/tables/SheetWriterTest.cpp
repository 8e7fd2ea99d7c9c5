#include "TableFixtures.h"

#include "editing/SheetWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace vantor;
using namespace vantor::testing;
using editing::SheetWriter;

namespace {
std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
} // namespace

TEST(SheetWriter, FormatByExtension) {
    struct Case {
        const char* path;
        SheetWriter::Format format;
    } cases[] = {
        {"a.xlsx", SheetWriter::Format::Workbook},
        {"A.XLSX", SheetWriter::Format::Workbook},
        {"dir.xlsx/a.csv", SheetWriter::Format::DelimitedText},
        {"a.xls", SheetWriter::Format::DelimitedText},
        {"xlsx", SheetWriter::Format::DelimitedText},
        {"", SheetWriter::Format::DelimitedText},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SheetWriter::formatFor(c.path), c.format) << c.path;
}

TEST(SheetWriter, QuotesWhereNeeded) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {" lead", "\" lead\""},
        {"读/写", "读/写"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SheetWriter::quoteField(c.in, ','), c.out) << c.in;
}

TEST(SheetWriter, HeaderFaultsAreCollectedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::vector<std::string> headers;
        std::string error;
    } cases[] = {
        {"duplicate", {"连接", "长度", "连接"}, "首行列头字段重复:连接\n"},
        {"none", {}, "添加列头时产生错误\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* ext : {".xlsx", ".csv"}) {
            auto dir = scratchDir("hdr");
            auto file = dir / (std::string("out") + ext);
            SheetWriter w(file.string());
            w.open("S");
            w.setHeaders(c.headers);
            w.addRow({"1", "2", "3"});
            EXPECT_FALSE(w.commit());
            EXPECT_FALSE(w.save());
            EXPECT_EQ(w.errors(), c.error);
            EXPECT_FALSE(std::filesystem::exists(file));
            std::filesystem::remove_all(dir);
        }
    }
}

TEST(SheetWriter, ReopenedSheetIsReplacedInPlace) {
    auto dir = scratchDir("replace");
    auto file = dir / "w.xlsx";
    SheetWriter w(file.string());
    for (const char* name : {"A", "B", "A"}) {
        w.open(name);
        w.setHeaders({"h"});
        w.addRow({std::string(name) + "-row"});
        EXPECT_EQ(w.rowCount(), 1);
        EXPECT_TRUE(w.commit());
    }
    ASSERT_TRUE(w.save()) << w.errors();
    EXPECT_EQ(readWorkbook(file), "#A\nh\nA-row\n#B\nh\nB-row\n");
    std::filesystem::remove_all(dir);
}

TEST(SheetWriter, SaveReplacesAnExistingFileAndKeepsItOnFailure) {
    auto dir = scratchDir("atomic");
    auto file = dir / "t.csv";
    { std::ofstream(file) << "old"; }
    {
        SheetWriter w(file.string());
        w.open("S");
        w.setHeaders({"a", "b"});
        w.setHeaders({"x", "x"}); // refused at commit
        w.commit();
        EXPECT_FALSE(w.save());
        EXPECT_EQ(slurp(file), "old");
    }
    SheetWriter w(file.string());
    w.open("S");
    w.setHeaders({"a", "b"});
    w.addRow({"1", "x,y"});
    w.addRow({"2"});
    ASSERT_TRUE(w.commit());
    ASSERT_TRUE(w.save()) << w.errors();
    EXPECT_EQ(slurp(file), "S\r\na,b\r\n1,\"x,y\"\r\n2\r\n");
    std::filesystem::remove_all(dir);
}

TEST(SheetWriter, InvalidSheetNameIsAnError) {
    auto dir = scratchDir("badname");
    auto file = dir / "w.xlsx";
    SheetWriter w(file.string());
    w.open("bad[name]");
    w.setHeaders({"h"});
    EXPECT_TRUE(w.commit());
    EXPECT_FALSE(w.save());
    EXPECT_EQ(w.errors(), "打开文件时产生错误\n");
    EXPECT_FALSE(std::filesystem::exists(file));
    std::filesystem::remove_all(dir);
}
