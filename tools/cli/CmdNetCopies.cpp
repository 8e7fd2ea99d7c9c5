// vantor-cli net-copies FILE.vncfg --server N --count C [--step S] [--by ip|unit] -o OUT.vncfg:
// 批量复制 of server N (numbered from 1, as net-show lists them) as
// VantorNet's drawing makes them: copy k at the IP's last part + k × S
// (--by ip, the default) or at the unit address + k × S (--by unit), saved
// as OUT.vncfg. A refusal prints the window's message and writes nothing
// (exit 1).
#include "CliCommand.h"
#include "TransferSupport.h"

#include "editing/FieldText.h"
#include "net/NetProjectFile.h"
#include "net/NetServerCopies.h"

#include <cstdio>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "FILE.vncfg --server N --count C [--step S] [--by ip|unit] -o OUT.vncfg";

int runNetCopies(const std::vector<std::string>& args) {
    Options o(args, {"--server", "--count", "--step", "--by", "-o"}, {});
    const std::string by = o.value("--by").value_or("ip");
    const auto server = o.value("--server") ? editing::filledDigitsValue(*o.value("--server")) : std::nullopt;
    if (!o.ok() || o.positional().size() != 1 || !server || !o.value("--count") || !o.value("-o") ||
        (by != "ip" && by != "unit")) {
        std::fprintf(stderr, "usage: vantor-cli net-copies %s\n", kUsageText);
        return kUsage;
    }
    net::CVantorNetDoc doc;
    if (!loadNetProject(o.positional()[0], doc))
        return kUsage;
    if (*server < 1 || *server > static_cast<int>(doc.slaves.size())) {
        std::fprintf(stderr, "vantor-cli net-copies: no server %d\n", *server);
        return kUsage;
    }
    StderrSink sink;
    const editing::CopiesForm form{*o.value("--count"), o.value("--step").value_or("1")};
    if (net::acceptServerCopiesForm(doc, *server - 1, form,
                                    by == "ip" ? net::CopyStep::Ip : net::CopyStep::Unit,
                                    sink) != editing::FormResult::Accepted)
        return kRefused;
    std::string error;
    if (!net::NetProjectFile::save(doc, *o.value("-o"), dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"net-copies", kUsageText, runNetCopies}};

} // namespace
} // namespace vantor::cli
