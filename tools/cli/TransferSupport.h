#pragma once
// What the transfer commands of vantor-cli share: reading the project,
// printing messages, simple option parsing.
#include "BlockingDriver.h"
#include "JsonOutput.h"
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"
#include "net/CVantorNetDoc.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vantor::cli {

// Messages on stderr, exactly the system's texts; questions are printed
// and answered with the preset answer.
class StderrSink : public MessageSink {
public:
    explicit StderrSink(bool answer = true) : answer_(answer) {}
    using MessageSink::error;
    void error(const std::string& caption, const std::string& text) override;
    void information(const std::string& caption, const std::string& text) override;
    bool question(const std::string& caption, const std::string& text) override;
    bool refused = false; // an error was shown
    // The questions asked, with the preset answer given.
    std::vector<std::pair<std::string, bool>> questions;

private:
    bool answer_;
};

// The questions a sink was asked, for a JSON document:
// [{"text", "answer"}].
nlohmann::ordered_json questionsJson(const StderrSink& sink);

// The end of an export: true when it `written`; otherwise reports the
// writer's `errors` (or a general text when it gave none) and returns false.
bool exportSucceeded(bool written, const std::string& errors);

// A gateway address in MODBUS reference notation as the module lists show
// it; an area no command kind has (a damaged file) is shown as it stands.
std::string gatewayReference(int area, int gate);

// One table row on stdout, its cells separated by tabs.
template <typename Row> void printRow(const Row& row) {
    for (std::size_t i = 0; i < row.size(); ++i)
        std::printf(i ? "\t%s" : "%s", std::string(row[i]).c_str());
    std::printf("\n");
}

// Prints each non-empty status text on stdout when it differs from the
// last one printed.
void printStatusChanges(blocking::BlockingDriver& driver);

// Opens FILE.vtc into a new project (access IP from IP/ETHOption.xml of the
// current directory first, as a new project starts). False with the reason
// on stderr.
bool loadProject(const std::string& path, model::CVantorDoc& doc);

// Opens FILE.vncfg over a new VantorNet project, as VantorNet opens a file.
// False with the reason on stderr.
bool loadNetProject(const std::string& path, net::CVantorNetDoc& doc);

// The current directory, which stands for the start-up directory: where the
// address files are kept.
std::string startDirectory();
// The directory to read `relative` ("Vantor.ver", "IP/ETHOption.xml") from:
// the current directory, else the installed data directory.
std::string dataDirectoryOf(const std::string& relative);

// The local time as "2024-05-01 12:00:00", for a report's date.
std::string localTimeText();

// Options of the form --name VALUE and --flag, plus positional arguments.
class Options {
public:
    // `valued`: the names that take a value; `flags`: those that do not.
    Options(const std::vector<std::string>& args, const std::vector<std::string>& valued,
            const std::vector<std::string>& flags);
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    std::optional<std::string> value(const std::string& name) const;
    bool flag(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // A non-negative integer option; nothing when absent; sets !ok() when
    // malformed.
    std::optional<int> number(const std::string& name);

private:
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
    std::vector<std::string> positional_;
    bool ok_ = true;
    std::string error_;
};

// Where a device command connects: --ip, else the access IP a new project
// takes (IP/ETHOption.xml, as dataDirectoryOf finds it).
std::string accessHost(const Options& options);

} // namespace vantor::cli
