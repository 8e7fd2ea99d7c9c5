// vantor-cli eip FILE.vtc [--export OUT]: the EtherNet/IP address table of an
// EtherNet/IP gateway project, computed as the table window does (addresses
// packed first): the totals, the connections, then the INPUT and OUTPUT
// entries, one tab-separated row per line. --export writes the sheets
// EIPConn, EIPInput and EIPOutput. An overflow is reported on stderr; what
// was allocated before it is still printed, and the exit status is 1.
#include "CliCommand.h"

#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"
#include "services/EipAddressTable.h"

#include <cstdio>
#include <filesystem>

namespace vantor::cli {
namespace {

class StderrSink : public MessageSink {
public:
    using MessageSink::error;
    void error(const std::string&, const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void information(const std::string&, const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool question(const std::string&, const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return true;
    }
};

template <typename Row> void printRow(const Row& row) {
    for (std::size_t i = 0; i < row.size(); ++i)
        std::printf(i ? "\t%s" : "%s", std::string(row[i]).c_str());
    std::printf("\n");
}

int runEip(const std::vector<std::string>& args) {
    std::string file;
    std::string exportPath;
    bool exporting = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--export" && i + 1 < args.size()) {
            exporting = true;
            exportPath = args[++i];
        } else if (file.empty() && args[i].rfind("--", 0) != 0) {
            file = args[i];
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty() || (exporting && exportPath.empty())) {
        std::fprintf(stderr, "usage: vantor-cli eip FILE.vtc [--export OUT]\n");
        return kUsage;
    }
    std::error_code ec;
    model::CVantorDoc doc;
    doc.NewDocument(std::filesystem::current_path(ec).string());
    std::string error;
    if (!model::ProjectFile::open(doc, file, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return kUsage;
    }
    if (!doc.hasMaster()) {
        std::fprintf(stderr, "请添加一个主站!\n");
        return kRefused;
    }
    StderrSink sink;
    auto opened = services::openEipAddressTable(doc, sink);
    if (!opened) {
        std::fprintf(stderr, "vantor-cli eip: the gateway model %s has no EtherNet/IP table\n",
                     doc.modelName().c_str());
        return kRefused;
    }
    const services::EipTable& table = *opened;
    std::printf("EIP输入总长度\t%d\nEIP输出总长度\t%d\nEIP连接个数\t%d\n", table.inputTotal,
                table.outputTotal, table.connectionCount);
    std::printf("\nEIP连接\t输入长度\t输出长度\n");
    for (const auto& r : services::eipConnectionRows(table))
        printRow(r);
    for (bool input : {true, false}) {
        std::printf("\n%s\n连接\tEIP地址\t网关地址\t长度\n", input ? "INPUT" : "OUTPUT");
        for (const auto& r : services::eipEntryRows(table, input))
            printRow(r);
    }
    if (exporting) {
        std::string errors;
        if (!services::exportEipTable(table, exportPath, errors)) {
            std::fprintf(stderr, "%s", errors.empty() ? "写文件时产生错误\n" : errors.c_str());
            return kUsage;
        }
    }
    return table.overflow ? kRefused : kOk;
}

const Register registered{{"eip", "FILE.vtc [--export OUT]", runEip}};

} // namespace
} // namespace vantor::cli
