#include "fleet/FleetReport.h"

#include "services/CommissioningReport.h"
#include "text/Numbers.h"

#include <algorithm>

namespace vantor::fleet {

int FleetRun::succeeded() const {
    return static_cast<int>(
        std::count_if(gateways.begin(), gateways.end(), [](const auto& g) { return g.ok; }));
}

std::string sentBlocksText(const std::vector<SentBlock>& sent) {
    std::string out;
    for (const auto& b : sent)
        out += (out.empty() ? "" : ", ") + text::format("%d: %zu字节", b.command, b.bytes);
    return out;
}

std::string secondsText(int64_t ms) {
    return text::format("%.1f s", static_cast<double>(ms) / 1000.0);
}

std::string fleetSummaryText(const FleetRun& run) {
    return text::format("%zu个网关: %d个成功, %d个失败, 用时 ", run.gateways.size(), run.succeeded(),
                        run.failed()) +
           secondsText(run.elapsedMs);
}

std::string fleetReport(const FleetRun& run) {
    using Rows = std::vector<std::vector<std::string>>;
    services::HtmlPage page;
    services::beginReportPage(page, "批量下载报告 " + run.planName, run.generatedAt);
    page.paragraph(fleetSummaryText(run), run.failed() ? "over" : nullptr);

    if (!run.refusals.empty()) {
        page.heading("refused", "未执行的计划行");
        Rows rows;
        for (const auto& r : run.refusals)
            rows.push_back({std::to_string(r.line), r.name, r.text});
        page.table(std::vector<std::string>{"行", "名称", "原因"}, rows);
    }

    page.heading("overview", "网关一览");
    Rows overview;
    for (const auto& g : run.gateways)
        overview.push_back({g.row.name, g.row.host, g.row.port ? std::to_string(*g.row.port) : "",
                            g.row.project, g.ok ? "成功" : "失败", secondsText(g.elapsedMs()), g.reason});
    page.table(std::vector<std::string>{"名称", "IP", "端口", "工程文件", "结果", "用时", "原因"}, overview);

    for (std::size_t i = 0; i < run.gateways.size(); ++i) {
        const auto& g = run.gateways[i];
        page.heading("gateway-" + std::to_string(i + 1), g.row.name);
        Rows facts{{"工程文件", g.row.project},
                   {"校验和 (CRC-32)", g.checksum},
                   {"网关型号", g.model},
                   {"发送的块", sentBlocksText(g.sent)},
                   {"下载结果", g.downloadResult},
                   {"从站状态", g.downloaded ? stateSummary(g) : ""},
                   {"用时", secondsText(g.elapsedMs())},
                   {"结果", g.ok ? "成功" : "失败"}};
        for (const auto& q : g.questions)
            facts.push_back({"问题 (答: 是)", q});
        page.table(std::vector<std::string>{"项目", "内容"}, facts);
        if (!g.ok)
            page.paragraph(g.reason, "unreached");
        if (g.downloaded)
            services::deviceSection(page, g.device, ("device-" + std::to_string(i + 1)).c_str(), "网关信息");
    }
    return services::endReportPage(page);
}

} // namespace vantor::fleet
