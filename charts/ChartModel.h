#pragma once

#include <string>
#include <vector>

#include "results/Verdict.h"

namespace kelvane {

// What a chart draws, in the chart's own units (x and y as the axes name them), built from a
// judged record (RecordChart.h) and drawn the same way on the screen and into files (ChartPainter).
// Colours are not chosen here, only what each element means (ChartTone); the painter marks a
// failure also by shape and text, so that a chart printed in grey still tells pass from fail.

// What an element stands for.
enum class ChartTone {
    Neutral,  // the carrier, a value without a limit, a span
    Limit,    // a limit line or the limit's band
    Pass,     // inside its limit
    Fail,     // outside its limit
};

struct ChartPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// A straight-line path, e.g. one segment of an emission mask on one side of the carrier.
struct ChartPolyline {
    std::vector<ChartPoint> points;
    ChartTone tone = ChartTone::Limit;
    bool dashed = false;
    bool operator==(const ChartPolyline&) const = default;
};

// A horizontal stretch from x1 to x2 at height y: a mask row's START-STOP range at its level.
struct ChartSpan {
    double x1 = 0;
    double x2 = 0;
    double y = 0;
    ChartTone tone = ChartTone::Neutral;
    bool operator==(const ChartSpan&) const = default;
};

// A point that matters, e.g. where a mask row came closest to its limit, with its text beside it
// (the margin, "+57.29 dB"); a Fail marker is drawn as a cross, the others as a dot.
struct ChartMarker {
    ChartPoint at;
    ChartTone tone = ChartTone::Neutral;
    std::string label;
    bool operator==(const ChartMarker&) const = default;
};

// A bar from the bottom of the plot up to `top`, `width` wide around `x`: a channel's power.
struct ChartBar {
    double x = 0;
    double width = 0;
    double top = 0;
    ChartTone tone = ChartTone::Neutral;
    std::string label;  // above the bar: the value and its margin
    bool operator==(const ChartBar&) const = default;
};

// A vertical band from x1 to x2 over the whole height: an occupied band, a limit's band.
struct ChartBand {
    double x1 = 0;
    double x2 = 0;
    ChartTone tone = ChartTone::Neutral;
    std::string label;  // written at the band's top
    bool operator==(const ChartBand&) const = default;
};

// An axis without a title and without ticks has no scale (the occupied bandwidth's y: the chart
// knows no levels there): the painter draws neither tick labels, grid lines nor a title for it.
struct ChartAxis {
    std::string title;  // with its unit, e.g. "Offset from 2000 MHz (MHz)", "Level (dBm)"
    double min = 0;
    double max = 1;
    std::vector<double> ticks;  // where the grid lines and tick labels go, min to max
    bool operator==(const ChartAxis&) const = default;
};

struct ChartModel {
    // The measurement by its button's caption with the verdict (upper case, none without a
    // limit) and the worst margin as the status line gives them: "S.E.M. (W-CDMA): PASS, worst
    // margin 55.02 dB", "OBW: PASS, margin 0.833 MHz", "ACP: INCOMPLETE".
    std::string title;
    // What a report needs beside it, one line each: the measurement, the carrier frequency, the
    // time (UTC), Kelvane's version, e.g. {"acp (ACP Measurement...)", "carrier 2000 MHz",
    // "2026-12-09 14:19:50 UTC", "Kelvane 1.2.0"}; then the failure or warning line of a run
    // that did not complete ("ACP Measurement failed: ...").
    std::vector<std::string> facts;
    Verdict verdict = Verdict::None;
    ChartAxis x;
    ChartAxis y;
    std::vector<ChartBand> bands;  // drawn first
    std::vector<ChartBar> bars;
    std::vector<ChartPolyline> lines;  // limit lines
    std::vector<ChartSpan> spans;
    std::vector<ChartMarker> markers;  // drawn last
    bool operator==(const ChartModel&) const = default;
};

}  // namespace kelvane
