#pragma once
// An HTML page built piece by piece, every text escaped: headings, paragraphs
// (their line breaks kept), tables. The reports of the configurator (the
// commissioning report, the fleet report) are written with it.
#include <string>
#include <string_view>

namespace vantor::services {

// `text` with & < > " ' replaced by their entities.
std::string escapeHtml(std::string_view text);

class HtmlPage {
public:
    void heading(const std::string& id, const std::string& text) {
        out_ += "<h2 id=\"" + escapeHtml(id) + "\">" + escapeHtml(text) + "</h2>\n";
    }
    void subheading(const std::string& text) { out_ += "<h3>" + escapeHtml(text) + "</h3>\n"; }
    void paragraph(const std::string& text, const char* cls = nullptr) {
        out_ += cls ? "<p class=\"" + std::string(cls) + "\">" : std::string("<p>");
        // Line breaks of a message stay visible.
        std::string escaped = escapeHtml(text);
        for (std::size_t at = escaped.find('\n'); at != std::string::npos; at = escaped.find('\n', at))
            escaped.replace(at, 1, "<br>"), at += 4;
        out_ += escaped + "</p>\n";
    }
    template <typename Headers, typename Rows> void table(const Headers& headers, const Rows& rows) {
        out_ += "<table>\n<tr>";
        for (const auto& h : headers)
            out_ += "<th>" + escapeHtml(std::string(h)) + "</th>";
        out_ += "</tr>\n";
        for (const auto& row : rows) {
            out_ += "<tr>";
            for (const auto& cell : row)
                out_ += "<td>" + escapeHtml(std::string(cell)) + "</td>";
            out_ += "</tr>\n";
        }
        out_ += "</table>\n";
    }
    void raw(const std::string& html) { out_ += html; }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

} // namespace vantor::services
