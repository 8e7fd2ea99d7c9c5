// Each refusal of the dialogs, the catalogue and the download's area check,
// met through one changed cell (or one added row) of an exported workbook:
// the import is refused as a whole and names the sheet, the row as the
// spreadsheet shows it, the column and the check's own message. Also the
// refusals of reading the sheets themselves.
#include "AssembledProjects.h"
#include "WorkbookFixtures.h"

#include "model/GatewayCatalogue.h"
#include "workbook/VantorWorkbook.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace vantor;
namespace t = vantor::testing;
using sheet::Cell;

enum class Base { P2, Cdt, Trx, Full };

const model::CVantorDoc& base(Base b) {
    static std::map<Base, model::CVantorDoc> made;
    auto it = made.find(b);
    if (it != made.end())
        return it->second;
    const t::Assembly small{.slavesPerLine = 3, .commands = 16};
    const char* name = b == Base::Cdt    ? "TRC-H-ZRTU"
                       : b == Base::Trx  ? "TRX-H-QMB6"
                       : b == Base::Full ? "KX-P1-1.0"
                                         : "KX-P2R0-1.0";
    return made[b] =
               t::assembleProject(*model::findGatewayModel(name), b == Base::Full ? t::Assembly{} : small);
}

using t::Op;

struct Case {
    const char* what;
    Base base;
    const char* sheet;
    const char* func; // the row: the first command of this kind, else
    int row;          // the data row (0 is the first below the header)
    Op op;
    std::vector<std::pair<std::string, Cell>> cells;
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
const char* const LN = workbook::kLinesSheet;
const char* const SL = workbook::kSlavesSheet;
const char* const CM = workbook::kCommandsSheet;

std::vector<std::pair<std::string, Cell>> allStateWordsFull() {
    std::vector<std::pair<std::string, Cell>> cells;
    for (int com = 1; com <= 6; ++com) {
        const std::string p = "COM" + std::to_string(com) + " 状态字";
        cells.push_back({p + "使能", T("是")});
        cells.push_back({p + "起始地址", N(2001 + 256 * (com - 1))});
        cells.push_back({p + "长度", N(255)});
    }
    return cells;
}

// One case a line: easier to read across than as clang-format lays it out.
// clang-format off
const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        // 网关
        {"unknown model", Base::P2, GW, nullptr, 0, Op::Set, {{"网关型号", T("KX-P9")}}, {GW, 0, "网关型号", "网关型号应为NXE-485-ZRTU2、KX-P1R0-1.0、KX-P2R0-1.0、KX-P4R0-1.0、KX-P6R0-1.0、TRC-H-ZRTU、NXE-485-ZRTU2E、TRX-H-QMB6、KX-P1-1.0或LNK-P1-1.0"}},
        {"second gateway", Base::P2, GW, nullptr, 0, Op::Append, {}, {GW, 0, "网关型号", "只支持单主站"}},
        {"no gateway", Base::P2, GW, nullptr, 0, Op::ClearRows, {}, {GW, -1, "", "请添加一个主站!"}},
        {"default interval", Base::P2, GW, nullptr, 0, Op::Set, {{"报文发送间隔", N(3001)}}, {GW, 0, "报文发送间隔", "报文发送间隔请添入一个0和3000之间的整数"}},
        {"default timeout", Base::P2, GW, nullptr, 0, Op::Set, {{"应答超时时间", T("5a")}}, {GW, 0, "应答超时时间", "应答超时时间有非法字符"}},
        {"access IP", Base::P2, GW, nullptr, 0, Op::Set, {{"访问IP地址", T("224.0.0.1")}}, {GW, 0, "访问IP地址", "访问IP地址设置错误"}},
        {"gateway IP", Base::P2, GW, nullptr, 0, Op::Set, {{"IP地址", T("0.1.2.3")}}, {GW, 0, "IP地址", "网口1IP设置错误"}},
        {"mask", Base::P2, GW, nullptr, 0, Op::Set, {{"子网掩码", T("255.0.255.0")}}, {GW, 0, "子网掩码", "网口1子网掩码设置错误"}},
        {"default gateway", Base::P2, GW, nullptr, 0, Op::Set, {{"默认网关", T("10.2.0.1")}}, {GW, 0, "默认网关", "网口1IP和网关不在同一网段"}},
        {"port", Base::P2, GW, nullptr, 0, Op::Set, {{"端口", N(0)}}, {GW, 0, "端口", "网口1端口不能为0"}},
        {"EtherNet/IP area", Base::P2, GW, nullptr, 0, Op::Set, {{"COM2 控制字使能", T("是")}, {"COM2 控制字起始地址", N(2000)}, {"COM2 控制字长度", N(1)}}, {GW, 0, "COM2 控制字起始地址", "COM2 控制字起始地址取值范围2257-2511"}},
        {"CDT stations equal", Base::Cdt, GW, nullptr, 0, Op::Set, {{"远端CDT站地址", N(9)}}, {GW, 0, "远端CDT站地址", "远端CDT站地址和网关CDT站地址不能为同一地址"}},
        {"CDT period", Base::Cdt, GW, nullptr, 0, Op::Set, {{"遥测模拟量发送周期", N(1005)}}, {GW, 0, "遥测模拟量发送周期", "遥测模拟量发送周期取值范围:0~1000"}},
        {"CDT options elsewhere", Base::P2, GW, nullptr, 0, Op::Set, {{"CDT波特率", N(2400)}}, {GW, 0, "CDT波特率", workbook::kModelHasNoSuchSetting}},
        {"remote addressing, an address twice", Base::P2, GW, nullptr, 0, Op::Set, {{"寻址方式", T("远端从站寻址")}}, {SL, 5, "从站地址", "地址已经被占用,请更换另外一个！"}},
        // 串口
        {"port of another model", Base::P2, LN, nullptr, 0, Op::Append, {{"串口", T("COM3")}}, {LN, 0, "串口", "KX-P2R0-1.0只有2个COM口"}},
        {"port twice", Base::P2, LN, nullptr, 1, Op::Append, {}, {LN, 0, "串口", "KX-P2R0-1.0的COM2已经存在"}},
        // A refused line: its slaves and commands are not refused again.
        {"gap range", Base::P2, LN, nullptr, 0, Op::Set, {{"从站时间间隔", N(5)}}, {LN, 0, "从站时间间隔", "报文发送间隔请添入一个10和2550之间的整数"}, true},
        {"gap format", Base::P2, LN, nullptr, 0, Op::Set, {{"从站时间间隔", T("12a")}}, {LN, 0, "从站时间间隔", "报文发送间隔格式错误"}},
        {"parity", Base::P2, LN, nullptr, 0, Op::Set, {{"校验位", T("无")}}, {LN, 0, "校验位", "校验位应为无校验、奇校验或偶校验"}},
        {"CDT link", Base::Cdt, LN, nullptr, 0, Op::Append, {{"串口", T("COM1")}}, {LN, 0, "串口", workbook::kCdtLinkLine}},
        {"line length", Base::P2, LN, nullptr, 0, Op::Set, {{"线长", N(-1)}}, {LN, 0, "线长", "线长请添入一个0和10000之间的整数"}},
        // 从站
        {"name", Base::P2, SL, nullptr, 0, Op::Set, {{"设备名称", Cell::of(std::string(65, 'a'))}}, {SL, 0, "设备名称", "设备名称超过64字符"}},
        {"address characters", Base::P2, SL, nullptr, 0, Op::Set, {{"从站地址", T("12a")}}, {SL, 0, "从站地址", "从站地址有非法字符"}},
        {"address range", Base::P2, SL, nullptr, 0, Op::Set, {{"从站地址", N(0)}}, {SL, 0, "从站地址", "地址请添入一个1和247之间的整数"}},
        {"address taken", Base::P2, SL, nullptr, 1, Op::Set, {{"从站地址", N(1)}}, {SL, 0, "从站地址", "地址已经被占用,请更换另外一个！"}},
        {"send interval", Base::P2, SL, nullptr, 0, Op::Set, {{"报文发送延时", N(3001)}}, {SL, 0, "报文发送延时", "报文发送间隔请添入一个0和3000之间的整数"}},
        {"reply timeout", Base::P2, SL, nullptr, 0, Op::Set, {{"应答超时时间", N(99)}}, {SL, 0, "应答超时时间", "应答超时时间请添入一个100和3000之间的整数"}},
        {"config word", Base::P2, SL, nullptr, 0, Op::Set, {{"配置字", N(200)}}, {SL, 0, "配置字", "配置字应为129、128或127"}},
        {"no such line", Base::P2, SL, nullptr, 0, Op::Set, {{"串口", T("COM5")}}, {SL, 0, "串口", workbook::kNoSuchLine}},
        {"line full", Base::Full, SL, nullptr, 0, Op::Append, {{"从站地址", N(200)}}, {SL, 0, "串口", "每个串口上最多连接31个从站"}},
        {"position", Base::P2, SL, nullptr, 0, Op::Set, {{"位置X", N(20000)}}, {SL, 0, "位置X", "位置X请添入一个-49和5999之间的整数"}},
        {"a date for a number", Base::P2, SL, nullptr, 0, Op::Set, {{"从站地址", {Cell::Kind::Date, 43832, {}}}}, {SL, 0, "从站地址", sheet::kDateCell}},
        {"a formula for a number", Base::P2, SL, nullptr, 0, Op::Set, {{"应答超时时间", {Cell::Kind::Formula, 0, "=500+1"}}}, {SL, 0, "应答超时时间", sheet::kFormulaCell}},
        {"a slave's address unreadable: its commands are not refused again", Base::P2, SL, nullptr, 1, Op::Set, {{"从站地址", {Cell::Kind::Date, 2, {}}}}, {SL, 0, "从站地址", sheet::kDateCell}, true},
        // 命令
        {"comment", Base::P2, CM, nullptr, 0, Op::Set, {{"注释", Cell::of(std::string(257, 'a'))}}, {CM, 0, "注释", "注释最大长度为256个字符"}},
        {"start format", Base::P2, CM, nullptr, 0, Op::Set, {{"起始地址", T("00")}}, {CM, 0, "起始地址", "起始地址格式错误"}},
        {"start range", Base::P2, CM, nullptr, 0, Op::Set, {{"起始地址", N(65536)}}, {CM, 0, "起始地址", "起始地址请添入一个0和65535之间的整数"}},
        {"length of a read", Base::P2, CM, "读4区 03H", 0, Op::Set, {{"长度", N(126)}}, {CM, 0, "长度", "长度请添入一个1和125之间的整数"}},
        {"length of a single write", Base::P2, CM, "写4区 06H 写单字", 0, Op::Set, {{"长度", N(2)}}, {CM, 0, "长度", "长度请添入1"}},
        {"slave range end", Base::P2, CM, "读0区 01H", 0, Op::Set, {{"起始地址", N(65530)}, {"长度", N(8)}}, {CM, 0, "长度", "超限,数据区范围为1-65536"}},
        {"gateway address format", Base::P2, CM, nullptr, 0, Op::Set, {{"网关地址", T("x")}}, {CM, 0, "网关地址", "网关地址错误"}},
        {"gateway address range", Base::P2, CM, "读3区 04H", 0, Op::Set, {{"网关地址", N(4000)}}, {CM, 0, "网关地址", "网关地址超限"}},
        {"gateway ranges overlap", Base::P2, CM, "写0区 05H 写单线圈", 0, Op::Set, {{"网关地址", N(0)}}, {CM, 0, "网关地址", "网关地址区域重叠"}},
        {"slave ranges overlap", Base::P2, CM, "读4区 03H", 0, Op::Append, {{"网关地址", N(1900)}}, {CM, 0, "起始地址", "4区读区域重叠"}},
        {"area end", Base::P2, CM, "读4区 03H", 0, Op::Set, {{"网关地址", N(1999)}}, {CM, 0, "网关地址", "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"}},
        {"telesignal sum", Base::Cdt, CM, "读1区 02H", 0, Op::Set, {{"长度", N(600)}}, {CM, 0, "长度", "遥信最大数据为512bit"}},
        {"function", Base::P2, CM, nullptr, 0, Op::Set, {{"功能", T("读5区")}}, {CM, 0, "功能", "功能应为读0区 01H、写0区 0FH 写多线圈、写0区 05H 写单线圈、读1区 02H、读3区 04H、读4区 03H、写4区 06H 写单字或写4区 10H 写多字"}},
        {"no such slave", Base::P2, CM, nullptr, 0, Op::Set, {{"从站地址", N(99)}}, {CM, 0, "从站地址", workbook::kNoSuchSlave}},
        {"数变即发 on a read", Base::P2, CM, "读0区 01H", 0, Op::Set, {{"数变即发", T("是")}}, {CM, 0, "数变即发", "此功能没有数变即发"}},
        {"telesignal mapping elsewhere", Base::P2, CM, "读3区 04H", 0, Op::Set, {{"同时映射到遥信数据区", T("是")}}, {CM, 0, "同时映射到遥信数据区", "此功能没有同时映射到遥信数据区"}},
        {"flag text", Base::P2, CM, "写4区 06H 写单字", 0, Op::Set, {{"数变即发", T("也许")}}, {CM, 0, "数变即发", sheet::kFlagWrong}},
        {"blank key", Base::P2, CM, nullptr, 0, Op::Set, {{"串口", T("")}}, {CM, 0, "串口", sheet::kRequiredBlank}},
        {"command limit", Base::Full, CM, nullptr, 0, Op::Append, {{"网关地址", N(3000)}}, {CM, 0, "功能", "模块数超范围，最大模块数为512"}},
        {"EtherNet/IP input", Base::Trx, GW, nullptr, 0, Op::Set, allStateWordsFull(), {CM, 2, "长度", "输入超限"}},
        // The sheets themselves.
        {"sheet missing", Base::P2, CM, nullptr, 0, Op::DropSheet, {}, {CM, -1, "", sheet::kSheetMissing}},
        {"column missing", Base::P2, CM, nullptr, 0, Op::DropColumn, {{"功能", {}}}, {CM, 1, "功能", sheet::kColumnMissing}},
        {"optional column misspelt", Base::P2, SL, nullptr, 0, Op::DropColumn, {{"从站地址", {}}}, {SL, 1, "从站地址", sheet::kColumnMissing}},
    };
    return all;
}
// clang-format on

TEST(Refusals, EachNamesItsSheetRowColumnAndMessage) {
    for (Base b : {Base::P2, Base::Cdt, Base::Trx, Base::Full}) {
        t::Scratch s;
        model::CVantorDoc fresh;
        fresh.NewDocument("/nonexistent");
        ASSERT_TRUE(
            workbook::importSheets(t::writeAndRead(workbook::exportSheets(base(b)), s), fresh).accepted());
    }
    for (const Case& c : cases()) {
        auto sheets = workbook::exportSheets(base(c.base));
        const int changed = t::applyEdit(sheets, {c.sheet, c.func, c.row, c.op, c.cells});
        t::Scratch s;
        model::CVantorDoc fresh;
        fresh.NewDocument("/nonexistent");
        const auto result = workbook::importSheets(t::writeAndRead(sheets, s), fresh);
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
