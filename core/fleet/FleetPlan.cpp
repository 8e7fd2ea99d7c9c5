#include "fleet/FleetPlan.h"

#include "common/WholeFile.h"
#include "editing/FieldText.h"
#include "sheet/SheetLayout.h"
#include "text/Numbers.h"
#include "text/Shown.h"
#include "transfer/GatewayAddress.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

namespace vantor::fleet {
namespace {

using editing::trimmed;

bool endsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

// A port field: empty is none; otherwise a port connectTarget accepts.
bool readPort(const std::string& text, std::optional<int>& port) {
    if (text.empty())
        return true;
    const auto target = transfer::connectTarget("127.0.0.1", text);
    if (!target.ok())
        return false;
    port = target.port;
    return true;
}

constexpr const char* kDuplicateName = VT_TEXT("名称与第%d行重复");
constexpr const char* kSameGateway = VT_TEXT("与第%d行是同一网关");

// A refusal's text in the user's language. The texts made with another
// row's line or with the project's path are known by their written form,
// which the report keeps.
std::string shownRefusalText(const std::string& text) {
    for (const char* form : {kDuplicateName, kSameGateway}) {
        int other = 0;
        if (std::sscanf(text.c_str(), form, &other) == 1 && text::format(form, other) == text)
            return text::shownFormat(form, other);
    }
    const std::string missing = std::string(kProjectMissing) + " ";
    if (text.starts_with(missing))
        return text::shown(kProjectMissing) + " " + text.substr(missing.size());
    return text::shown(text);
}

} // namespace

std::string duplicateNameText(int otherLine) {
    return text::format(kDuplicateName, otherLine);
}

std::string sameGatewayText(int otherLine) {
    return text::format(kSameGateway, otherLine);
}

std::string refusalLine(const PlanRefusal& refusal) {
    const std::string why = shownRefusalText(refusal.text);
    if (refusal.name.empty())
        return text::shownFormat(VT_TEXT("第%d行: %s"), refusal.line, why.c_str());
    return text::shownFormat(VT_TEXT("第%d行 %s: %s"), refusal.line, refusal.name.c_str(), why.c_str());
}

std::optional<std::vector<CsvRecord>> splitCsv(std::string_view text, std::string* error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<CsvRecord> records;
    CsvRecord record;
    std::string field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the current field was quoted (kept as it stands)
    bool anything = false;  // the record has a character or a separator
    int line = 1;
    int quoteLine = 0;
    record.line = 1;
    auto endField = [&] {
        record.fields.push_back(wasQuoted ? field : trimmed(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        if (anything) {
            endField();
            records.push_back(std::move(record));
        }
        record = CsvRecord{};
        field.clear();
        wasQuoted = false;
        anything = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (!anything)
            record.line = line;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (c == '\n' || c == '\r') {
            endRecord();
            ++line;
        } else if (c == ',') {
            anything = true;
            endField();
        } else if (c == '"' && trimmed(field).empty()) {
            // A quote opens a field only at its start; elsewhere it is text.
            anything = true;
            field.clear();
            quoted = wasQuoted = true;
            quoteLine = line;
        } else {
            anything = anything || c != ' ';
            field += c;
        }
    }
    if (quoted) {
        if (error)
            *error = text::shownFormat(VT_TEXT("第%d行: %s"), quoteLine, text::shown(kPlanOpenQuote).c_str());
        return std::nullopt;
    }
    endRecord();
    return records;
}

PlanParse parsePlan(std::string_view text, const std::string& planDir) {
    PlanParse plan;
    auto records = splitCsv(text, &plan.error);
    if (!records)
        return plan;
    return parsePlanRecords(*records, planDir);
}

std::optional<std::vector<CsvRecord>> planSheetRecords(const sheet::ReadWorkbook& book, std::string* error) {
    const sheet::ReadSheet* plan = book.sheet(kPlanSheet);
    if (!plan) {
        if (error)
            *error = kPlanNoSheet;
        return std::nullopt;
    }
    std::vector<CsvRecord> records;
    std::size_t width = 0;
    for (const auto& row : plan->rows) {
        CsvRecord record;
        record.line = row.number;
        for (const auto& [column, cell] : row.cells) {
            if (record.fields.size() <= static_cast<std::size_t>(column))
                record.fields.resize(static_cast<std::size_t>(column) + 1);
            // A number (a port typed as one) reads as the text it shows; any
            // other kind keeps its text (a formula its expression), which the
            // row's checks then refuse.
            record.fields[static_cast<std::size_t>(column)] =
                cell.kind == sheet::Cell::Kind::Number ? sheet::numberText(cell.number) : cell.text;
        }
        // The sheet's rows are as wide as its header: cells left blank at
        // the end of a row are blank fields, cells right of the header are
        // not the plan's.
        if (records.empty())
            width = record.fields.size();
        record.fields.resize(width);
        records.push_back(std::move(record));
    }
    return records;
}

PlanParse readPlanFile(const std::string& path) {
    PlanParse plan;
    const std::string planDir = std::filesystem::path(path).parent_path().string();
    if (endsWith(lowered(path), ".xlsx")) {
        const auto book = sheet::readWorkbook(path);
        if (!book.ok) {
            plan.error = book.error;
            return plan;
        }
        const auto records = planSheetRecords(book, &plan.error);
        return records ? parsePlanRecords(*records, planDir) : plan;
    }
    std::string text;
    if (!readWholeFile(path, text)) {
        plan.error = kPlanUnreadable;
        return plan;
    }
    return parsePlan(text, planDir);
}

PlanParse parsePlanRecords(const std::vector<CsvRecord>& recordList, const std::string& planDir) {
    PlanParse plan;
    const auto* records = &recordList;
    if (records->empty()) {
        plan.error = kPlanBadHeader;
        return plan;
    }
    std::vector<std::string> header;
    for (const auto& f : records->front().fields)
        header.push_back(lowered(f));
    const std::vector<std::string> full{"name", "ip", "port", "project", "mport"};
    const bool withModbus = header == full;
    if (!withModbus && header != std::vector<std::string>(full.begin(), full.end() - 1)) {
        plan.error = kPlanBadHeader;
        return plan;
    }
    std::map<std::string, int> names;
    std::map<std::pair<std::string, std::optional<int>>, int> gateways;
    for (std::size_t r = 1; r < records->size(); ++r) {
        const auto& rec = (*records)[r];
        auto refuse = [&](const std::string& name, const std::string& why) {
            plan.refusals.push_back({rec.line, name, why});
        };
        if (rec.fields.size() != header.size()) {
            refuse(rec.fields.empty() ? "" : rec.fields[0], kPlanFieldCount);
            continue;
        }
        PlanRow row;
        row.line = rec.line;
        row.name = rec.fields[0];
        if (row.name.empty()) {
            refuse("", kPlanNoName);
            continue;
        }
        if (auto [it, added] = names.emplace(row.name, rec.line); !added) {
            refuse(row.name, duplicateNameText(it->second));
            continue;
        }
        const auto address = transfer::connectTarget(rec.fields[1], "1");
        if (!address.ok()) {
            refuse(row.name, transfer::kIpFormatWrong);
            continue;
        }
        row.host = address.host;
        if (!readPort(rec.fields[2], row.port)) {
            refuse(row.name, transfer::kPortFormatWrong);
            continue;
        }
        if (withModbus && !readPort(rec.fields[4], row.modbusPort)) {
            refuse(row.name, kPlanModbusPortWrong);
            continue;
        }
        row.project = rec.fields[3];
        if (row.project.empty()) {
            refuse(row.name, kPlanNoProject);
            continue;
        }
        const std::string kind = lowered(row.project);
        if (!endsWith(kind, ".vtc") && !endsWith(kind, ".vncfg")) {
            refuse(row.name, kPlanProjectKind);
            continue;
        }
        if (auto [it, added] = gateways.emplace(std::pair(row.host, row.port), rec.line); !added) {
            refuse(row.name, sameGatewayText(it->second));
            continue;
        }
        const std::filesystem::path project(row.project);
        row.path = (project.is_absolute() ? project : std::filesystem::path(planDir) / project).string();
        plan.rows.push_back(std::move(row));
    }
    if (plan.rows.empty() && plan.refusals.empty())
        plan.error = kPlanNoRows;
    return plan;
}

} // namespace vantor::fleet
