#pragma once
// --json: the commands that take it print exactly one JSON document on
// stdout per run. Messages that the text form prints on stderr are
// collected instead; a run that fails prints {"error": "..."} with the same
// exit status as the text form.
#include "sheet/ImportReport.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {

// Keys keep the order in which a command adds them, as its text form does.
using Json = nlohmann::ordered_json;

// Whether this run prints JSON (set once by main, from "--json" among the
// arguments of a command that takes it).
bool jsonMode();
void setJsonMode(bool on);

// A message of a failure: on stderr in the text form, collected for the
// error document in JSON.
void reportError(const std::string& text);
// The collected messages, one per line.
std::string collectedErrors();

// Prints the run's document (one line) and remembers that it was printed.
void printJson(const Json& document);
bool jsonPrinted();
// What main prints when a JSON run ended with `status` != 0 and without a
// document: the collected messages, else `fallback` (the command's usage).
void printJsonError(const std::string& fallback);

// The refused rows of a workbook import: one line each on stderr, or
// {"refused": [{"sheet", "row", "column", "message"}, ...]}.
void printRefusals(const sheet::ImportReport& report);

// The end of a workbook import that built no project: an unreadable file
// (exit 2) or refused rows (exit 1); nothing for an accepted one.
template <typename ImportResult> std::optional<int> importFailure(const ImportResult& result) {
    if (!result.fileError.empty()) {
        reportError(result.fileError);
        return 2;
    }
    if (!result.accepted()) {
        printRefusals(result.report);
        return 1;
    }
    return std::nullopt;
}

// A table as {"title", "columns", "rows"}: the rows are the text form's
// tab-separated cells.
template <typename Columns, typename Rows>
Json tableJson(const std::string& title, const Columns& columns, const Rows& rows) {
    Json t = {{"title", title}, {"columns", Json::array()}, {"rows", Json::array()}};
    for (const auto& c : columns)
        t["columns"].push_back(std::string(c));
    for (const auto& r : rows) {
        Json cells = Json::array();
        for (const auto& cell : r)
            cells.push_back(std::string(cell));
        t["rows"].push_back(std::move(cells));
    }
    return t;
}

// The field descriptions printed by vantor-cli --help.
std::string jsonHelp();

} // namespace vantor::cli
