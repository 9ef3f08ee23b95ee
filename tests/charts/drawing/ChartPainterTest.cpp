// What a drawn chart carries, read back from its SVG: the report's texts (title with verdict,
// facts, axis titles, ticks, every label), failures marked by more than colour, and limit lines,
// markers, bars and bands where the chart's values put them.
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QtTest>
#include <cmath>
#include <limits>

#include "charts/drawing/ChartStyle.h"
#include "tests/charts/drawing/CannedCharts.h"
#include "tests/charts/drawing/SvgContents.h"
#include "tests/charts/drawing/SvgOfChart.h"

using namespace kelvane;
using namespace kelvane::testing;

Q_DECLARE_METATYPE(kelvane::ChartModel)

namespace {

constexpr double kTolerance = 0.6;  // px: the SVG's coordinates are rounded

bool Near(const QPointF& a, const QPointF& b) {
    return std::abs(a.x() - b.x()) <= kTolerance && std::abs(a.y() - b.y()) <= kTolerance;
}

// The parts a label may be broken into over two lines.
QStringList LabelParts(const std::string& label) {
    static const QRegularExpression breaks(QStringLiteral(", | (?=\\()"));
    return QString::fromStdString(label).split(breaks);
}

const SvgText* TextWith(const SvgContents& svg, const QString& part) {
    for (const SvgText& text : svg.texts)
        if (text.text.contains(part)) return &text;
    return nullptr;
}

// Where a text lies, measured in the font the SVG names.
QRectF TextBox(const SvgText& text) {
    QFont font(QStringLiteral("sans-serif"));
    font.setPixelSize(static_cast<int>(std::lround(text.fontSize)));
    font.setWeight(text.bold ? QFont::Bold : QFont::Normal);
    const QFontMetricsF metrics(font);
    return {text.baseline.x(), text.baseline.y() - metrics.ascent(),
            metrics.horizontalAdvance(text.text), metrics.ascent() + metrics.descent()};
}

class ChartPainterTest : public QObject {
    Q_OBJECT

private slots:
    void carriesTheReport_data() {
        QTest::addColumn<ChartModel>("model");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("mask") << CannedMaskChart() << "FAIL";
        QTest::newRow("acp") << CannedAcpChart() << "FAIL";
        QTest::newRow("obw") << CannedObwChart() << "PASS";
    }

    void carriesTheReport() {
        QFETCH(ChartModel, model);
        QFETCH(QString, verdict);
        const SvgOfChart drawn(model, QSize(960, 600));
        QVERIFY(QSvgRenderer(drawn.svg).isValid());
        const SvgContents svg = ReadSvg(drawn.svg);
        QVERIFY2(svg.parsed, qPrintable(svg.error));

        const SvgText* title = TextWith(svg, QString::fromStdString(model.title));
        QVERIFY(title != nullptr);
        QVERIFY(title->text.contains(verdict));
        QVERIFY(title->bold);
        for (const std::string& fact : model.facts)
            QVERIFY2(svg.HasText(QString::fromStdString(fact)), fact.c_str());
        const SvgText* xTitle = TextWith(svg, QString::fromStdString(model.x.title));
        QVERIFY(xTitle != nullptr && !xTitle->turned);
        for (const QString& tick : ChartLayout::TickTexts(model.x)) QVERIFY(svg.HasText(tick));

        const auto turned = std::count_if(svg.texts.begin(), svg.texts.end(),
                                          [](const SvgText& text) { return text.turned; });
        if (model.y.title.empty()) {
            QCOMPARE(turned, 0);  // no y axis at all
        } else {
            const SvgText* yTitle = TextWith(svg, QString::fromStdString(model.y.title));
            QVERIFY(yTitle != nullptr && yTitle->turned);
            for (const QString& tick : ChartLayout::TickTexts(model.y)) QVERIFY(svg.HasText(tick));
        }

        // Every label, a failing element's in bold, so that it stands out without colour.
        std::vector<std::pair<std::string, ChartTone>> labels;
        for (const ChartMarker& marker : model.markers)
            labels.push_back({marker.label, marker.tone});
        for (const ChartBar& bar : model.bars) labels.push_back({bar.label, bar.tone});
        for (const ChartBand& band : model.bands) labels.push_back({band.label, band.tone});
        for (const ChartPolyline& line : model.lines) labels.push_back({line.label, line.tone});
        for (const ChartSpan& span : model.spans) labels.push_back({span.label, span.tone});
        std::erase_if(labels, [](const auto& label) { return label.first.empty(); });
        for (const ChartLegendEntry& entry : model.legend)
            labels.push_back({entry.text, entry.tone});
        for (const auto& [label, tone] : labels) {
            for (const QString& part : LabelParts(label)) {
                const SvgText* text = TextWith(svg, part);
                QVERIFY2(text != nullptr, qPrintable(part));
                QCOMPARE(text->bold, tone == ChartTone::Fail);
            }
        }
    }

    // The mask as limit lines through their mapped points, a cross centred on the failing row's
    // worst point and a dot on each other's.
    void maskLinesAndMarkersWhereTheValuesAre() {
        const ChartModel model = CannedMaskChart();
        const SvgOfChart drawn(model, QSize(960, 600));
        const SvgContents svg = ReadSvg(drawn.svg);
        const ChartGeometry& geometry = drawn.layout.Geometry();
        const QString limitInk = ChartStyle::Ink(ChartTone::Limit).name();
        const QString failInk = ChartStyle::Ink(ChartTone::Fail).name();

        for (const ChartPolyline& line : model.lines) {
            const QPointF first = geometry.Map(line.points.front());
            QVERIFY(geometry.Plot().contains(first));
            const bool drawnThere = std::any_of(svg.shapes.begin(), svg.shapes.end(), [&](auto& s) {
                return s.stroke == limitInk &&
                       std::any_of(s.points.begin(), s.points.end(),
                                   [&](const QPointF& p) { return Near(p, first); });
            });
            QVERIFY(drawnThere);
        }
        int crosses = 0;
        for (const ChartMarker& marker : model.markers) {
            const QPointF at = geometry.Map(marker.at);
            QVERIFY(geometry.Plot().contains(at));
            if (marker.tone == ChartTone::Fail) {
                // Two strokes crossing at the point, not a dot.
                for (const SvgShape& shape : svg.shapes) {
                    if (shape.stroke == failInk && shape.points.size() == 2 &&
                        Near((shape.points[0] + shape.points[1]) / 2, at))
                        ++crosses;
                }
                continue;
            }
            QVERIFY(std::any_of(svg.shapes.begin(), svg.shapes.end(), [&](const SvgShape& s) {
                return s.element == "circle" && Near(s.points.front(), at);
            }));
        }
        QCOMPARE(crosses, 2);
        const auto dots = std::count_if(svg.shapes.begin(), svg.shapes.end(), [&](auto& s) {
            return s.element == "circle" && geometry.Plot().contains(s.points.front());
        });
        QCOMPARE(dots, 7);
    }

    // Bars from the bottom of the plot to their values; the failing one hatched.
    void acpBarsUpToTheirValues() {
        const ChartModel model = CannedAcpChart();
        const SvgOfChart drawn(model, QSize(960, 600));
        const SvgContents svg = ReadSvg(drawn.svg);
        const ChartGeometry& geometry = drawn.layout.Geometry();
        for (const ChartBar& bar : model.bars) {
            const QRectF expected(
                QPointF(geometry.X(bar.x - bar.width / 2), geometry.Y(bar.top)),
                QPointF(geometry.X(bar.x + bar.width / 2), geometry.Plot().bottom()));
            const auto drawnThere =
                std::find_if(svg.shapes.begin(), svg.shapes.end(), [&](auto& s) {
                    return s.element == "rect" && Near(s.rect.topLeft(), expected.topLeft()) &&
                           Near(s.rect.bottomRight(), expected.bottomRight());
                });
            QVERIFY(drawnThere != svg.shapes.end());
            const auto hatches = std::count_if(svg.shapes.begin(), svg.shapes.end(), [&](auto& s) {
                return s.points.size() == 2 &&
                       s.stroke == ChartStyle::Ink(ChartTone::Fail).name() &&
                       s.points[0].x() != s.points[1].x() &&
                       expected.adjusted(-1, -1, 1, 1).contains(s.points[0]) &&
                       expected.adjusted(-1, -1, 1, 1).contains(s.points[1]);
            });
            if (bar.tone == ChartTone::Fail) {
                QVERIFY2(hatches >= 5, qPrintable(QString::number(hatches)));
            } else {
                QCOMPARE(hatches, 0);
            }
        }
    }

    // Without a y axis the plot is a strip that takes the room of one and no more height than
    // its contents need; the band at its heights in it.
    void obwBandInAStrip() {
        const ChartModel model = CannedObwChart();
        const SvgOfChart drawn(model, QSize(960, 600));
        const SvgContents svg = ReadSvg(drawn.svg);
        const ChartGeometry& geometry = drawn.layout.Geometry();
        QVERIFY(!drawn.layout.ShowsYAxis());
        QVERIFY(geometry.Plot().left() < 40);
        QVERIFY(geometry.Plot().height() <= 20 * drawn.style.Unit());
        for (const ChartBand& band : model.bands) {
            const QRectF expected(QPointF(geometry.X(band.x1), geometry.Y(band.y2)),
                                  QPointF(geometry.X(band.x2), geometry.Y(band.y1)));
            QVERIFY(std::any_of(svg.shapes.begin(), svg.shapes.end(), [&](const SvgShape& s) {
                return s.element == "rect" && Near(s.rect.topLeft(), expected.topLeft()) &&
                       Near(s.rect.bottomRight(), expected.bottomRight());
            }));
        }
    }

    // The smallest window: every text inside the picture, the tick labels apart, nothing smaller
    // than 11 px (labels inside the plot and clear of each other: ChartDrawingBoundsTest).
    void legibleAt640x400_data() {
        QTest::addColumn<ChartModel>("model");
        QTest::newRow("mask") << CannedMaskChart();
        QTest::newRow("acp") << CannedAcpChart();
        QTest::newRow("obw") << CannedObwChart();
    }

    void legibleAt640x400() {
        QFETCH(ChartModel, model);
        const SvgOfChart drawn(model, QSize(640, 400));
        const SvgContents svg = ReadSvg(drawn.svg);
        const QRectF& plot = drawn.layout.Plot();
        for (const SvgText& text : svg.texts) {
            QVERIFY(text.fontSize >= 11);
            if (!text.turned) QVERIFY2(drawn.area.contains(TextBox(text)), qPrintable(text.text));
        }
        std::vector<QRectF> ticks;
        for (const QString& tick : ChartLayout::TickTexts(model.x)) {
            for (const SvgText& text : svg.texts)
                if (text.text == tick && text.baseline.y() > plot.bottom())
                    ticks.push_back(TextBox(text));
        }
        QVERIFY(ticks.size() >= 3);
        for (std::size_t i = 1; i < ticks.size(); ++i) QVERIFY(!ticks[i].intersects(ticks[i - 1]));
    }

    // What cannot be placed is left out, the rest drawn; nothing at all is an empty plot.
    void leavesOutWhatIsNoNumber() {
        const double nan = std::nan("");
        const double inf = std::numeric_limits<double>::infinity();
        ChartModel model = CannedMaskChart();
        model.x.ticks.push_back(nan);
        model.markers.push_back({{nan, -50}, ChartTone::Fail, "nowhere"});
        model.bars.push_back({inf, 3.84, -40, ChartTone::Pass, "no bar"});
        model.lines.push_back({{{-9, -40}, {nan, -40}, {9, -40}}});
        const SvgOfChart drawn(model, QSize(960, 600));
        const SvgContents svg = ReadSvg(drawn.svg);
        QVERIFY(svg.parsed);
        QVERIFY(!svg.HasText("nowhere") && !svg.HasText("no bar") && !svg.HasText("nan"));
        QVERIFY(svg.HasText("-6.28 dB"));
        const ChartGeometry& geometry = drawn.layout.Geometry();
        QVERIFY(std::any_of(svg.shapes.begin(), svg.shapes.end(), [&](const SvgShape& s) {
            return s.points.size() == 2 && Near(s.points[0], geometry.Map({-9, -40})) &&
                   Near(s.points[1], geometry.Map({9, -40}));
        }));
        for (const SvgShape& shape : svg.shapes) {
            for (const QPointF& point : shape.points)
                QVERIFY(std::isfinite(point.x()) && std::isfinite(point.y()));
        }

        const SvgContents empty = ReadSvg(SvgOfChart(ChartModel{}, QSize(640, 400)).svg);
        QVERIFY(empty.parsed);
        QVERIFY(empty.texts.empty());
    }

    // The same painter on a picture: it fills the area it is given and nothing outside it.
    void paintsOnlyItsArea() {
        QImage image(900, 500, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        ChartPainter::Paint(painter, QRectF(100, 50, 640, 400), CannedMaskChart());
        painter.end();
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                const bool inside = x >= 100 && x < 740 && y >= 50 && y < 450;
                if (!inside) QCOMPARE(image.pixelColor(x, y), QColor(Qt::black));
            }
        }
        QCOMPARE(image.pixelColor(101, 51), ChartStyle::Background());
        QCOMPARE(image.pixelColor(738, 448), ChartStyle::Background());
    }
};

}  // namespace

QTEST_MAIN(ChartPainterTest)
#include "ChartPainterTest.moc"
