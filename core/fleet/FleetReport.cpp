#include "fleet/FleetReport.h"

#include "services/CommissioningReport.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <algorithm>

namespace vantor::fleet {

int FleetRun::succeeded() const {
    return static_cast<int>(
        std::count_if(gateways.begin(), gateways.end(), [](const auto& g) { return g.ok; }));
}

std::string sentBlocksText(const std::vector<SentBlock>& sent) {
    std::string out;
    for (const auto& b : sent)
        out += (out.empty() ? "" : ", ") + text::format(VT_DATA("%d: %zu字节"), b.command, b.bytes);
    return out;
}

std::string secondsText(int64_t ms) {
    return text::format("%.1f s", static_cast<double>(ms) / 1000.0);
}

namespace {

constexpr const char* kSummary = VT_TEXT("%zu个网关: %d个成功, %d个失败, 用时 %s");

} // namespace

std::string fleetSummaryText(const FleetRun& run) {
    return text::format(kSummary, run.gateways.size(), run.succeeded(), run.failed(),
                        secondsText(run.elapsedMs).c_str());
}

std::string shownFleetSummaryText(const FleetRun& run) {
    return text::shownFormat(kSummary, run.gateways.size(), run.succeeded(), run.failed(),
                             secondsText(run.elapsedMs).c_str());
}

std::string fleetReport(const FleetRun& run) {
    using Rows = std::vector<std::vector<std::string>>;
    services::HtmlPage page;
    services::beginReportPage(page, VT_DATA("批量下载报告 ") + run.planName, run.generatedAt);
    page.paragraph(fleetSummaryText(run), run.failed() ? "over" : nullptr);

    if (!run.refusals.empty()) {
        page.heading("refused", VT_DATA("未执行的计划行"));
        Rows rows;
        for (const auto& r : run.refusals)
            rows.push_back({std::to_string(r.line), r.name, r.text});
        page.table(std::vector<std::string>{VT_DATA("行"), VT_DATA("名称"), VT_DATA("原因")}, rows);
    }

    page.heading("overview", VT_DATA("网关一览"));
    Rows overview;
    for (const auto& g : run.gateways)
        overview.push_back({g.row.name, g.row.host, g.row.port ? std::to_string(*g.row.port) : "",
                            g.row.project, g.ok ? VT_DATA("成功") : VT_DATA("失败"),
                            secondsText(g.elapsedMs()), g.reason});
    page.table(std::vector<std::string>{VT_DATA("名称"), "IP", VT_DATA("端口"), VT_DATA("工程文件"),
                                        VT_DATA("结果"), VT_DATA("用时"), VT_DATA("原因")},
               overview);

    for (std::size_t i = 0; i < run.gateways.size(); ++i) {
        const auto& g = run.gateways[i];
        page.heading("gateway-" + std::to_string(i + 1), g.row.name);
        Rows facts{{VT_DATA("工程文件"), g.row.project},
                   {VT_DATA("校验和 (CRC-32)"), g.checksum},
                   {VT_DATA("网关型号"), g.model},
                   {VT_DATA("发送的块"), sentBlocksText(g.sent)},
                   {VT_DATA("下载结果"), g.downloadResult},
                   {VT_DATA("从站状态"), g.downloaded ? stateSummary(g) : ""},
                   {VT_DATA("用时"), secondsText(g.elapsedMs())},
                   {VT_DATA("结果"), g.ok ? VT_DATA("成功") : VT_DATA("失败")}};
        for (const auto& q : g.questions)
            facts.push_back({VT_DATA("问题 (答: 是)"), q});
        page.table(std::vector<std::string>{VT_DATA("项目"), VT_DATA("内容")}, facts);
        if (!g.ok)
            page.paragraph(g.reason, "unreached");
        if (g.downloaded)
            services::deviceSection(page, g.device, ("device-" + std::to_string(i + 1)).c_str(),
                                    VT_DATA("网关信息"));
    }
    return services::endReportPage(page);
}

} // namespace vantor::fleet
