// What the painter draws stays where it belongs, whatever the values: every shape, chevron,
// leader and label inside the plot, no label over another or over a marker, bar or chevron,
// the legend between the facts and the plot, every tick label short, and nothing of the SVG
// outside the picture.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <limits>

#include "charts/RecordChart.h"
#include "charts/drawing/ChartLayout.h"
#include "charts/drawing/ChartPainter.h"
#include "charts/drawing/ChartStyle.h"
#include "tests/charts/drawing/CannedCharts.h"
#include "tests/charts/drawing/SvgContents.h"
#include "tests/charts/drawing/SvgOfChart.h"
#include "tests/results/SampleRecords.h"

using namespace kelvane;
using namespace kelvane::testing;

Q_DECLARE_METATYPE(kelvane::ChartModel)

namespace {

using Kind = PaintedElement::Kind;
constexpr double kPen = 0.5;  // px a box may reach over an edge: half a hairline

// Inside, edges included; also a box without width or height (a line along an axis), which
// QRectF::contains never holds.
bool Holds(const QRectF& outer, const QRectF& box) {
    return outer.left() <= box.left() && box.right() <= outer.right() && outer.top() <= box.top() &&
           box.bottom() <= outer.bottom();
}

// The chart of a sample record spoiled by absurd values.
template <typename Spoil>
ChartModel Spoiled(const std::string& measurement, MeasurementResult result, Spoil spoil) {
    spoil(result.values);
    return ChartFor(Record(measurement, result)).value_or(ChartModel{});
}

// A model as no builder makes it: values far beyond its axes, not fitted into them.
ChartModel Unfitted() {
    ChartModel model = CannedMaskChart();
    model.markers.push_back({{1e300, 1e300}, ChartTone::Fail, "beyond"});
    model.bars.push_back({0, 3.84, -1e300, ChartTone::Pass, "below"});
    model.spans.push_back({-1e300, 1e300, -50});
    model.lines.push_back({{{-1e300, -1e300}, {1e300, 1e300}}});
    model.bands.push_back({-1e100, 1e100, -1e300, 1e300, ChartTone::Fail, "everywhere"});
    return model;
}

std::size_t LabelsIn(const ChartModel& model) {
    std::size_t labels = 0;
    const auto count = [&](const std::string& label, std::initializer_list<double> at) {
        const bool finite =
            std::all_of(at.begin(), at.end(), [](double v) { return std::isfinite(v); });
        labels += !label.empty() && finite;
    };
    for (const ChartMarker& m : model.markers) count(m.label, {m.at.x, m.at.y});
    for (const ChartBar& b : model.bars) count(b.label, {b.x, b.width, b.top});
    for (const ChartBand& b : model.bands) count(b.label, {b.x1, b.x2, b.y1, b.y2});
    for (const ChartSpan& s : model.spans) count(s.label, {s.x1, s.x2, s.y});
    for (const ChartPolyline& l : model.lines) count(l.label, {});
    return labels;
}

class ChartDrawingBoundsTest : public QObject {
    Q_OBJECT

private slots:
    void staysInItsPlace_data() {
        QTest::addColumn<ChartModel>("model");
        QTest::addColumn<QSize>("size");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const MeasurementResult obw = Result(
            "OBW Measurement...", MeasurementOutcome::Completed,
            {Value("occupied_bandwidth", 4.2e6, "Hz"), Value("occupied_band_center", 2e9, "Hz")});
        using Values = std::vector<MeasuredValue>;
        const std::vector<std::pair<const char*, ChartModel>> models = {
            {"mask", CannedMaskChart()},
            {"acp", CannedAcpChart()},
            {"obw", CannedObwChart()},
            {"mask at +-1e300", Spoiled("sem", WcdmaMaskResult(),
                                        [](Values& v) {
                                            v[0].value = v[0].row->levelDbm = 1e300;
                                            v[1].row->frequencyHz = 1e300;
                                            v[2].row->startHz = -1e300;
                                        })},
            {"acp at +-1e300 and NaN", Spoiled("acp", AcpResult(),
                                               [&](Values& v) {
                                                   v[1].value = 1e300, v[2].value = -1e300,
                                                   v[3].value = nan;
                                               })},
            {"obw 1e300 wide", Spoiled("obw", obw, [](Values& v) { v[0].value = 1e300; })},
            {"obw centred at 1e300", Spoiled("obw", obw, [](Values& v) { v[1].value = 1e300; })},
            {"a model not fitted", Unfitted()},
        };
        for (const auto& [name, model] : models) {
            for (const QSize size : {QSize(640, 400), QSize(960, 600)}) {
                QTest::addRow("%s, %dx%d", name, size.width(), size.height()) << model << size;
            }
        }
    }

    void staysInItsPlace() {
        QFETCH(ChartModel, model);
        QFETCH(QSize, size);
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        const QRectF area(QPointF(0, 0), size);
        const ChartStyle style(area);
        const ChartLayout layout(model, area, style, &image);
        const std::vector<PaintedElement> painted = ChartPainter::Paint(painter, area, model);
        painter.end();

        const QRectF plot = layout.Plot().adjusted(-kPen, -kPen, kPen, kPen);
        std::vector<QRectF> labels;
        std::vector<QRectF> shapes;
        for (const PaintedElement& element : painted) {
            QVERIFY2(Holds(plot, element.box), qPrintable(element.text));
            if (element.kind == Kind::Label) labels.push_back(element.box);
            if (element.kind == Kind::Marker || element.kind == Kind::OffScale ||
                element.kind == Kind::Bar)
                shapes.push_back(element.box);
        }
        QCOMPARE(labels.size(), LabelsIn(model));
        // Every value beyond the axes marked by a chevron on its side.
        std::size_t offScale = 0;
        for (const ChartMarker& m : model.markers)
            offScale += (m.offScale.x != 0) + (m.offScale.y != 0);
        for (const ChartBar& bar : model.bars) offScale += bar.offScale != 0;
        for (const ChartBand& band : model.bands) offScale += band.openLeft + band.openRight;
        QVERIFY(std::count_if(painted.begin(), painted.end(), [](const PaintedElement& e) {
                    return e.kind == Kind::OffScale;
                }) >= static_cast<std::ptrdiff_t>(offScale));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) QVERIFY(!labels[i].intersects(labels[j]));
            for (const QRectF& shape : shapes) QVERIFY(!labels[i].intersects(shape));
        }

        // The legend: every entry, between the facts and the plot, inside the picture.
        QCOMPARE(layout.LegendBoxes().size(), model.legend.size());
        QVERIFY(model.legend.size() >= 4);
        QVERIFY(area.contains(layout.LegendRect()));
        QVERIFY(layout.LegendRect().top() >= layout.FactsRect().bottom());
        QVERIFY(layout.LegendRect().bottom() < layout.Plot().top());

        for (const QString& tick : layout.XTickTexts() + layout.YTickTexts())
            QVERIFY2(tick.size() <= 8, qPrintable(tick));

        // The same drawn as SVG: nothing beyond the picture.
        const SvgContents svg = ReadSvg(SvgOfChart(model, size).svg);
        QVERIFY(svg.parsed);
        for (const SvgShape& shape : svg.shapes) {
            for (const QPointF& point : shape.points)
                QVERIFY(area.adjusted(-1, -1, 1, 1).contains(point));
            if (shape.element == "rect") QVERIFY(Holds(area.adjusted(-1, -1, 1, 1), shape.rect));
        }
    }
};

}  // namespace

QTEST_MAIN(ChartDrawingBoundsTest)
#include "ChartDrawingBoundsTest.moc"
