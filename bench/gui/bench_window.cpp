// Painting the largest project (six lines of 31 slaves) into an image, and
// opening it in the main window. The scene benchmarks paint the same
// drawing without the window: "warm" as every frame after the first, "cold"
// with the texts laid out again each time (as every frame did before the
// painter kept them). Run with QT_QPA_PLATFORM=offscreen from the
// data folder (the pictures are looked up there).
#include "MainWindow.h"
#include "PrimitivePainter.h"
#include "ProjectView.h"
#include "model/ProjectFile.h"
#include "view/GraphicScene.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vantor::model;

namespace {

CVantorDoc largestProject() {
    CVantorDoc doc;
    doc.masters.push_back(CMaster{"KX-P6R0-1.0", 35, 35, "KX-P6R0-1.0"});
    int gate = 0;
    for (int line = 0; line < 6; ++line) {
        CCOM com;
        com.COMName = "COM" + std::to_string(line + 1);
        com.num_com = line;
        com.x = 260;
        com.y = 80 + 150 * line;
        doc.coms.push_back(com);
        for (int s = 0; s < 31; ++s) {
            CSlave slave;
            slave.com_name = com.COMName;
            slave.address = s + 1;
            slave.name = "从站" + std::to_string(s + 1);
            auto [x, y] = doc.placeNewSlave(line);
            slave.x = x;
            slave.y = y;
            for (int c = 0; c < 3 && gate < 2000 - 4; ++c) {
                CModule m;
                m.Func = "读4区 03H";
                m.area_num = 4;
                m.read_wri = 0;
                m.Start_Add = c * 4;
                m.Length = 4;
                m.Gate_Add = gate;
                gate += 4;
                if (doc.commandCount() < 512)
                    slave.modules.push_back(m);
            }
            doc.slaves.push_back(slave);
        }
    }
    return doc;
}

void BM_PaintLargestProject(benchmark::State& state) {
    MainWindow window;
    window.document() = largestProject();
    auto* view = window.findChild<ProjectView*>();
    QImage image(view->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintLargestProject)->Unit(benchmark::kMillisecond);

void BM_PaintLargestScene(benchmark::State& state) {
    const bool cold = state.range(0) == 1;
    CVantorDoc doc = largestProject();
    vantor::view::GraphicScene scene(doc);
    QWidget owner;
    vantor::gui::PrimitivePainter painter(&owner);
    QImage image(vantor::view::kSceneWidth, vantor::view::kSceneHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        if (cold)
            painter.forgetTexts();
        image.fill(Qt::white);
        QPainter p(&image);
        painter.paint(p, scene.draw());
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintLargestScene)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenLargestProject(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("largest.vtc");
    std::string error;
    if (!ProjectFile::save(largestProject(), path.toStdString(), QDir::currentPath().toStdString(), &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    MainWindow window;
    for (auto _ : state)
        benchmark::DoNotOptimize(window.openProject(path));
}
BENCHMARK(BM_OpenLargestProject)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
