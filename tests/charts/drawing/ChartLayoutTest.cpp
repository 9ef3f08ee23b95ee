// The arithmetic under the drawing: mapping values into the plot and cutting lines at its edges,
// tick labels, facts wrapped into lines, and labels kept inside the plot and off each other.
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <limits>
#include <optional>
#include <set>

#include "charts/drawing/ChartElementLabels.h"
#include "charts/drawing/ChartGeometry.h"
#include "charts/drawing/ChartLabels.h"
#include "charts/drawing/ChartLayout.h"
#include "charts/drawing/ChartLegend.h"
#include "charts/drawing/ChartStyle.h"
#include "tests/charts/drawing/CannedCharts.h"

using namespace kelvane;
using namespace kelvane::testing;

Q_DECLARE_METATYPE(std::optional<QLineF>)

namespace {

const ChartAxis kX{"x", -10, 10, {}};
const ChartAxis kY{"y", -80, 0, {}};
const QRectF kPlot(100, 50, 800, 400);

class ChartLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void mapsIntoThePlot_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("bottom left") << -10.0 << -80.0 << QPointF(100, 450);
        QTest::newRow("top right") << 10.0 << 0.0 << QPointF(900, 50);
        QTest::newRow("middle") << 0.0 << -40.0 << QPointF(500, 250);
        QTest::newRow("beyond the axes") << 20.0 << 40.0 << QPointF(1300, -150);
    }

    void mapsIntoThePlot() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QPointF, expected);
        QCOMPARE(ChartGeometry(kX, kY, kPlot).Map({x, y}), expected);
    }

    void anAxisWithoutExtentMapsToTheMiddle() {
        const ChartGeometry geometry(ChartAxis{"", 5, 5, {}}, ChartAxis{"", 0, 0, {}}, kPlot);
        QCOMPARE(geometry.Map({5, 0}), kPlot.center());
    }

    void clipsToThePlot_data() {
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<std::optional<QLineF>>("expected");
        QTest::newRow("inside") << QLineF(200, 100, 300, 200)
                                << std::optional(QLineF(200, 100, 300, 200));
        QTest::newRow("through the left edge")
            << QLineF(0, 100, 200, 100) << std::optional(QLineF(100, 100, 200, 100));
        QTest::newRow("across the plot")
            << QLineF(0, 250, 1000, 250) << std::optional(QLineF(100, 250, 900, 250));
        QTest::newRow("diagonal over a corner")
            << QLineF(50, 0, 150, 100) << std::optional(QLineF(100, 50, 150, 100));
        QTest::newRow("above") << QLineF(0, 10, 1000, 10) << std::optional<QLineF>();
        QTest::newRow("passing a corner") << QLineF(0, 100, 100, 0) << std::optional<QLineF>();
    }

    void clipsToThePlot() {
        QFETCH(QLineF, line);
        QFETCH(std::optional<QLineF>, expected);
        const std::optional<QLineF> clipped = ChartGeometry(kX, kY, kPlot).Clip(line);
        QCOMPARE(clipped.has_value(), expected.has_value());
        if (expected) QCOMPARE(*clipped, *expected);
    }

    void tickTexts_data() {
        QTest::addColumn<std::vector<double>>("ticks");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("whole") << std::vector<double>{-10, 0, 10} << QStringList{"-10", "0", "10"};
        QTest::newRow("halves") << std::vector<double>{0, 2.5, 5}
                                << QStringList{"0.0", "2.5", "5.0"};
        QTest::newRow("rounding noise")
            << std::vector<double>{-0.2, 1e-17, 0.2} << QStringList{"-0.2", "0.0", "0.2"};
        QTest::newRow("thousandths")
            << std::vector<double>{0.125, 0.25} << QStringList{"0.125", "0.250"};
        QTest::newRow("finer is cut")
            << std::vector<double>{0.0001, 1} << QStringList{"0.000", "1.000"};
        QTest::newRow("none") << std::vector<double>{} << QStringList{};
        QTest::newRow("huge, short")
            << std::vector<double>{-1e300, 0, 1e300} << QStringList{"-1e+300", "0", "1e+300"};
        QTest::newRow("a million")
            << std::vector<double>{0, 5e5, 1e6} << QStringList{"0", "5e+05", "1e+06"};
    }

    void tickTexts() {
        QFETCH(std::vector<double>, ticks);
        QFETCH(QStringList, expected);
        QCOMPARE(ChartLayout::TickTexts(ChartAxis{"", 0, 1, ticks}), expected);
    }

    // The facts side by side while they fit, a failure line broken by its words.
    void factLines() {
        QImage image(10, 10, QImage::Format_RGB32);
        const QFont font = ChartStyle(QRectF(0, 0, 960, 600)).TextFont();
        const QFontMetricsF metrics(font, &image);
        const std::vector<std::string> facts = CannedFacts("acp (ACP Measurement...)");
        QCOMPARE(ChartLayout::FactLinesFor(facts, font, &image, 2000).size(), 1);
        const QStringList narrow = ChartLayout::FactLinesFor(facts, font, &image, 260);
        QVERIFY(narrow.size() >= 2);
        QVERIFY(narrow.join(' ').contains("Kelvane 1.2.0"));
        for (const QString& line : narrow) QVERIFY(metrics.horizontalAdvance(line) <= 260);

        const std::string failure =
            "ACP Measurement failed: no answer to \"ACP?\" within 10 s: check that the analyzer "
            "is on, at GPIB address 8, and cabled";
        const QStringList lines = ChartLayout::FactLinesFor({"acp", failure}, font, &image, 300);
        QVERIFY(lines.size() >= 3);
        for (const QString& line : lines) QVERIFY(metrics.horizontalAdvance(line) <= 300);
        QCOMPARE(lines.mid(1).join(' '), QString::fromStdString(failure));
    }

    // A label goes to the first free place offered, moved inside the bounds; where none is free,
    // to the clear place nearest its point; where the bounds have no room left, to the least
    // covered place offered.
    void labelsKeepClear() {
        QImage image(300, 200, QImage::Format_RGB32);
        QPainter painter(&image);
        const QRectF bounds(10, 10, 200, 100);
        ChartLabels labels(painter, bounds);
        const QFont font = ChartStyle(bounds).LabelFont();
        const QRectF size = labels.Box("+57.29 dB", font);

        const QRectF first = labels.Write({{"+57.29 dB", {190, 0}}}, font, Qt::black, {200, 10});
        QCOMPARE(first.topRight(), bounds.topRight());  // pushed back inside

        labels.Reserve(QRectF(100, 60, 10, 10));
        const QRectF second = labels.Write(
            {{"+45.02 dB", {190, 0}}, {"+45.02 dB", {95, 55}}, {"+45.02 dB", {20, 60}}}, font,
            Qt::black, {100, 60});
        QCOMPARE(second.topLeft(), QPointF(20, 60));

        // Both places offered are taken: the clear place nearest the point instead.
        const QPointF point(first.left() - 4, first.center().y());
        const QRectF third = labels.Write(
            {{"-6.28 dB", {190, 0}}, {"-6.28 dB", {first.left() - size.width() / 2, 10}}}, font,
            Qt::black, point);
        QVERIFY(!third.intersects(first));
        QVERIFY(!third.intersects(second));
        QVERIFY(bounds.contains(third));
        QVERIFY(QLineF(third.center(), point).length() < 2 * size.height() + size.width());

        // A reserved line is avoided where a place clear of it is offered.
        labels.Reserve(QLineF(10, 100, 210, 100));
        const QRectF fourth = labels.Write({{"+1.84 dB", {130, 90}}, {"+1.84 dB", {130, 75}}}, font,
                                           Qt::black, {150, 100});
        QCOMPARE(fourth.topLeft(), QPointF(130, 75));

        // The nearest clear place lies beyond a label from the point: a farther one whose
        // leader crosses no label instead.
        ChartLabels beyond(painter, QRectF(0, 0, 300, 100));
        const QRectF label = beyond.Write({{"+1.84 dB", {100, 30}}}, font, Qt::black, {130, 60});
        beyond.Reserve(QRectF(0, 0, 100, 100));
        beyond.Reserve(QRectF(100, label.bottom(), 200, 100));
        beyond.Reserve(QRectF(label.right(), 0, 50, 100));
        const QPointF below(label.center().x(), label.bottom() + 10);
        const QRectF free = beyond.Write({{"x", {100, 60}}}, font, Qt::black, below);
        QVERIFY(!free.intersects(label));
        QVERIFY2(free.left() >= label.right() + 50, qPrintable(QString::number(free.left())));

        // No room anywhere: the least covered place offered, inside the bounds.
        ChartLabels full(painter, bounds);
        full.Reserve(bounds);
        const QRectF crowded =
            full.Write({{"x", {-50, 50}}, {"x", {50, 50}}}, font, Qt::black, {60, 60});
        QVERIFY(bounds.contains(crowded));
    }

    // A label that is cut into the plot by hand stays a finite number of pixels from it, however
    // far beyond the axes its value lies; what is no number maps to none.
    void mapsAbsurdValuesNearThePlot_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("finite");
        QTest::newRow("1e300") << 1e300 << true;
        QTest::newRow("-1e300") << -1e300 << true;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << true;
        QTest::newRow("NaN") << std::nan("") << false;
    }

    void mapsAbsurdValuesNearThePlot() {
        QFETCH(double, value);
        QFETCH(bool, finite);
        const ChartGeometry geometry(kX, kY, kPlot);
        const QPointF at = geometry.Map({value, value});
        QCOMPARE(std::isfinite(at.x()) && std::isfinite(at.y()), finite);
        if (!finite) return;
        QVERIFY(std::abs(at.x()) <= 1e6 + kPlot.right());
        QVERIFY(std::abs(at.y()) <= 1e6 + kPlot.bottom());
        const auto clipped = geometry.Clip(QLineF(geometry.Map({0, -40}), at));
        QVERIFY(clipped.has_value());
        QVERIFY(kPlot.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(clipped->p2()));
    }

    // The legend's entries side by side while they fit the width, then on the next line; none
    // wider than the room unless it is alone on its line.
    void legendFlowsIntoLines_data() {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("lines");
        QTest::newRow("wide") << 900.0 << 1;
        QTest::newRow("half") << 240.0 << 2;
        QTest::newRow("narrow") << 150.0 << 4;
    }

    void legendFlowsIntoLines() {
        QFETCH(double, width);
        QFETCH(int, lines);
        QImage image(10, 10, QImage::Format_RGB32);
        const ChartModel model = CannedMaskChart();
        const ChartStyle style(QRectF(0, 0, 960, 600));
        const QRectF room(20, 30, width, 500);
        const std::vector<QRectF> boxes = ChartLegend::Place(model.legend, style, &image, room);
        QCOMPARE(boxes.size(), model.legend.size());
        std::set<double> tops;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            tops.insert(boxes[i].top());
            QVERIFY(boxes[i].left() >= room.left());
            QVERIFY(boxes[i].right() <= room.right() || boxes[i].left() == room.left());
            for (std::size_t j = 0; j < i; ++j) QVERIFY(!boxes[i].intersects(boxes[j]));
        }
        QCOMPARE(static_cast<int>(tops.size()), lines);
    }

    // A marker's label is offered all round it, nearest first.
    void markerLabelPlaces() {
        const QRectF box(0, 0, 60, 16);
        const auto places = ChartElementLabels::MarkerLabelPlaces(QPointF(300, 200), box, 6);
        QCOMPARE(places.front(), QPointF(270, 178));  // above, centred
        QCOMPARE(places[1], QPointF(270, 206));       // below
        QCOMPARE(places[2], QPointF(306, 192));       // right
        QCOMPARE(places[3], QPointF(234, 192));       // left
        QCOMPARE(places.back(), QPointF(270, 270));   // four lines further down
    }

    // Text grows with the area, within bounds that keep it legible.
    void textSize_data() {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<double>("unit");
        QTest::newRow("smallest window") << QSizeF(640, 400) << 12.0;
        QTest::newRow("files") << QSizeF(960, 600) << 13.0;
        QTest::newRow("maximised") << QSizeF(2560, 1400) << 17.0;
    }

    void textSize() {
        QFETCH(QSizeF, area);
        QFETCH(double, unit);
        const ChartStyle style(QRectF(QPointF(0, 0), area));
        QCOMPARE(style.Unit(), unit);
        QCOMPARE(style.TextFont().pixelSize(), static_cast<int>(unit));
    }
};

}  // namespace

QTEST_MAIN(ChartLayoutTest)
#include "ChartLayoutTest.moc"
