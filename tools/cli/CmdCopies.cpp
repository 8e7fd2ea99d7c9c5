// vantor-cli copies FILE.vtc --slave COM1:3 --count N [--step S] -o OUT.vtc:
// 批量复制 of slave 3 of COM1 as the drawing's context menu makes them (copy
// k at address 3 + k × S, default step 1), saved as OUT.vtc. A refusal
// prints the window's message and writes nothing (exit 1).
#include "CliCommand.h"
#include "TransferSupport.h"

#include "editing/FieldText.h"
#include "editing/SlaveCopies.h"
#include "model/ProjectFile.h"

#include <cstdio>

namespace vantor::cli {
namespace {

constexpr const char* kUsageText = "FILE.vtc --slave COM1:3 --count N [--step S] -o OUT.vtc";

// The index of the slave named "LINE:ADDRESS", or -1.
int namedSlave(const model::CVantorDoc& doc, const std::string& name) {
    const auto colon = name.find(':');
    if (colon == std::string::npos)
        return -1;
    const std::string line = name.substr(0, colon);
    const auto address = editing::filledDigitsValue(std::string_view(name).substr(colon + 1));
    for (std::size_t i = 0; address && i < doc.slaves.size(); ++i)
        if (doc.slaves[i].com_name == line && doc.slaves[i].address == *address)
            return static_cast<int>(i);
    return -1;
}

int runCopies(const std::vector<std::string>& args) {
    Options o(args, {"--slave", "--count", "--step", "-o"}, {});
    if (!o.ok() || o.positional().size() != 1 || !o.value("--slave") || !o.value("--count") ||
        !o.value("-o")) {
        std::fprintf(stderr, "usage: vantor-cli copies %s\n", kUsageText);
        return kUsage;
    }
    model::CVantorDoc doc;
    if (!loadProject(o.positional()[0], doc))
        return kUsage;
    const int slave = namedSlave(doc, *o.value("--slave"));
    if (slave < 0) {
        std::fprintf(stderr, "vantor-cli copies: no slave %s\n", o.value("--slave")->c_str());
        return kUsage;
    }
    StderrSink sink;
    const editing::CopiesForm form{*o.value("--count"), o.value("--step").value_or("1")};
    if (editing::acceptSlaveCopiesForm(doc, slave, form, sink) != editing::FormResult::Accepted)
        return kRefused;
    std::string error;
    if (!model::ProjectFile::save(doc, *o.value("-o"), dataDirectoryOf("Vantor.ver"), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    return kOk;
}

const Register registered{{"copies", kUsageText, runCopies}};

} // namespace
} // namespace vantor::cli
