#include "markup/CXmlDoc.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace vantor::markup {
namespace {

namespace fs = std::filesystem;

class MarkupFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("markup-test-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static void write(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

struct EncodingCase {
    const char* name;
    std::string file;     // bytes on disk
    std::string document; // GBK text after Load
};

class FileEncoding : public MarkupFile, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(FileEncoding, LoadsAndSavesBack) {
    const EncodingCase& c = GetParam();
    write(path("in.xml"), c.file);
    CXmlDoc doc;
    ASSERT_TRUE(doc.Load(path("in.xml")));
    EXPECT_EQ(doc.GetDoc(), c.document);
    EXPECT_EQ(doc.GetResult(), std::to_string(c.file.size()) + " bytes");
    ASSERT_TRUE(doc.Save(path("out.xml")));
    EXPECT_EQ(read(path("out.xml")), c.file);
    EXPECT_EQ(doc.GetResult(), std::to_string(c.file.size()) + " bytes");
}

// "中文" is E4 B8 AD E6 96 87 in UTF-8 and D6 D0 CE C4 in GBK.
INSTANTIATE_TEST_SUITE_P(
    Markup, FileEncoding,
    ::testing::Values(
        EncodingCase{"Gb2312ByteForByte",
                     "<?xml version='1.0' encoding='gb2312'?>\r\n<r n=\"\xD6\xD0\xCE\xC4\"/>\r\n",
                     "<?xml version='1.0' encoding='gb2312'?>\r\n<r n=\"\xD6\xD0\xCE\xC4\"/>\r\n"},
        EncodingCase{"GbkByteForByteEvenWhenNotUtf8",
                     "<?xml version=\"1.0\" encoding=\"GBK\"?><r>\x81\x5C</r>",
                     "<?xml version=\"1.0\" encoding=\"GBK\"?><r>\x81\x5C</r>"},
        EncodingCase{"NoDeclarationIsUtf8", "<r n=\"\xE4\xB8\xAD\xE6\x96\x87\"/>",
                     "<r n=\"\xD6\xD0\xCE\xC4\"/>"},
        EncodingCase{"DeclarationWithoutEncodingIsUtf8", "<?xml version='1.0'?><r>\xE4\xB8\xAD</r>",
                     "<?xml version='1.0'?><r>\xD6\xD0</r>"},
        EncodingCase{"Utf8AnyCase", "<?xml version='1.0' encoding='utf-8'?><r>\xE6\x96\x87</r>",
                     "<?xml version='1.0' encoding='utf-8'?><r>\xCE\xC4</r>"},
        EncodingCase{"Utf8FirstFiveCharactersOnly",
                     "<?xml version='1.0' encoding='UTF-8x'?><r>\xE6\x96\x87</r>",
                     "<?xml version='1.0' encoding='UTF-8x'?><r>\xCE\xC4</r>"}),
    [](const ::testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.name); });

TEST_F(MarkupFile, ByteOrderMarkIsDroppedAndMeansUtf8) {
    write(path("bom.xml"), "\xEF\xBB\xBF<r>\xE4\xB8\xAD</r>");
    CXmlDoc doc;
    ASSERT_TRUE(doc.Load(path("bom.xml")));
    EXPECT_EQ(doc.GetDoc(), "<r>\xD6\xD0</r>");
    EXPECT_EQ(doc.GetResult(), "13 bytes");
}

TEST_F(MarkupFile, LoadReportsParseMessagesAfterTheByteCount) {
    write(path("two.xml"), "<a/><b/>");
    CXmlDoc doc;
    EXPECT_TRUE(doc.Load(path("two.xml")));
    EXPECT_EQ(doc.GetResult(), "8 bytes, Root element has sibling");
    EXPECT_TRUE(doc.FindElem("b"));
}

TEST_F(MarkupFile, MissingFileIsRefusedWithTheSystemText) {
    CXmlDoc doc;
    doc.SetDoc("<keep/>");
    EXPECT_FALSE(doc.Load(path("missing.xml")));
    EXPECT_EQ(doc.GetResult(), std::strerror(ENOENT));
    EXPECT_EQ(doc.GetDoc(), "<keep/>");
}

TEST_F(MarkupFile, SaveIntoMissingFolderFailsAndLeavesNothing) {
    CXmlDoc doc;
    doc.SetDoc("<r/>");
    EXPECT_FALSE(doc.Save(path("no/such/folder.xml")));
    EXPECT_EQ(doc.GetResult(), std::strerror(ENOENT));
}

TEST_F(MarkupFile, FailedSaveKeepsThePreviousFile) {
    // The target is a folder holding a file: it cannot be replaced, and what
    // it held must survive.
    fs::create_directories(path("target"));
    write(path("target/inside"), "old");
    CXmlDoc doc;
    doc.SetDoc("<r/>");
    EXPECT_FALSE(doc.Save(path("target")));
    EXPECT_FALSE(doc.GetResult().empty());
    EXPECT_EQ(read(path("target/inside")), "old");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_))
        ++entries;
    EXPECT_EQ(entries, 1); // no temporary file left beside it
}

TEST_F(MarkupFile, SaveReplacesAndLeavesNoTemporary) {
    write(path("p.xml"), "previous");
    CXmlDoc doc;
    doc.SetDoc("<?xml version='1.0' encoding='gb2312'?>\r\n<r/>\r\n");
    ASSERT_TRUE(doc.Save(path("p.xml")));
    EXPECT_EQ(read(path("p.xml")), doc.GetDoc());
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(MarkupFile, AccessAddressFileRoundTrip) {
    write(path("ETHOption.xml"),
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ETHOption>\r\n<ip>10.0.0.2</ip>\r\n"
          "</ETHOption>\r\n");
    CXmlDoc doc;
    ASSERT_TRUE(doc.Load(path("ETHOption.xml")));
    ASSERT_TRUE(doc.FindElem("ETHOption"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.FindElem("ip"));
    EXPECT_EQ(doc.GetData(), "10.0.0.2");
    ASSERT_TRUE(doc.SetData("192.168.1.15"));
    ASSERT_TRUE(doc.Save(path("ETHOption.xml")));
    EXPECT_EQ(read(path("ETHOption.xml")), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ETHOption>\r\n"
                                           "<ip>192.168.1.15</ip>\r\n</ETHOption>\r\n");
}

} // namespace
} // namespace vantor::markup
