// Messages composed from a template and the user's names and numbers: in the
// user's language through an installed translator, exactly as written without
// one (the command-line tool, the stored files).
#include "editing/AddressingModeForm.h"
#include "editing/CopiesForm.h"
#include "editing/LineBudget.h"
#include "editing/ProjectEditor.h"
#include "editing/SlaveCopies.h"
#include "markup/ArchiveString.h"
#include "model/GatewayCatalogue.h"
#include "view/GraphicScene.h"

#include "EditingFixtures.h"

#include "FakeTranslator.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vantor;
using vantor::testing::addTestSlave;

namespace {

// The English of the templates and pieces the cases compose; anything else
// stays as it is.
const vantor::testing::English kEnglish = {
    {"远端选择方式不能有相同的从站地址 地址相同的从站有%s:%d和%s:%d",
     "Same slave address on %s:%d and %s:%d"},
    {"%s有非法字符", "%s contains invalid characters"},
    {"复制数量", "Number of copies"},
    {"%s只有%d个COM口", "%s has only %d COM ports"},
    {"%s的%s已经存在", "%s already has %s"},
    {"地址%d已经被占用,请更换地址间隔或复制数量", "Address %d is in use"},
    {"设备型号不匹配 配置设备为%s 实际设备为%s", "Model mismatch: configured %s, actual %s"},
    {"未知设备", "Unknown device"},
    {"当前寻址方式:  %s", "Addressing:  %s"},
    {"远端从站寻址", "Remote slave"},
    {"%s 轮询周期约 %ld ms", "%s poll cycle about %ld ms"},
    {"无法打开文件 %s", "Cannot open file %s"},
};

// Two slaves with address 3 on COM1 and COM2, COM1 selected.
model::CVantorDoc sharedAddress() {
    auto doc = vantor::testing::project("KX-P2R0-1.0", {"COM1", "COM2"});
    addTestSlave(doc, "COM1", 3);
    addTestSlave(doc, "COM2", 3);
    doc.selectedItem = doc.comItem(0);
    return doc;
}

std::string firstMessage(const std::function<void(MessageSink&)>& run) {
    RecordingSink sink;
    run(sink);
    return sink.messages.empty() ? std::string() : sink.messages.front().text;
}

TEST(ShownMessagesTest, composedMessagesFollowTheInstalledLanguage) {
    const vantor::testing::FakeTranslator english(kEnglish);
    const struct {
        const char* name;
        std::function<std::string()> compose;
        std::string chinese;
        std::string english;
    } cases[] = {
        {"remote addressing with a shared address",
         [] {
             auto doc = sharedAddress();
             return firstMessage([&](MessageSink& s) { editing::acceptAddressingModeForm(doc, {true}, s); });
         },
         "远端选择方式不能有相同的从站地址 地址相同的从站有COM2:3和COM1:3",
         "Same slave address on COM2:3 and COM1:3"},
        {"copies field named by a translated piece",
         [] { return firstMessage([](MessageSink& s) {
                  editing::readCopiesForm({"1a", "1"}, s);
              }); },
         "复制数量有非法字符", "Number of copies contains invalid characters"},
        {"port count of the model", [] { return editing::portNotAllowedMessage("KX-P2R0-1.0"); },
         "KX-P2R0-1.0只有2个COM口", "KX-P2R0-1.0 has only 2 COM ports"},
        {"port that exists, two-port variant by its family name",
         [] { return editing::portExistsMessage("NXE-485-ZRTU2E", "COM1"); }, "NXE-485-ZRTU2的COM1已经存在",
         "NXE-485-ZRTU2 already has COM1"},
        {"copy address taken", [] { return editing::copyAddressTaken(12); },
         "地址12已经被占用,请更换地址间隔或复制数量", "Address 12 is in use"},
        {"model mismatch with an unknown identity",
         [] { return model::modelMismatchText("KX-P2R0-1.0", {}); },
         "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备",
         "Model mismatch: configured KX-P2R0-1.0, actual Unknown device"},
        {"addressing line of the drawing",
         [] {
             auto doc = sharedAddress();
             doc.addType = 1;
             for (const auto& p : view::GraphicScene(doc).draw())
                 if (p.kind == view::Primitive::Kind::Text && p.points.front() == view::Point{100, 0})
                     return p.text;
             return std::string();
         },
         "当前寻址方式:  远端从站寻址", "Addressing:  Remote slave"},
        {"budget of the selected line", [] { return editing::selectedLineSummary(sharedAddress()); },
         "COM1 轮询周期约 0 ms", "COM1 poll cycle about 0 ms"},
        {"project file that cannot be read",
         [] {
             std::string error;
             markup::readArchiveFile("/nonexistent/a.vtc", &error);
             return error;
         },
         "无法打开文件 /nonexistent/a.vtc", "Cannot open file /nonexistent/a.vtc"},
    };
    for (const auto& c : cases) {
        english.install(false);
        EXPECT_EQ(c.compose(), c.chinese) << c.name;
        english.install(true);
        EXPECT_EQ(c.compose(), c.english) << c.name;
    }
}

TEST(ShownMessagesTest, theReportsBudgetLineStaysAsWrittenInEveryLanguage) {
    const vantor::testing::FakeTranslator english(kEnglish);
    const auto budgets = editing::lineBudgets(sharedAddress());
    EXPECT_EQ(editing::budgetSummary(budgets.at(0)), "COM1 轮询周期约 0 ms");
}

} // namespace
