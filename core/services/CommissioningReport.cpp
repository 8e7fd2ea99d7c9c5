#include "services/CommissioningReport.h"

#include "editing/AddressMap.h"
#include "editing/CdtAddressTable.h"
#include "editing/ComPropertiesForm.h"
#include "editing/LineBudget.h"
#include "model/GatewayCatalogue.h"
#include "text/Shown.h"

namespace vantor::services {
namespace {

// An entry of a choice list, or the stored number when a damaged file holds
// an index the list does not have.
template <typename Texts> std::string choiceText(const Texts& texts, int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < texts.size())
        return std::string(texts[static_cast<std::size_t>(index)]);
    return std::to_string(index);
}

using TextRows = std::vector<std::vector<std::string>>;

void summarySection(HtmlPage& page, const model::CVantorDoc& doc) {
    page.heading("summary", VT_DATA("项目概要"));
    page.table(std::vector<std::string>{VT_DATA("项目"), VT_DATA("内容")},
               TextRows{{VT_DATA("网关型号"), doc.hasMaster() ? doc.modelName() : VT_DATA("（未添加网关）")},
                        {VT_DATA("串口线路数"), std::to_string(doc.coms.size())},
                        {VT_DATA("从站数"), std::to_string(doc.slaves.size())},
                        {VT_DATA("命令数"), std::to_string(doc.commandCount())}});

    page.subheading(VT_DATA("串口线路"));
    TextRows lines;
    for (std::size_t i = 0; i < doc.coms.size(); ++i) {
        const auto& c = doc.coms[i];
        lines.push_back({c.COMName, choiceText(editing::baudTexts(), c.baud),
                         choiceText(editing::parityTexts(), c.check),
                         choiceText(editing::stopTexts(), c.stop), std::to_string(c.space * 10),
                         std::to_string(doc.slavesOfLine(static_cast<int>(i)).size())});
    }
    page.table(std::vector<std::string>{VT_DATA("线路"), VT_DATA("波特率"), VT_DATA("校验"),
                                        VT_DATA("停止位"), VT_DATA("从站间隔(ms)"), VT_DATA("从站数")},
               lines);

    page.subheading(VT_DATA("从站"));
    TextRows slaves;
    for (const auto& s : doc.slaves)
        slaves.push_back({s.com_name, std::to_string(s.address), s.name, std::to_string(s.modules.size()),
                          std::to_string(s.space * 10), std::to_string(s.timeout * 10)});
    page.table(std::vector<std::string>{VT_DATA("线路"), VT_DATA("从站地址"), VT_DATA("名称"),
                                        VT_DATA("命令数"), VT_DATA("发送间隔(ms)"), VT_DATA("超时(ms)")},
               slaves);
}

void mapSection(HtmlPage& page, const model::CVantorDoc& doc) {
    page.heading("map", VT_DATA("网关地址映射表"));
    // The opening checks may pack the EtherNet/IP gateway's addresses: they
    // work on a copy, the report changes no project.
    model::CVantorDoc copy = doc;
    RecordingSink sink;
    switch (editing::openAddressMap(copy, sink)) {
    case editing::MapView::Refused:
        page.paragraph(messageTexts(sink.messages), "refused");
        return;
    case editing::MapView::CdtTable: {
        const auto t = editing::buildCdtAddressTable(copy);
        page.subheading(editing::kCdtListTitles[0]);
        page.table(editing::kCdtDataColumns, t.telesignal);
        page.subheading(editing::kCdtListTitles[1]);
        page.table(editing::kCdtDataColumns, t.telemetry);
        page.subheading(editing::kCdtListTitles[2]);
        page.table(editing::kCdtStateColumns, t.slaveState);
        return;
    }
    case editing::MapView::GatewayMap:
        break;
    }
    const auto map = editing::buildAddressMap(copy);
    for (int a = 0; a < 4; ++a) {
        page.subheading(editing::mapListTitle(a));
        page.table(editing::mapColumnTitles(a), map.areas[static_cast<std::size_t>(a)]);
    }
}

void budgetSection(HtmlPage& page, const model::CVantorDoc& doc) {
    page.heading("budget", VT_DATA("串口线路预算"));
    const auto budgets = editing::lineBudgets(doc);
    std::vector<std::array<std::string, 8>> rows;
    for (const auto& b : budgets)
        rows.push_back(editing::budgetTableRow(b));
    page.table(editing::budgetColumnTitles(), rows);
    for (const auto& b : budgets)
        page.paragraph(editing::budgetSummary(b), b.overThreshold ? "over" : nullptr);
}

} // namespace

void beginReportPage(HtmlPage& page, const std::string& title, const std::string& generatedAt) {
    page.raw("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
             escapeHtml(title) +
             "</title>\n<style>\nbody{font-family:sans-serif;font-size:10pt}\n"
             "table{border-collapse:collapse;margin-bottom:8pt}\n"
             "th,td{border:1px solid #888;padding:2px 6px;text-align:left}\n"
             "th{background:#eee}\n.over,.unreached{color:#b00000}\n</style>\n</head>\n<body>\n");
    page.raw("<h1>" + escapeHtml(title) + "</h1>\n");
    page.paragraph(VT_DATA("生成时间：") + generatedAt);
}

std::string endReportPage(HtmlPage& page) {
    page.raw("</body>\n</html>\n");
    return page.take();
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string messageTexts(const std::vector<Message>& messages) {
    std::string out;
    for (const auto& m : messages)
        out += (out.empty() ? "" : "\n") + m.text;
    return out;
}

std::vector<SlaveStateRow> writtenRows(const std::vector<SlaveStateRow>& rows) {
    std::vector<SlaveStateRow> out;
    for (const auto& r : rows)
        if (!r.empty())
            out.push_back(r);
    return out;
}

void deviceSection(HtmlPage& page, const std::optional<ReportDevice>& device, const char* id,
                   const std::string& title) {
    page.heading(id, title);
    if (!device) {
        page.paragraph(kReportNotAsked, "unreached");
        return;
    }
    if (!device->identified) {
        page.paragraph(std::string(kReportUnreachable) + " " + device->host, "unreached");
        page.paragraph(device->failure, "reason");
        return;
    }
    const auto& f = device->info;
    page.table(std::vector<std::string>{VT_DATA("项目"), VT_DATA("内容")},
               TextRows{{VT_DATA("网关地址"), device->host},
                        {VT_DATA("设备ID"), f.deviceId},
                        {VT_DATA("版本"), f.version},
                        {VT_DATA("编译时间"), f.buildTime},
                        {VT_DATA("序列号"), f.serialNumber},
                        {"MAC1", f.mac1},
                        {"MAC2", f.mac2},
                        {VT_DATA("运行状态"), f.runState.text}});
    page.subheading(VT_DATA("从站状态"));
    if (!device->statesRead) {
        page.paragraph(device->stateFailure, "reason");
        return;
    }
    TextRows rows;
    for (const auto& r : device->states)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    page.table(std::vector<std::string>{"COM", VT_DATA("从站地址"), VT_DATA("控制字地址"), VT_DATA("控制字"),
                                        VT_DATA("状态字地址"), VT_DATA("状态字")},
               rows);
}

std::string reportGatewayQuestion(const std::string& host) {
    return text::shownFormat(VT_TEXT("是否连接网关 %s 读取设备信息和从站状态？"), host.c_str());
}

void recordIdentity(ReportDevice& device, const DeviceInfoExchange& exchange,
                    const std::vector<Message>& messages) {
    device.identified = exchange.succeeded();
    device.info = exchange.fields();
    device.failure = device.identified ? "" : messages.empty() ? kReportNoAnswer : messageTexts(messages);
}

void recordStates(ReportDevice& device, const SlaveStateExchange& exchange,
                  const std::vector<Message>& messages) {
    device.statesRead = exchange.cycles() >= 1;
    device.states = writtenRows(exchange.rows());
    device.stateFailure = device.statesRead  ? ""
                          : messages.empty() ? kReportNoAnswer
                                             : messageTexts(messages);
}

ReportDevice visitGateway(const model::CVantorDoc& doc, const ReportGateway& gateway,
                          const ExchangeRunner& run) {
    ReportDevice device;
    device.host = gateway.host;
    if (!doc.hasMaster()) {
        device.failure = kReportNoGateway;
        return device;
    }
    const std::string& modelName = doc.modelName();
    {
        DeviceInfoExchange exchange(modelName, {gateway.host, doc.accessPort, gateway.port});
        exchange.keepTextsAsWritten(); // its messages are the page's reasons
        const auto messages = run(exchange, [] { return false; });
        recordIdentity(device, exchange, messages);
    }
    if (!device.identified)
        return device;
    const auto* model = model::findGatewayModel(modelName);
    if (!model || !model->has(model::FeatureSlaveState)) {
        device.stateFailure = kReportNoStates;
        return device;
    }
    SlaveStateExchange exchange(modelName, {gateway.host, gateway.modbusPort});
    exchange.keepTextsAsWritten();
    const auto messages = run(exchange, [&] { return exchange.cycles() >= 1; });
    recordStates(device, exchange, messages);
    return device;
}

std::string commissioningReport(const model::CVantorDoc& doc, const std::string& projectName,
                                const std::string& generatedAt, const std::optional<ReportDevice>& device) {
    HtmlPage page;
    beginReportPage(page, VT_DATA("调试报告 ") + projectName, generatedAt);
    summarySection(page, doc);
    mapSection(page, doc);
    budgetSection(page, doc);
    deviceSection(page, device);
    return endReportPage(page);
}

} // namespace vantor::services
