#include "charts/drawing/ChartLayout.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "charts/drawing/ChartLegend.h"

namespace kelvane {

namespace {

constexpr int kMaxDecimals = 3;
// The height of a plot without a y axis, in the style's unit.
constexpr double kCompactPlotHeight = 18;
const QString kFactSeparator = QStringLiteral("   \u00b7   ");

double WidestText(const QStringList& texts, const QFontMetricsF& metrics) {
    double widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

// The decimals that show every tick as it is (to a thousandth of the axis' largest tick).
int DecimalsFor(const std::vector<double>& ticks) {
    for (int decimals = 0; decimals < kMaxDecimals; ++decimals) {
        const double scale = std::pow(10.0, decimals);
        const bool exact = std::all_of(ticks.begin(), ticks.end(), [scale](double tick) {
            return std::abs(tick * scale - std::round(tick * scale)) < 1e-6 * scale;
        });
        if (exact) return decimals;
    }
    return kMaxDecimals;
}

// A layout's room runs out on a tiny area; its rectangles keep a positive size even then.
QRectF AtLeastOnePixel(const QRectF& rect) {
    return {rect.left(), rect.top(), std::max(1.0, rect.width()), std::max(1.0, rect.height())};
}

ChartGeometry PlotFor(const ChartModel& model, const QRectF& plot) {
    return ChartGeometry(model.x, model.y, AtLeastOnePixel(plot));
}

}  // namespace

QStringList ChartLayout::TickTexts(const ChartAxis& axis) {
    QStringList texts;
    // From a magnitude of 1e6 on, every tick is written with an exponent, in 3 digits.
    const bool large = std::any_of(axis.ticks.begin(), axis.ticks.end(), [](double tick) {
        return std::isfinite(tick) && std::abs(tick) >= 1e6;
    });
    if (large) {
        for (double tick : axis.ticks) texts << QString::number(tick, 'g', 3);
        return texts;
    }
    const int decimals = DecimalsFor(axis.ticks);
    for (double tick : axis.ticks) {
        // No "-0": a tick that rounds to zero is zero.
        const double shown = std::abs(tick) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : tick;
        texts << QString::number(shown, 'f', decimals);
    }
    return texts;
}

QStringList ChartLayout::FactLinesFor(const std::vector<std::string>& facts, const QFont& font,
                                      const QPaintDevice* device, double width) {
    const QFontMetricsF metrics(font, device);
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    QStringList lines;
    QString line;
    for (const std::string& fact : facts) {
        const QString text = QString::fromStdString(fact);
        if (!line.isEmpty() && fits(line + kFactSeparator + text)) {
            line += kFactSeparator + text;
            continue;
        }
        if (!line.isEmpty()) lines << line;
        line.clear();
        // A fact too long for a line (a failure line) goes on as many as it needs, by its words.
        for (const QString& word : text.split(QLatin1Char(' '))) {
            if (line.isEmpty() || fits(line + QLatin1Char(' ') + word)) {
                line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
            } else {
                lines << line;
                line = word;
            }
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

ChartLayout::ChartLayout(const ChartModel& model, const QRectF& area, const ChartStyle& style,
                         const QPaintDevice* device)
    : geometry_(PlotFor(model, area)),
      showsYAxis_(!model.y.title.empty() || !model.y.ticks.empty()),
      xTicks_(TickTexts(model.x)),
      yTicks_(TickTexts(model.y)),
      tickLength_(style.Unit() * 0.4) {
    const double unit = style.Unit();
    const QFontMetricsF titleMetrics(style.TitleFont(), device);
    const QFontMetricsF textMetrics(style.TextFont(), device);
    const QFontMetricsF labelMetrics(style.LabelFont(), device);
    if (!showsYAxis_) yTicks_.clear();

    const double left = area.left() + unit;
    const double width = area.width() - 2 * unit;
    title_ = AtLeastOnePixel(QRectF(left, area.top() + unit * 0.8, width, titleMetrics.height()));
    factLines_ = FactLinesFor(model.facts, style.TextFont(), device, width);
    facts_ = AtLeastOnePixel(QRectF(left, title_.bottom() + unit * 0.25, width,
                                    factLines_.size() * textMetrics.lineSpacing()));

    double legendBottom = facts_.bottom();
    if (!model.legend.empty()) {
        const QRectF room(left, facts_.bottom() + unit * 0.7, width, area.height());
        legendBoxes_ = ChartLegend::Place(model.legend, style, device, room);
        for (const QRectF& box : legendBoxes_) legend_ = legend_.united(box);
        legendBottom = legend_.bottom();
    }
    // Half a tick label above the top tick, so that its label is not cut.
    double plotTop = legendBottom + unit * 0.9 + (showsYAxis_ ? labelMetrics.height() / 2 : 0);
    const bool hasXTitle = !model.x.title.empty();
    const double xTitleHeight = hasXTitle ? textMetrics.height() : 0;
    // Below the plot: its ticks, their labels, the x axis' title.
    const double belowPlot =
        tickLength_ + unit * 0.2 + labelMetrics.height() + unit * 0.3 + xTitleHeight;
    double plotBottom = area.bottom() - unit * 0.6 - belowPlot;
    // Without a scale the height means nothing: a compact strip, with its axis, in the middle of
    // the room.
    if (!showsYAxis_ && plotBottom - plotTop > unit * kCompactPlotHeight) {
        plotTop += (plotBottom - plotTop - unit * kCompactPlotHeight) / 2;
        plotBottom = plotTop + unit * kCompactPlotHeight;
    }
    // The outer x tick labels are centred on their ticks: room for their halves.
    const double firstXHalf =
        xTicks_.isEmpty() ? 0 : labelMetrics.horizontalAdvance(xTicks_.front()) / 2;
    const double lastXHalf =
        xTicks_.isEmpty() ? 0 : labelMetrics.horizontalAdvance(xTicks_.back()) / 2;
    double plotLeft = left + firstXHalf;
    if (showsYAxis_) {
        const double yTitleHeight = model.y.title.empty() ? 0 : textMetrics.height() + unit * 0.5;
        plotLeft = std::max(plotLeft, left + yTitleHeight + WidestText(yTicks_, labelMetrics) +
                                          tickLength_ + unit * 0.3);
    }
    const double plotRight = area.right() - std::max(unit, lastXHalf + unit * 0.3);
    geometry_ = PlotFor(model, QRectF(QPointF(plotLeft, plotTop), QPointF(plotRight, plotBottom)));
    const QRectF& plot = geometry_.Plot();

    xTitle_ =
        QRectF(plot.left(), plot.bottom() + belowPlot - xTitleHeight, plot.width(), xTitleHeight);
    yTitle_ = QRectF(left, plot.top(), textMetrics.height(), plot.height());
}

}  // namespace kelvane
