// Drawing a chart: onto a 960 x 600 picture as the window's view and the PNG file do, as SVG
// into memory, and saved as a file of each kind (drawing, encoding and writing); also a chart
// with off-scale values and one whose labels crowd. A chart must draw within 20 ms, well
// within a frame's time: the window repaints it on every resize.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include <benchmark/benchmark.h>

#include "charts/RecordChart.h"
#include "charts/drawing/ChartFiles.h"
#include "charts/drawing/ChartPainter.h"
#include "tests/charts/drawing/CannedCharts.h"
#include "tests/results/SampleRecords.h"

namespace {

using namespace kelvane;

const QRectF kArea(0, 0, 960, 600);

// A W-CDMA mask run with absurd values: rows at +-1e300 dBm and one at 1e300 Hz, drawn
// off-scale.
ChartModel OffScaleMask() {
    MeasurementResult result = testing::WcdmaMaskResult();
    result.values[0].value = result.values[0].row->levelDbm = 1e300;
    result.values[1].value = result.values[1].row->levelDbm = -1e300;
    result.values[2].row->frequencyHz = 1e300;
    return ChartFor(testing::Record("sem", result)).value_or(ChartModel{});
}

// The canned mask with 24 more rows crowded between 2.5 and 4 MHz: labels that do not fit
// beside their points, so that each searches the plot for a clear place.
ChartModel CrowdedMask() {
    ChartModel model = testing::CannedMaskChart();
    for (int i = 0; i < 24; ++i) {
        const double x = (i % 2 == 0 ? 1 : -1) * (2.5 + 0.125 * (i / 2));
        model.markers.push_back({{x, -60 - (i % 5) * 2.0}, ChartTone::Pass, "+45.00 dB"});
    }
    return model;
}

ChartModel Canned(int which) {
    switch (which) {
    case 0:
        return testing::CannedMaskChart();
    case 1:
        return testing::CannedAcpChart();
    case 2:
        return testing::CannedObwChart();
    case 3:
        return OffScaleMask();
    default:
        return CrowdedMask();
    }
}

const char* CannedName(int which) {
    constexpr const char* kNames[] = {"mask", "acp", "obw", "off-scale mask", "crowded mask"};
    return kNames[std::clamp(which, 0, 4)];
}

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

BENCHMARK(PaintOnPicture)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(DrawSvg)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveFile, svg, "chart.svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveFile, png, "chart.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveFile, jpeg, "chart.jpg")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
