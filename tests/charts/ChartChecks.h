#pragma once

#include <algorithm>
#include <cmath>
#include <optional>

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
// only where it has a scale (not the occupied bandwidth's).
inline void ExpectEverythingInside(const ChartModel& model) {
    EXPECT_EQ(model.x.min, -model.x.max);
    ExpectEvenTicks(model.x);
    const bool levels = !model.y.ticks.empty();
    if (levels) ExpectEvenTicks(model.y);
    const auto inX = [&](double x) {
        EXPECT_TRUE(model.x.min <= x && x <= model.x.max) << x << " in " << model.x.title;
    };
    const auto inY = [&](double y) {
        if (!levels) return;
        EXPECT_TRUE(model.y.min < y && y < model.y.max) << y << " in " << model.y.title;
    };
    for (const ChartBand& band : model.bands) inX(band.x1), inX(band.x2);
    for (const ChartBar& bar : model.bars)
        inX(bar.x - bar.width / 2), inX(bar.x + bar.width / 2), inY(bar.top);
    for (const ChartPolyline& line : model.lines)
        for (const ChartPoint& point : line.points) inX(point.x), inY(point.y);
    for (const ChartSpan& span : model.spans) inX(span.x1), inX(span.x2), inY(span.y);
    for (const ChartMarker& marker : model.markers) inX(marker.at.x), inY(marker.at.y);
}

}  // namespace kelvane::testing
