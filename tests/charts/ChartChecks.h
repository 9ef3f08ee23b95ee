#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "charts/RecordChart.h"

namespace kelvane::testing {

// The chart of a record, which must have one.
inline ChartModel ChartOf(const MeasurementRecord& record) {
    const std::optional<ChartModel> chart = ChartFor(record);
    if (!chart) ADD_FAILURE() << "no chart for " << record.measurement;
    return chart.value_or(ChartModel{});
}

// An axis's ticks run from its min to its max at one step.
inline void ExpectEvenTicks(const ChartAxis& axis) {
    ASSERT_GE(axis.ticks.size(), 2u) << axis.title;
    EXPECT_DOUBLE_EQ(axis.ticks.front(), axis.min) << axis.title;
    EXPECT_DOUBLE_EQ(axis.ticks.back(), axis.max) << axis.title;
    const double step = axis.ticks[1] - axis.ticks[0];
    EXPECT_GT(step, 0) << axis.title;
    for (std::size_t i = 1; i < axis.ticks.size(); ++i)
        EXPECT_NEAR(axis.ticks[i] - axis.ticks[i - 1], step, 1e-9 * step) << axis.title;
}

// Every element of a chart lies inside its axes, which are symmetric around 0 in x; the y axis
// only where it has a scale (not the occupied bandwidth's). Only an element flagged off-scale
// may stand on an axis' end in y; the others keep room for their labels.
inline void ExpectEverythingInside(const ChartModel& model) {
    EXPECT_EQ(model.x.min, -model.x.max);
    ExpectEvenTicks(model.x);
    const bool levels = !model.y.ticks.empty();
    if (levels) ExpectEvenTicks(model.y);
    const auto inX = [&](double x) {
        EXPECT_TRUE(model.x.min <= x && x <= model.x.max) << x << " in " << model.x.title;
    };
    const auto inY = [&](double y, bool offScale = false) {
        if (!levels) return;
        if (offScale) {
            EXPECT_TRUE(y == model.y.min || y == model.y.max) << y << " at " << model.y.title;
        } else {
            EXPECT_TRUE(model.y.min < y && y < model.y.max) << y << " in " << model.y.title;
        }
    };
    for (const ChartBand& band : model.bands) inX(band.x1), inX(band.x2);
    for (const ChartBar& bar : model.bars)
        inX(bar.x - bar.width / 2), inX(bar.x + bar.width / 2), inY(bar.top, bar.offScale != 0);
    for (const ChartPolyline& line : model.lines)
        for (const ChartPoint& point : line.points) inX(point.x), inY(point.y);
    for (const ChartSpan& span : model.spans) inX(span.x1), inX(span.x2), inY(span.y);
    for (const ChartMarker& marker : model.markers)
        inX(marker.at.x), inY(marker.at.y, marker.offScale.y != 0);
}

// The highest limit line at x (the lines of a mask meet at the segments' ends), none where no
// limit line reaches x.
inline std::optional<double> LimitAt(const ChartModel& model, double x) {
    std::optional<double> limit;
    for (const ChartPolyline& line : model.lines) {
        if (line.tone != ChartTone::Limit) continue;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const ChartPoint& a = line.points[i - 1];
            const ChartPoint& b = line.points[i];
            if (x < std::min(a.x, b.x) || x > std::max(a.x, b.x)) continue;
            const double y =
                a.x == b.x ? std::max(a.y, b.y) : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
            limit = limit ? std::max(*limit, y) : y;
        }
    }
    return limit;
}

// Nothing of a row that passes is drawn above its limit line: no bracket at any x of its range
// (sampled every 10 kHz), no marker that does not fail.
inline void ExpectNothingPassingAboveTheLimit(const ChartModel& model) {
    constexpr double kStepMhz = 0.01;
    constexpr double kTolerance = 1e-9;
    for (const ChartSpan& span : model.spans) {
        for (double x = span.x1; x <= span.x2; x += kStepMhz) {
            const std::optional<double> limit = LimitAt(model, x);
            if (limit) {
                EXPECT_LE(span.y, *limit + kTolerance) << "bracket at " << x << " MHz";
            }
        }
    }
    for (const ChartMarker& marker : model.markers) {
        const std::optional<double> limit = LimitAt(model, marker.at.x);
        if (limit && marker.tone != ChartTone::Fail) {
            EXPECT_LE(marker.at.y, *limit + kTolerance) << marker.label;
        }
    }
}

}  // namespace kelvane::testing
