#include "workbook/NetWorkbook.h"

#include "net/NetCatalogue.h"
#include "workbook/NetChoices.h"
#include "workbook/VantorChoices.h"

namespace vantor::workbook {

namespace {

using sheet::Cell;
using sheet::ColumnType;

constexpr ColumnType kNumber = ColumnType::Number;
constexpr ColumnType kText = ColumnType::Text;
constexpr ColumnType kFlag = ColumnType::Flag;

// The server a row of the servers, nodes or commands sheet concerns.
std::vector<sheet::ColumnLayout> serverKey() {
    return {
        {VT_DATA("IP地址"), kText, true}, {VT_DATA("端口号"), kNumber}, {VT_DATA("从站MOD地址"), kNumber}};
}

std::vector<sheet::ColumnLayout> withKey(std::vector<sheet::ColumnLayout> more) {
    auto columns = serverKey();
    columns.insert(columns.end(), more.begin(), more.end());
    return columns;
}

sheet::SheetLayout makeGatewaySheet() {
    return {kGatewaySheet,
            {{VT_DATA("网关型号"), kText, true},
             {VT_DATA("位置X"), kNumber},
             {VT_DATA("位置Y"), kNumber},
             {VT_DATA("总线位置X"), kNumber},
             {VT_DATA("总线位置Y"), kNumber},
             {VT_DATA("总线长度"), kNumber},
             {VT_DATA("工作模式"), kText},
             {VT_DATA("数变即发默认设置"), kFlag}},
            {},
            VT_DATA("网关型号")};
}

sheet::SheetLayout makePortsSheet() {
    return {kLinesSheet,
            {{VT_DATA("串口"), kText, true},
             {VT_DATA("波特率"), kNumber},
             {VT_DATA("校验位"), kText},
             {VT_DATA("停止位"), kText},
             {VT_DATA("MODBUS地址"), kNumber}},
            {{VT_DATA("请输入一个介于 1 和 247 之间的整数"), VT_DATA("MODBUS地址")}},
            VT_DATA("串口")};
}

sheet::SheetLayout makeServersSheet() {
    return {
        kSlavesSheet,
        withKey({{VT_DATA("设备名称"), kText},
                 {VT_DATA("报文发送延时"), kNumber},
                 {VT_DATA("应答超时时间"), kNumber},
                 {VT_DATA("设备图像"), kText},
                 {VT_DATA("控制使能"), kFlag},
                 {VT_DATA("位置X"), kNumber},
                 {VT_DATA("位置Y"), kNumber}}),
        {{VT_DATA("端口格式错误"), VT_DATA("端口号")}, {VT_DATA("报文发送间隔"), VT_DATA("报文发送延时")}},
        VT_DATA("IP地址")};
}

sheet::SheetLayout makeNodesSheet() {
    sheet::SheetLayout s{kNodesSheet,
                         withKey({{VT_DATA("节点MOD地址"), kNumber, true}}),
                         {{kNodeTwice, VT_DATA("节点MOD地址")}},
                         VT_DATA("IP地址")};
    s.optional = true;
    return s;
}

sheet::SheetLayout makeCommandsSheet() {
    return {kCommandsSheet,
            withKey({{VT_DATA("节点MOD地址"), kNumber},
                     {VT_DATA("功能"), kText, true},
                     {VT_DATA("MODBUS地址"), kNumber},
                     {VT_DATA("起始地址"), kNumber},
                     {VT_DATA("长度"), kNumber},
                     {VT_DATA("网关地址"), kNumber},
                     {VT_DATA("数变即发"), kFlag},
                     {VT_DATA("注释"), kText}}),
            {{VT_DATA("超限,数据区范围"), VT_DATA("长度")},
             {VT_DATA("0区"), VT_DATA("起始地址")},
             {VT_DATA("1区"), VT_DATA("起始地址")},
             {VT_DATA("3区"), VT_DATA("起始地址")},
             {VT_DATA("4区"), VT_DATA("起始地址")},
             {VT_DATA("网关数据区访问超限"), VT_DATA("网关地址")},
             {VT_DATA("没有可用的网关地址"), VT_DATA("网关地址")},
             {VT_DATA("PB输入最大"), VT_DATA("长度")},
             {VT_DATA("PB输出最大"), VT_DATA("长度")},
             {kNoSuchNode, VT_DATA("节点MOD地址")}},
            VT_DATA("功能")};
}

Cell text(const std::string& s) {
    return Cell::of(s);
}

Cell number(double v) {
    return Cell::of(v);
}

// A list index as its item, the baud rate as a number; blank off the list.
Cell choiceCell(const std::vector<std::string>& choices, int index, bool numeric) {
    const std::string item = choiceAt(choices, index);
    if (item.empty())
        return {};
    return numeric ? number(std::stod(item)) : text(item);
}

std::vector<Cell> keyCells(const net::CSlave& s, std::size_t columns) {
    std::vector<Cell> row(columns);
    row[kNsIp] = text(s.ipadd);
    row[kNsPort] = number(s.port);
    if (!s.nodes.empty())
        row[kNsUnit] = number(s.nodes.front().address);
    return row;
}

std::vector<Cell> gatewayRow(const net::CVantorNetDoc& doc) {
    const net::CMaster& m = doc.masters.front();
    std::vector<Cell> row(netGatewaySheet().columns.size());
    row[kNgModel] = text(m.masterName);
    row[kNgX] = number(m.x);
    row[kNgY] = number(m.y);
    row[kNgBusX] = number(doc.bus.x);
    row[kNgBusY] = number(doc.bus.y);
    row[kNgBusLength] = number(doc.bus.length);
    // The work mode where 工作模式设置 runs, and wherever the project holds
    // another than the first (the download sends it for every model).
    if (net::hasWorkMode(m.masterName) || doc.GW_work_mode != 0)
        row[kNgWorkMode] = choiceCell(netWorkModeChoices(), doc.GW_work_mode, false);
    row[kNgEditSendDefault] = sheet::flagCell(doc.isDataModifySendEnable == 1);
    return row;
}

std::vector<Cell> portRow(const char* name, const net::CCom& c) {
    return {text(name), choiceCell(netBaudChoices(), c.baud, true),
            choiceCell(netParityChoices(), c.parity, false), choiceCell(netStopChoices(), c.stop, false),
            number(c.address)};
}

} // namespace

const sheet::SheetLayout& netGatewaySheet() {
    static const sheet::SheetLayout s = makeGatewaySheet();
    return s;
}
const sheet::SheetLayout& netPortsSheet() {
    static const sheet::SheetLayout s = makePortsSheet();
    return s;
}
const sheet::SheetLayout& netServersSheet() {
    static const sheet::SheetLayout s = makeServersSheet();
    return s;
}
const sheet::SheetLayout& netNodesSheet() {
    static const sheet::SheetLayout s = makeNodesSheet();
    return s;
}
const sheet::SheetLayout& netCommandsSheet() {
    static const sheet::SheetLayout s = makeCommandsSheet();
    return s;
}

std::vector<sheet::SheetData> exportNetSheets(const net::CVantorNetDoc& doc) {
    std::vector<std::vector<Cell>> gateway, ports, servers, nodes, commands;
    if (doc.hasMaster())
        gateway.push_back(gatewayRow(doc));
    ports.push_back(portRow("COM1", doc.com1));
    ports.push_back(portRow("COM2", doc.com2));
    for (const auto& s : doc.slaves) {
        auto row = keyCells(s, netServersSheet().columns.size());
        row[kNsName] = text(s.name);
        row[kNsInterval] = number(s.space * 10);
        row[kNsTimeout] = number(s.timetip * 10);
        row[kNsPicture] = text(s.picture);
        row[kNsControl] = sheet::flagCell(s.control != 0);
        row[kNsX] = number(s.x);
        row[kNsY] = number(s.y);
        servers.push_back(std::move(row));
        for (std::size_t n = 0; n < s.nodes.size(); ++n) {
            const net::CNode& node = s.nodes[n];
            if (n > 0) {
                auto nodeRow = keyCells(s, netNodesSheet().columns.size());
                nodeRow[kNnNode] = number(node.address);
                nodes.push_back(std::move(nodeRow));
            }
            for (const auto& m : node.modules) {
                auto c = keyCells(s, netCommandsSheet().columns.size());
                if (n > 0)
                    c[kNcNode] = number(node.address);
                c[kNcFunc] = text(m.Func);
                c[kNcModbus] = number(m.mod_num);
                c[kNcStart] = number(m.Start_Add);
                c[kNcLength] = number(m.Length);
                c[kNcGateway] = number(m.Gate_Add);
                // The box the command dialog shows for writes only.
                if (m.read_wri != 0)
                    c[kNcEditSend] = sheet::flagCell(m.editSend == 1);
                c[kNcComment] = text(m.Explain);
                commands.push_back(std::move(c));
            }
        }
    }
    std::vector<sheet::SheetData> out;
    out.push_back(sheet::sheetData(netGatewaySheet(), std::move(gateway)));
    out.push_back(sheet::sheetData(netPortsSheet(), std::move(ports)));
    out.push_back(sheet::sheetData(netServersSheet(), std::move(servers)));
    out.push_back(sheet::sheetData(netNodesSheet(), std::move(nodes)));
    out.push_back(sheet::sheetData(netCommandsSheet(), std::move(commands)));
    return out;
}

bool exportNetWorkbook(const net::CVantorNetDoc& doc, const std::string& path, std::string& error) {
    return sheet::saveWorkbook(path, exportNetSheets(doc), error);
}

} // namespace vantor::workbook
