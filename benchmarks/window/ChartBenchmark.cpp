// Drawing a chart: onto a 960 x 600 picture as the window's view and the PNG file do, as SVG
// into memory, and saved as a file of either kind (drawing, encoding and writing). A chart must
// draw well within a frame's time: the window repaints it on every resize.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <vector>

#include <benchmark/benchmark.h>

#include "charts/drawing/ChartFiles.h"
#include "charts/drawing/ChartPainter.h"
#include "tests/charts/drawing/CannedCharts.h"

namespace {

using namespace kelvane;

const QRectF kArea(0, 0, 960, 600);

ChartModel Canned(int which) {
    switch (which) {
    case 0:
        return testing::CannedMaskChart();
    case 1:
        return testing::CannedAcpChart();
    default:
        return testing::CannedObwChart();
    }
}

const char* CannedName(int which) { return which == 0 ? "mask" : which == 1 ? "acp" : "obw"; }

void PaintOnPicture(benchmark::State& state) {
    const ChartModel model = Canned(static_cast<int>(state.range(0)));
    QImage image(960, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        ChartPainter::Paint(painter, kArea, model);
    }
    state.SetLabel(CannedName(static_cast<int>(state.range(0))));
}

void DrawSvg(benchmark::State& state) {
    const ChartModel model = Canned(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QByteArray svg;
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(960, 600));
        generator.setViewBox(QRect(0, 0, 960, 600));
        {
            QPainter painter(&generator);
            ChartPainter::Paint(painter, kArea, model);
        }
        benchmark::DoNotOptimize(svg.data());
        state.counters["bytes"] = static_cast<double>(svg.size());
    }
    state.SetLabel(CannedName(static_cast<int>(state.range(0))));
}

// The mask chart saved as a file, by its name's suffix.
void SaveFile(benchmark::State& state, const char* name) {
    const ChartModel model = testing::CannedMaskChart();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    for (auto _ : state) {
        if (!SaveChartPicture(model, path).isEmpty()) state.SkipWithError("not written");
    }
}

BENCHMARK(PaintOnPicture)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawSvg)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveFile, svg, "chart.svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveFile, png, "chart.png")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
