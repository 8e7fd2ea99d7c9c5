#include "JsonOutput.h"

#include <cstdio>

namespace vantor::cli {

namespace {

struct JsonRun {
    bool on = false;
    bool printed = false;
    std::vector<std::string> errors;
};

JsonRun& run() {
    static JsonRun r;
    return r;
}

} // namespace

bool jsonMode() {
    return run().on;
}

void setJsonMode(bool on) {
    run().on = on;
}

void reportError(const std::string& text) {
    if (run().on)
        run().errors.push_back(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

std::string collectedErrors() {
    std::string all;
    for (const auto& e : run().errors)
        all += (all.empty() ? "" : "\n") + e;
    return all;
}

void printJson(const Json& document) {
    // Invalid UTF-8 in a damaged project becomes U+FFFD instead of aborting.
    std::printf("%s\n", document.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
    std::fflush(stdout);
    run().printed = true;
}

bool jsonPrinted() {
    return run().printed;
}

void printJsonError(const std::string& fallback) {
    const std::string errors = collectedErrors();
    printJson(Json{{"error", errors.empty() ? fallback : errors}});
}

void printRefusals(const sheet::ImportReport& report) {
    if (!jsonMode()) {
        std::fputs(report.text().c_str(), stderr);
        return;
    }
    Json refused = Json::array();
    for (const auto& r : report.refusals())
        refused.push_back({{"sheet", r.sheet}, {"row", r.row}, {"column", r.column}, {"message", r.message}});
    printJson({{"refused", refused}});
}

std::string jsonHelp() {
    return R"(
--json (show, check, blocks, map, eip, state, info, budget, import, net-show,
net-blocks, net-map, fleet) prints one JSON document on stdout with the data of the text form.
A failure prints {"error": TEXT} instead (TEXT: the messages the text form
prints on stderr, one per line) with the same exit status. Tables are
{"title", "columns", "rows"}, each row the list of the text form's cells.
  show        {"model" (null without a gateway), "accessIp", "addressing", "lineCount",
              "slaveCount", "commandCount", "lines": [{"name", "baud", "parity",
              "dataBits", "stopBits", "slaveGapMs", "slaveCount", "slaves"}],
              "unassignedSlaves"}; a slave is {"address", "name", "sendDelayMs",
              "replyTimeoutMs", "control", "commands": [{"function", "start",
              "length", "gatewayAddress", "sendOnChange", "comment"}]}
  check       {"downloadable": true, "questions": [{"text", "answer"}]}
  blocks      {"blocks": [{"command": 20|21|70, "hex"}], "questions"}
  map         {"kind": "gateway"|"cdt", "lists": [table]}
  eip         {"inputTotal", "outputTotal", "connectionCount", "connections": table,
              "input": table, "output": table, "overflow"}; an overflow adds "error"
              (exit 1)
  state       {"cycles": [{"cycle", "rows": [{"com", "slave", "controlAddress",
              "control", "stateAddress", "state"}]}]}; with --watch one object per
              cycle and line: {"cycle", "t_ms", "slaves": [{"line", "address",
              "class": "online"|"timeout"|"stopped"|"silent", "failure_rate",
              "last_success_ms", "since_ms"}]} ("name" and "budget_share" with
              --project), and {"error"} last when the watch fails
  info        {"id", "version", "build", "mac1", "mac2", "state": {"text", "colour":
              [R, G, B]} or null, "serial"}
  budget      [{"line", "baud", "bitsPerCharacter", "commands", "cycleMs",
              "overThreshold", "costliestSlave", "slaves": [{"address", "ms"}]}]
  import      {"written", "model", "lineCount", "slaveCount", "commandCount"}; refused
              rows give {"refused": [{"sheet", "row", "column", "message"}]} (exit 1)
  net-show    {"model", "workMode", "com1", "com2" ({"baud", "parity", "dataBits",
              "stopBits", "address"}), "sendOnChangeDefault", "slaveCount",
              "commandCount", "slaves": [{"index", "name", "ip", "port", "sendDelayMs",
              "replyTimeoutMs", "control", "picture", "nodes": [{"address",
              "commands": [{"function", "modbusAddress", "start", "length",
              "gatewayAddress", "sendOnChange", "comment"}]}]}]}
  net-blocks  {"a", "b"}: the two images as lowercase hex
  net-map     {"kind": "dp"|"gateway", "lists": [table]}
  fleet       {"gateways": [{"name", "ok", "reason", "line", "ip", "port", "project",
              "checksum", "model", "blocks": [{"command", "bytes"}], "download",
              "elapsed_ms", "identity": {"device_id", "version", "build_time",
              "serial_number", "run_state"}, "states": {"read", "summary", "rows"}}],
              "refused": [{"line", "name", "reason"}], "summary": {"gateways",
              "succeeded", "failed", "refused", "elapsed_ms"}}; exit 1 when any failed
)";
}

} // namespace vantor::cli
