// The project as a workbook on the largest project the catalogue allows
// (KX-P6R0-1.0: six lines of 31 slaves, 512 commands, assembled through the
// editing operations): export, import (reading the workbook and building
// the project through the dialogs' checks, and each half alone) beside open
// + save of the same project, in one run. The ratios to open + save are
// printed after the table; the goal is an import within 5 times. The same
// for VantorNet's largest project (31 servers, 1024 commands, KX-P1-1.0).
#include "AssembledNetProjects.h"
#include "AssembledProjects.h"
#include "RatioReporter.h"

#include "model/ProjectFile.h"
#include "net/NetProjectFile.h"
#include "sheet/WorkbookReader.h"
#include "workbook/NetWorkbook.h"
#include "workbook/VantorWorkbook.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace vantor;

const model::CVantorDoc& project() {
    static const model::CVantorDoc doc = testing::assembleProject(*model::findGatewayModel("KX-P6R0-1.0"));
    return doc;
}

std::string tempPath(const char* tag, const char* ext) {
    return (std::filesystem::temp_directory_path() /
            ("vantor-bench-" + std::to_string(::getpid()) + "-" + tag + ext))
        .string();
}

model::CVantorDoc fresh() {
    model::CVantorDoc doc;
    doc.NewDocument("/nonexistent");
    return doc;
}

const std::string& workbookPath() {
    static const std::string path = [] {
        const std::string p = tempPath("book", ".xlsx");
        std::string error;
        if (!workbook::exportWorkbook(project(), p, error))
            std::abort();
        return p;
    }();
    return path;
}

void BM_OpenSave(benchmark::State& state) {
    const std::string in = tempPath("in", ".vtc");
    const std::string out = tempPath("out", ".vtc");
    std::string error;
    model::ProjectFile::save(project(), in, "", &error);
    for (auto _ : state) {
        model::CVantorDoc doc = fresh();
        if (!model::ProjectFile::open(doc, in, &error) || !model::ProjectFile::save(doc, out, "", &error))
            state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}

void BM_Export(benchmark::State& state) {
    const std::string out = tempPath("export", ".xlsx");
    std::string error;
    for (auto _ : state)
        if (!workbook::exportWorkbook(project(), out, error))
            state.SkipWithError(error.c_str());
    std::filesystem::remove(out);
}

void BM_Import(benchmark::State& state) {
    for (auto _ : state) {
        auto result = workbook::importWorkbook(workbookPath(), fresh());
        if (!result.accepted())
            state.SkipWithError("import refused");
        benchmark::DoNotOptimize(result.project->slaves.data());
    }
}

void BM_ImportRead(benchmark::State& state) {
    for (auto _ : state) {
        auto book = sheet::readWorkbook(workbookPath());
        if (!book.ok)
            state.SkipWithError(book.error.c_str());
        benchmark::DoNotOptimize(book.sheets.data());
    }
}

void BM_ImportBuild(benchmark::State& state) {
    const auto book = sheet::readWorkbook(workbookPath());
    for (auto _ : state) {
        auto result = workbook::importSheets(book, fresh());
        if (!result.accepted())
            state.SkipWithError("import refused");
        benchmark::DoNotOptimize(result.project->slaves.data());
    }
}

const net::CVantorNetDoc& netProject() {
    static const net::CVantorNetDoc doc = testing::assembleNetProject("KX-P1-1.0");
    return doc;
}

const std::string& netWorkbookPath() {
    static const std::string path = [] {
        const std::string p = tempPath("netbook", ".xlsx");
        std::string error;
        if (!workbook::exportNetWorkbook(netProject(), p, error))
            std::abort();
        return p;
    }();
    return path;
}

void BM_NetOpenSave(benchmark::State& state) {
    const std::string in = tempPath("in", ".vncfg");
    const std::string out = tempPath("out", ".vncfg");
    std::string error;
    net::NetProjectFile::save(netProject(), in, "", &error);
    for (auto _ : state) {
        net::CVantorNetDoc doc;
        if (!net::NetProjectFile::open(doc, in, &error) || !net::NetProjectFile::save(doc, out, "", &error))
            state.SkipWithError(error.c_str());
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}

void BM_NetExport(benchmark::State& state) {
    const std::string out = tempPath("netexport", ".xlsx");
    std::string error;
    for (auto _ : state)
        if (!workbook::exportNetWorkbook(netProject(), out, error))
            state.SkipWithError(error.c_str());
    std::filesystem::remove(out);
}

void BM_NetImport(benchmark::State& state) {
    for (auto _ : state) {
        auto result = workbook::importNetWorkbook(netWorkbookPath());
        if (!result.accepted())
            state.SkipWithError("import refused");
        benchmark::DoNotOptimize(result.project->slaves.data());
    }
}

BENCHMARK(BM_OpenSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetOpenSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NetImport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("project: KX-P6R0-1.0, %zu lines, %zu slaves, %d commands; workbook %ju bytes\n",
                project().coms.size(), project().slaves.size(), project().commandCount(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(workbookPath())));
    vantor::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove(workbookPath());
    std::filesystem::remove(netWorkbookPath());

    auto& t = reporter.times;
    auto ratios = [&](const char* baseName, std::initializer_list<const char*> names) {
        if (!t.count(baseName))
            return;
        const auto base = t[baseName];
        std::printf("\nper %s of the same project (goal for the import: below 5):\n", baseName);
        for (const char* name : names)
            if (t.count(name))
                std::printf("  %-16s CPU %6.2f   real %6.2f\n", name, t[name].cpu / base.cpu,
                            t[name].real / base.real);
    };
    ratios("BM_OpenSave", {"BM_Export", "BM_Import", "BM_ImportRead", "BM_ImportBuild"});
    ratios("BM_NetOpenSave", {"BM_NetExport", "BM_NetImport"});
    return 0;
}
