#include "workbook/VantorWorkbook.h"

#include "editing/EipParamsForm.h"
#include "workbook/VantorChoices.h"

namespace vantor::workbook {

namespace {

using sheet::Cell;
using sheet::ColumnLayout;
using sheet::ColumnType;

constexpr ColumnType kNumber = ColumnType::Number;
constexpr ColumnType kText = ColumnType::Text;
constexpr ColumnType kFlag = ColumnType::Flag;

sheet::SheetLayout makeGatewaySheet() {
    sheet::SheetLayout s{kGatewaySheet,
                         {{VT_DATA("网关型号"), kText, true},
                          {VT_DATA("位置X"), kNumber},
                          {VT_DATA("位置Y"), kNumber},
                          {VT_DATA("寻址方式"), kText},
                          {VT_DATA("数变即发默认设置"), kFlag},
                          {VT_DATA("报文发送间隔"), kNumber},
                          {VT_DATA("应答超时时间"), kNumber},
                          {VT_DATA("访问IP地址"), kText},
                          {VT_DATA("IP地址"), kText},
                          {VT_DATA("子网掩码"), kText},
                          {VT_DATA("默认网关"), kText},
                          {VT_DATA("端口"), kNumber},
                          {VT_DATA("工作模式"), kText},
                          {VT_DATA("CDT波特率"), kNumber},
                          {VT_DATA("CDT校验位"), kText},
                          {VT_DATA("远端CDT站地址"), kNumber},
                          {VT_DATA("网关CDT站地址"), kNumber},
                          {VT_DATA("遥测模拟量发送周期"), kNumber},
                          {VT_DATA("遥信开关量发送周期"), kNumber}},
                         {{VT_DATA("网口1IP和网关"), VT_DATA("默认网关")},
                          {VT_DATA("网口1默认网关"), VT_DATA("默认网关")},
                          {VT_DATA("网口1子网掩码"), VT_DATA("子网掩码")},
                          {VT_DATA("网口1端口"), VT_DATA("端口")},
                          {VT_DATA("端口取值范围"), VT_DATA("端口")},
                          {VT_DATA("网口1IP"), VT_DATA("IP地址")},
                          {VT_DATA("只支持单主站"), VT_DATA("网关型号")}},
                         VT_DATA("网关型号")};
    for (int com = 1; com <= 6; ++com)
        for (const char* words : {VT_DATA("状态字"), VT_DATA("控制字")}) {
            const std::string port = "COM" + std::to_string(com) + " " + words;
            s.columns.push_back({port + VT_DATA("使能"), kFlag});
            s.columns.push_back({port + VT_DATA("起始地址"), kNumber});
            s.columns.push_back({port + VT_DATA("长度"), kNumber});
        }
    return s;
}

sheet::SheetLayout makeLinesSheet() {
    return {kLinesSheet,
            {{VT_DATA("串口"), kText, true},
             {VT_DATA("波特率"), kNumber},
             {VT_DATA("校验位"), kText},
             {VT_DATA("停止位"), kText},
             {VT_DATA("从站时间间隔"), kNumber},
             {VT_DATA("位置X"), kNumber},
             {VT_DATA("位置Y"), kNumber},
             {VT_DATA("线长"), kNumber}},
            {{VT_DATA("报文发送间隔"), VT_DATA("从站时间间隔")}},
            VT_DATA("串口")};
}

sheet::SheetLayout makeSlavesSheet() {
    return {kSlavesSheet,
            {{VT_DATA("串口"), kText, true},
             {VT_DATA("从站地址"), kNumber},
             {VT_DATA("设备名称"), kText},
             {VT_DATA("报文发送延时"), kNumber},
             {VT_DATA("应答超时时间"), kNumber},
             {VT_DATA("配置字"), kNumber},
             {VT_DATA("位置X"), kNumber},
             {VT_DATA("位置Y"), kNumber}},
            {{VT_DATA("报文发送间隔"), VT_DATA("报文发送延时")},
             {VT_DATA("地址"), VT_DATA("从站地址")},
             {VT_DATA("没有可用的从站地址"), VT_DATA("从站地址")},
             {kNoSuchLine, VT_DATA("串口")}},
            VT_DATA("串口")};
}

sheet::SheetLayout makeCommandsSheet() {
    return {kCommandsSheet,
            {{VT_DATA("串口"), kText, true},
             {VT_DATA("从站地址"), kNumber, true},
             {VT_DATA("功能"), kText, true},
             {VT_DATA("起始地址"), kNumber},
             {VT_DATA("长度"), kNumber},
             {VT_DATA("网关地址"), kNumber},
             {VT_DATA("数变即发"), kFlag},
             {VT_DATA("同时映射到遥信数据区"), kFlag},
             {VT_DATA("注释"), kText}},
            {{VT_DATA("超限,数据区范围"), VT_DATA("长度")},
             {VT_DATA("0区"), VT_DATA("起始地址")},
             {VT_DATA("1区"), VT_DATA("起始地址")},
             {VT_DATA("3区"), VT_DATA("起始地址")},
             {VT_DATA("4区"), VT_DATA("起始地址")},
             {VT_DATA("网关数据区访问超限"), VT_DATA("网关地址")},
             {VT_DATA("没有可用的网关地址"), VT_DATA("网关地址")},
             {VT_DATA("遥信最大数据"), VT_DATA("长度")},
             {VT_DATA("遥测最大数据"), VT_DATA("长度")},
             {VT_DATA("输入超限"), VT_DATA("长度")},
             {VT_DATA("输出超限"), VT_DATA("长度")},
             {VT_DATA("请选择从站"), VT_DATA("从站地址")},
             {kNoSuchSlave, VT_DATA("从站地址")}},
            VT_DATA("功能")};
}

Cell text(const std::string& s) {
    return Cell::of(s);
}

Cell number(double v) {
    return Cell::of(v);
}

std::vector<Cell> gatewayRow(const model::CVantorDoc& doc) {
    const model::CMaster& m = doc.masters.front();
    std::vector<Cell> row(gatewaySheet().columns.size());
    row[kGwModel] = text(m.masterName);
    row[kGwX] = number(m.x);
    row[kGwY] = number(m.y);
    row[kGwAddressing] = text(choiceAt(addressingChoices(), doc.addType == 1 ? 1 : 0));
    row[kGwEditSendDefault] = sheet::flagCell(doc.editSendDefault == 1);
    row[kGwInterval] = number(doc.sendInterlTime);
    row[kGwTimeout] = number(doc.repTimeoutTime);
    row[kGwAccessIp] = text(doc.IP);
    row[kGwIp] = text(doc.SETIP);
    row[kGwMask] = text(doc.SETMASK);
    row[kGwGateway] = text(doc.SETGW);
    row[kGwPort] = number(doc.SETPORT);
    row[kGwWorkMode] = text(choiceAt(workModeChoices(), services::workModeSelection(doc)));
    if (model::gatewayModel(m.masterName).has(model::FeatureCdt)) {
        const auto form = editing::CdtOptionsForm::load(doc);
        row[kGwCdtBaud] = number(std::stod(cdtBaudChoices().at(static_cast<std::size_t>(form.baudItem))));
        row[kGwCdtParity] = text(choiceAt(cdtParityChoices(), form.parityItem));
        row[kGwCdtRemote] = number(doc.cdtOptions[0]);
        row[kGwCdtStation] = number(doc.cdtOptions[1]);
        row[kGwCdtTelemetry] = number(doc.cdtOptions[2]);
        row[kGwCdtTelesignal] = number(doc.cdtOptions[3]);
    }
    // A port area that was never set stays blank; one that was set and then
    // switched off keeps its numbers, as the dialog keeps them.
    for (int g = 0; g < 12; ++g) {
        const editing::EipGroup e = editing::eipGroup(doc, g);
        const int com = g % 6 + 1;
        const bool control = g >= 6;
        if (e.enabled || e.start != 0 || e.count != 0)
            row[static_cast<std::size_t>(eipColumn(com, control, 0))] = sheet::flagCell(e.enabled);
        if (e.enabled || e.start != 0)
            row[static_cast<std::size_t>(eipColumn(com, control, 1))] = number(e.start);
        if (e.enabled || e.count != 0)
            row[static_cast<std::size_t>(eipColumn(com, control, 2))] = number(e.count);
    }
    return row;
}

// The CDT gateway's COM1 is its CDT link: set on the gateway sheet.
bool isCdtLink(const model::CVantorDoc& doc, const model::CCOM& c) {
    return model::gatewayModel(doc.modelName()).has(model::FeatureCdt) && c.COMName == "COM1";
}

} // namespace

const sheet::SheetLayout& gatewaySheet() {
    static const sheet::SheetLayout s = makeGatewaySheet();
    return s;
}
const sheet::SheetLayout& linesSheet() {
    static const sheet::SheetLayout s = makeLinesSheet();
    return s;
}
const sheet::SheetLayout& slavesSheet() {
    static const sheet::SheetLayout s = makeSlavesSheet();
    return s;
}
const sheet::SheetLayout& commandsSheet() {
    static const sheet::SheetLayout s = makeCommandsSheet();
    return s;
}

std::vector<sheet::SheetData> exportSheets(const model::CVantorDoc& doc) {
    std::vector<std::vector<Cell>> gateway, lines, slaves, commands;
    if (doc.hasMaster())
        gateway.push_back(gatewayRow(doc));
    for (const auto& c : doc.coms) {
        if (isCdtLink(doc, c))
            continue;
        lines.push_back({text(c.COMName), text(choiceAt(baudChoices(), c.baud)),
                         text(choiceAt(parityChoices(), c.check)), text(choiceAt(stopChoices(), c.stop)),
                         number(c.space * 10), number(c.x), number(c.y), number(c.com_length)});
        // The baud rate is a number.
        if (!lines.back()[kLnBaud].text.empty())
            lines.back()[kLnBaud] = number(std::stod(lines.back()[kLnBaud].text));
    }
    for (const auto& s : doc.slaves) {
        slaves.push_back({text(s.com_name), number(s.address), text(s.name), number(s.space * 10),
                          number(s.timeout * 10), number(s.control), number(s.x), number(s.y)});
        for (const auto& m : s.modules) {
            const model::CommandKind* kind = model::findCommandKind(m.Func);
            std::vector<Cell> row(commandsSheet().columns.size());
            row[kCmPort] = text(s.com_name);
            row[kCmSlave] = number(s.address);
            row[kCmFunc] = text(m.Func);
            row[kCmStart] = number(m.Start_Add);
            row[kCmLength] = number(m.Length);
            row[kCmGateway] = number(m.Gate_Add);
            // The boxes the command dialog shows for this kind.
            if (kind && kind->readWrite != 0)
                row[kCmEditSend] = sheet::flagCell(m.editSend == 1);
            if (kind && !kind->bits() && model::gatewayModel(doc.modelName()).has(model::FeatureCdt))
                row[kCmCdtYx] = sheet::flagCell(m.isCDTYx == 1);
            row[kCmComment] = text(m.Explain);
            commands.push_back(std::move(row));
        }
    }
    std::vector<sheet::SheetData> out;
    out.push_back(sheet::sheetData(gatewaySheet(), std::move(gateway)));
    out.push_back(sheet::sheetData(linesSheet(), std::move(lines)));
    out.push_back(sheet::sheetData(slavesSheet(), std::move(slaves)));
    out.push_back(sheet::sheetData(commandsSheet(), std::move(commands)));
    return out;
}

bool exportWorkbook(const model::CVantorDoc& doc, const std::string& path, std::string& error) {
    return sheet::saveWorkbook(path, exportSheets(doc), error);
}

} // namespace vantor::workbook
