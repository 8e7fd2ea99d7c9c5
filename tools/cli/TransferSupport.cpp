#include "TransferSupport.h"

#include "JsonOutput.h"
#include "common/DataLocations.h"
#include "editing/ModuleList.h"
#include "model/CommandKind.h"
#include "model/ProjectFile.h"
#include "net/NetProjectFile.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace vantor::cli {

void StderrSink::error(const std::string&, const std::string& text) {
    refused = true;
    reportError(text);
}

void StderrSink::information(const std::string&, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool StderrSink::question(const std::string&, const std::string& text) {
    questions.emplace_back(text, answer_);
    if (!jsonMode())
        std::fprintf(stderr, "%s\n%s\n", text.c_str(), answer_ ? "是" : "否");
    else if (!answer_)
        reportError(text); // the declined question is why the run stops
    return answer_;
}

bool loadProject(const std::string& path, model::CVantorDoc& doc) {
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    std::string error;
    if (!model::ProjectFile::open(doc, path, &error)) {
        reportError(error);
        return false;
    }
    return true;
}

bool loadNetProject(const std::string& path, net::CVantorNetDoc& doc) {
    doc.NewDocument();
    std::string error;
    if (!net::NetProjectFile::open(doc, path, &error)) {
        reportError(error);
        return false;
    }
    return true;
}

Json questionsJson(const StderrSink& sink) {
    Json all = Json::array();
    for (const auto& [text, answer] : sink.questions)
        all.push_back({{"text", text}, {"answer", answer}});
    return all;
}

bool exportSucceeded(bool written, const std::string& errors) {
    if (written)
        return true;
    std::string text = errors.empty() ? "写文件时产生错误" : errors;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    reportError(text);
    return false;
}

std::string gatewayReference(int area, int gate) {
    if (model::areaIndex(area) < 0)
        return text::format("%d (区 %d)", gate, area);
    return editing::referenceAddress(area, gate);
}

std::string dataDirectoryOf(const std::string& relative) {
    return common::DataLocations::forCurrentDirectory().directoryOf(relative);
}

std::string startDirectory() {
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

std::string localTimeText() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                 const std::vector<std::string>& flags) {
    auto has = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (has(valued, a)) {
            if (i + 1 >= args.size()) {
                ok_ = false;
                error_ = a + " needs a value";
                return;
            }
            values_.emplace_back(a, args[++i]);
        } else if (has(flags, a)) {
            flags_.push_back(a);
        } else if (a.rfind("--", 0) == 0) {
            ok_ = false;
            error_ = "unknown option " + a;
            return;
        } else {
            positional_.push_back(a);
        }
    }
}

std::optional<std::string> Options::value(const std::string& name) const {
    std::optional<std::string> v;
    for (const auto& [n, val] : values_)
        if (n == name)
            v = val;
    return v;
}

bool Options::flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::optional<int> Options::number(const std::string& name) {
    auto v = value(name);
    if (!v)
        return std::nullopt;
    long n = 0;
    bool good = !v->empty() && v->size() <= 9;
    for (char c : *v) {
        if (c < '0' || c > '9')
            good = false;
        else
            n = n * 10 + (c - '0');
    }
    if (!good) {
        ok_ = false;
        error_ = name + " needs a non-negative number";
        return std::nullopt;
    }
    return static_cast<int>(n);
}

std::string accessHost(const Options& options) {
    if (auto ip = options.value("--ip"))
        return *ip;
    model::CVantorDoc doc;
    doc.NewDocument(dataDirectoryOf("IP/ETHOption.xml"));
    return doc.IP;
}

void printStatusChanges(blocking::BlockingDriver& driver) {
    driver.onStatus = [last = std::string()](const std::string& text) mutable {
        if (text.empty() || text == last)
            return;
        last = text;
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    };
}

} // namespace vantor::cli
