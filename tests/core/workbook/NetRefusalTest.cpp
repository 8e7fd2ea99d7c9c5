// Each refusal of VantorNet's dialogs, the device tree and the compile's
// checks, met through one changed cell (or one added row) of an exported
// workbook: the import is refused as a whole and names the sheet, the row as
// the spreadsheet shows it, the column and the check's own message. Also
// the import's own refusals (what no sheet has) and rows that depend on a
// refused row, which are not reported again.
#include "AssembledNetProjects.h"
#include "WorkbookFixtures.h"

#include "workbook/NetWorkbook.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace vantor;
namespace t = vantor::testing;
using sheet::Cell;
using t::Op;

enum class Base { Small, Dp, Full };

const net::CVantorNetDoc& base(Base b) {
    static std::map<Base, net::CVantorNetDoc> made;
    auto it = made.find(b);
    if (it != made.end())
        return it->second;
    const t::NetAssembly small{.servers = 4, .commands = 24};
    return made[b] = b == Base::Dp     ? t::assembleNetProject("QB-H-NET2.0", small)
                     : b == Base::Full ? t::assembleNetProject("KX-P1-1.0")
                                       : t::assembleNetProject("KX-P1-1.0", small);
}

struct Case {
    const char* what;
    Base base;
    t::SheetEdit edit;
    sheet::Refusal expected; // row 0 here: the changed row's number, -1 the sheet's
    bool alone = false;      // no other row is refused (what depends on it is not reported)
};

Cell N(double v) {
    return Cell::of(v);
}
Cell T(const char* s) {
    return Cell::of(std::string(s));
}

const char* const GW = workbook::kGatewaySheet;
const char* const PT = workbook::kLinesSheet;
const char* const SV = workbook::kSlavesSheet;
const char* const ND = workbook::kNodesSheet;
const char* const CM = workbook::kCommandsSheet;

// clang-format off
const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        // 网关
        {"unknown model", Base::Small, {GW, nullptr, 0, Op::Set, {{"网关型号", T("KX-P9")}}}, {GW, 0, "网关型号", "网关型号应为NXE-485-ZRTU2、KX-P1R0-1.0、NXE-485-ZRTU2E、KX-P1-1.0、QB-H-NET2.0或LNK-P1-1.0"}},
        {"second gateway", Base::Small, {GW, nullptr, 0, Op::Append, {}}, {GW, 0, "网关型号", workbook::kOneGateway}},
        {"no gateway", Base::Small, {GW, nullptr, 0, Op::ClearRows, {}}, {GW, -1, "", "请添加一个主站!"}},
        {"gateway off the drawing", Base::Small, {GW, nullptr, 0, Op::Set, {{"位置Y", N(-40)}}}, {GW, 0, "位置Y", "位置Y请添入一个-39和10000之间的整数"}},
        {"work mode", Base::Small, {GW, nullptr, 0, Op::Set, {{"工作模式", T("rtu")}}}, {GW, 0, "工作模式", "工作模式应为tcp-master+rtu-slave或tcp-master+rtu-master"}},
        // 串口
        {"port name", Base::Small, {PT, nullptr, 0, Op::Set, {{"串口", T("COM3")}}}, {PT, 0, "串口", "串口应为COM1或COM2"}},
        {"port twice", Base::Small, {PT, nullptr, 1, Op::Append, {}}, {PT, 0, "串口", workbook::kPortTwice}},
        {"gateway MODBUS address", Base::Small, {PT, nullptr, 1, Op::Set, {{"MODBUS地址", N(248)}}}, {PT, 0, "MODBUS地址", "请输入一个介于 1 和 247 之间的整数。"}},
        {"parity", Base::Small, {PT, nullptr, 0, Op::Set, {{"校验位", T("无")}}}, {PT, 0, "校验位", "校验位应为无校验、奇校验或偶校验"}},
        // 从站: the dialog's checks in their order. A server refused with its key
        // unchanged (or unreadable): its nodes and commands are not refused again;
        // one whose key changed leaves them naming a server no sheet has.
        {"IP", Base::Small, {SV, nullptr, 0, Op::Set, {{"IP地址", T("192.168.1")}}}, {SV, 0, "IP地址", "IP地址格式错误"}},
        {"unit format", Base::Small, {SV, nullptr, 1, Op::Set, {{"从站MOD地址", T("1a")}}}, {SV, 0, "从站MOD地址", "从站MOD地址格式错误"}},
        {"port format", Base::Small, {SV, nullptr, 0, Op::Set, {{"端口号", T("50a")}}}, {SV, 0, "端口号", "端口格式错误"}},
        {"interval format", Base::Small, {SV, nullptr, 0, Op::Set, {{"报文发送延时", T("5a")}}}, {SV, 0, "报文发送延时", "报文发送间隔格式错误"}},
        {"timeout format", Base::Small, {SV, nullptr, 0, Op::Set, {{"应答超时时间", T("5a")}}}, {SV, 0, "应答超时时间", "应答超时时间格式错误"}},
        {"port range", Base::Small, {SV, nullptr, 0, Op::Set, {{"端口号", N(65536)}}}, {SV, 0, "端口号", "端口号添入一个0和65535之间的整数"}},
        {"unit range", Base::Small, {SV, nullptr, 0, Op::Set, {{"从站MOD地址", N(248)}}}, {SV, 0, "从站MOD地址", "从站MOD地址添入一个1和247之间的整数"}},
        {"interval range", Base::Small, {SV, nullptr, 0, Op::Set, {{"报文发送延时", N(3001)}}}, {SV, 0, "报文发送延时", "报文发送间隔请添入一个0和3000之间的整数"}},
        {"timeout range", Base::Small, {SV, nullptr, 0, Op::Set, {{"应答超时时间", N(9)}}}, {SV, 0, "应答超时时间", "应答超时时间请添入一个10和3000之间的整数"}, true},
        {"same endpoint and unit", Base::Small, {SV, nullptr, 0, Op::Append, {}}, {SV, 0, "IP地址", "192.168.1.10:502 MOD:1 已经存在"}},
        {"server limit", Base::Full, {SV, nullptr, 0, Op::Append, {{"从站MOD地址", N(200)}}}, {SV, 0, "IP地址", "最多添加31个站点"}},
        {"name GBK cannot hold", Base::Small, {SV, nullptr, 0, Op::Set, {{"设备名称", T("泵\U0001F600")}}}, {SV, 0, "设备名称", "设备名称含有无法保存的字符"}},
        {"server off the drawing", Base::Small, {SV, nullptr, 0, Op::Set, {{"位置X", N(-70)}}}, {SV, 0, "位置X", "位置X请添入一个-69和10000之间的整数"}},
        {"a key unreadable", Base::Small, {SV, nullptr, 0, Op::Set, {{"从站MOD地址", {Cell::Kind::Formula, 0, "=1"}}}}, {SV, 0, "从站MOD地址", sheet::kFormulaCell}, true},
        // 节点
        {"node of no server", Base::Small, {ND, nullptr, 0, Op::Set, {{"IP地址", T("10.9.9.9")}}}, {ND, 0, "IP地址", workbook::kNoSuchServer}},
        {"node twice", Base::Small, {ND, nullptr, 0, Op::Set, {{"节点MOD地址", N(1)}}}, {ND, 0, "节点MOD地址", workbook::kNodeTwice}, true},
        {"node range", Base::Small, {ND, nullptr, 0, Op::Set, {{"节点MOD地址", N(0)}}}, {ND, 0, "节点MOD地址", "节点MOD地址请添入一个1和247之间的整数"}, true},
        // 命令
        {"start format", Base::Small, {CM, nullptr, 0, Op::Set, {{"起始地址", T("1a")}}}, {CM, 0, "起始地址", "起始地址格式错误"}},
        {"length format", Base::Small, {CM, nullptr, 0, Op::Set, {{"长度", T("x")}}}, {CM, 0, "长度", "长度格式错误"}},
        {"start range", Base::Small, {CM, nullptr, 0, Op::Set, {{"起始地址", N(65536)}}}, {CM, 0, "起始地址", "起始地址请添入一个0和65535之间的整数"}},
        {"length of a word read", Base::Small, {CM, "读4区 03H", 0, Op::Set, {{"长度", N(126)}}}, {CM, 0, "长度", "长度请添入一个1和125之间的整数"}},
        {"length of a bit read", Base::Small, {CM, "读1区 02H", 0, Op::Set, {{"长度", N(2001)}}}, {CM, 0, "长度", "长度请添入一个1和2000之间的整数"}},
        {"length of a single write", Base::Small, {CM, "写4区 06H 写单字", 0, Op::Set, {{"长度", N(2)}}}, {CM, 0, "长度", "长度请添入1"}},
        {"slave range end", Base::Small, {CM, "读0区 01H", 0, Op::Set, {{"起始地址", N(65500)}, {"长度", N(100)}}}, {CM, 0, "长度", "超限,数据区范围为1-65536"}},
        {"gateway ranges overlap", Base::Small, {CM, "写0区 05H 写单线圈", 0, Op::Set, {{"网关地址", N(0)}}}, {CM, 0, "网关地址", "网关地址区域重叠"}},
        {"slave ranges overlap", Base::Small, {CM, "读4区 03H", 0, Op::Append, {{"网关地址", N(1900)}}}, {CM, 0, "起始地址", "4区读区域重叠"}},
        {"area end", Base::Small, {CM, "读4区 03H", 0, Op::Set, {{"网关地址", N(1999)}}}, {CM, 0, "网关地址", "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}},
        {"DP input", Base::Dp, {CM, "读3区 04H", 0, Op::Set, {{"长度", N(125)}}}, {CM, 0, "长度", "PB输入最大244BYTE"}},
        {"DP output", Base::Dp, {CM, "写4区 10H 写多字", 0, Op::Append, {{"起始地址", N(60000)}, {"长度", N(123)}, {"网关地址", N(1000)}}}, {CM, 0, "长度", "PB输出最大244BYTE"}},
        {"MODBUS address format", Base::Small, {CM, nullptr, 0, Op::Set, {{"MODBUS地址", T("a")}}}, {CM, 0, "MODBUS地址", "MODBUS地址格式错误"}},
        {"MODBUS address range", Base::Small, {CM, nullptr, 0, Op::Set, {{"MODBUS地址", N(248)}}}, {CM, 0, "MODBUS地址", "MODBUS地址添入一个1和247之间的整数"}},
        {"comment GBK cannot hold", Base::Small, {CM, nullptr, 0, Op::Set, {{"注释", T("\U0001F600")}}}, {CM, 0, "注释", "注释含有无法保存的字符"}},
        {"function", Base::Small, {CM, nullptr, 0, Op::Set, {{"功能", T("读5区")}}}, {CM, 0, "功能", "功能应为读0区 01H、写0区 0FH 写多线圈、写0区 05H 写单线圈、读1区 02H、读3区 04H、读4区 03H、写4区 06H 写单字或写4区 10H 写多字"}},
        {"no such server", Base::Small, {CM, nullptr, 0, Op::Set, {{"端口号", N(9)}}}, {CM, 0, "IP地址", workbook::kNoSuchServer}},
        {"no such node", Base::Small, {CM, nullptr, 0, Op::Set, {{"节点MOD地址", N(99)}}}, {CM, 0, "节点MOD地址", workbook::kNoSuchNode}},
        {"数变即发 on a read", Base::Small, {CM, "读0区 01H", 0, Op::Set, {{"数变即发", T("是")}}}, {CM, 0, "数变即发", "此功能没有数变即发"}},
        {"command limit", Base::Full, {CM, nullptr, 0, Op::Append, {{"网关地址", N(5000)}}}, {CM, 0, "功能", "模块数超范围，最大模块数为1024"}},
        // The sheets themselves.
        {"sheet missing", Base::Small, {SV, nullptr, 0, Op::DropSheet, {}}, {SV, -1, "", sheet::kSheetMissing}},
        {"column misspelt", Base::Small, {SV, nullptr, 0, Op::DropColumn, {{"端口号", {}}}}, {SV, 1, "端口号", sheet::kColumnMissing}},
    };
    return all;
}
// clang-format on

TEST(NetRefusals, EachNamesItsSheetRowColumnAndMessage) {
    for (Base b : {Base::Small, Base::Dp, Base::Full}) {
        t::Scratch s;
        ASSERT_TRUE(
            workbook::importNetSheets(t::writeAndRead(workbook::exportNetSheets(base(b)), s)).accepted());
    }
    for (const Case& c : cases()) {
        auto sheets = workbook::exportNetSheets(base(c.base));
        const int changed = t::applyEdit(sheets, c.edit);
        t::Scratch s;
        const auto result = workbook::importNetSheets(t::writeAndRead(sheets, s));
        ASSERT_FALSE(result.accepted()) << c.what;
        sheet::Refusal expected = c.expected;
        expected.row = expected.row == 0 ? changed : std::max(expected.row, 0);
        const auto& refusals = result.report.refusals();
        EXPECT_EQ(refusals.front(), expected)
            << c.what << ": " << sheet::ImportReport::line(refusals.front());
        if (c.alone) {
            EXPECT_EQ(refusals.size(), 1u) << c.what << ":\n" << result.report.text();
        }
    }
}

} // namespace
