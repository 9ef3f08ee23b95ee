#pragma once

#include <string>
#include <vector>

#include "results/Verdict.h"

namespace kelvane {

// What a chart draws, in the chart's own units (x and y as the axes name them), built from a
// judged record (RecordChart.h) and drawn the same way on the screen and into files (ChartPainter).
// Colours are not chosen here, only what each element means (ChartTone); the painter marks a
// failure also by shape and text, so that a chart printed in grey still tells pass from fail.
//
// Every element lies inside the axes (ChartOffScale.h fits them in): a value beyond an axis
// stands at its end, flagged off-scale, with its number in its label.

// What an element stands for.
enum class ChartTone {
    Neutral,  // the carrier, a value without a limit, a range
    Limit,    // a limit line
    Pass,     // inside its limit
    Fail,     // outside its limit
};

// Which way a value lies beyond the axes: -1 below the axis' min, +1 above its max, 0 on the
// axis. The painter draws such an element at the plot's edge with a chevron pointing outwards.
struct ChartOffScale {
    int x = 0;
    int y = 0;
    bool Any() const { return x != 0 || y != 0; }
    bool operator==(const ChartOffScale&) const = default;
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
    std::string label{};  // beside the line: "limit -13 dBm"; empty: none
    bool operator==(const ChartPolyline&) const = default;
};

// A stretch of x from x1 (left) to x2 at height y, drawn as a bracket with end strokes: a mask
// row's START-STOP range along the bottom of the plot, the width of the occupied bandwidth's
// limit. An end that lies beyond the x axis is cut at the axis and drawn as an arrow (open).
struct ChartSpan {
    double x1 = 0;
    double x2 = 0;
    double y = 0;
    ChartTone tone = ChartTone::Neutral;
    std::string label{};  // above the bracket's middle; empty: none
    bool openLeft = false;
    bool openRight = false;
    bool operator==(const ChartSpan&) const = default;
};

// A point that matters, e.g. where a mask row came closest to its limit, with its text beside it
// (the margin, "+57.29 dB"); a Fail marker is drawn as a cross, the others as a dot.
struct ChartMarker {
    ChartPoint at;
    ChartTone tone = ChartTone::Neutral;
    std::string label{};
    ChartOffScale offScale{};
    bool operator==(const ChartMarker&) const = default;
};

// A bar from the bottom of the plot up to `top`, `width` wide around `x`: a channel's power.
struct ChartBar {
    double x = 0;
    double width = 0;
    double top = 0;
    ChartTone tone = ChartTone::Neutral;
    std::string label{};  // above the bar: the value and its margin
    int offScale = 0;     // the value's side beyond the y axis (ChartOffScale::y)
    bool operator==(const ChartBar&) const = default;
};

// A box from x1 to x2 and from y1 to y2: the occupied band. A failing one is hatched.
struct ChartBand {
    double x1 = 0;
    double x2 = 0;
    double y1 = 0;
    double y2 = 1;
    ChartTone tone = ChartTone::Neutral;
    std::string label{};  // above the box
    bool openLeft = false;
    bool openRight = false;
    bool operator==(const ChartBand&) const = default;
};

// How the legend shows a kind of element: the shape the painter draws for it.
enum class ChartSymbol {
    Line,        // a limit line
    DashedLine,  // a dashed limit line
    Bracket,     // a span
    Dot,         // a marker
    Cross,       // a failing marker
    Box,         // a bar or band
    HatchedBox,  // a failing bar or band
};

struct ChartLegendEntry {
    ChartSymbol symbol = ChartSymbol::Line;
    ChartTone tone = ChartTone::Limit;
    std::string text;
    bool operator==(const ChartLegendEntry&) const = default;
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
    // What a report needs beside it, one short line each: the measurement, the carrier, the
    // reference level, the path loss, the limits, the DUT, the time (UTC), Kelvane's version,
    // e.g. {"acp (ACP Measurement...)", "carrier 2000 MHz", "reference level 0 dBm", "limits:
    // TS 25.104", "2026-12-09 14:19:50 UTC", "Kelvane 1.2.0"}; then the failure or warning line
    // of a run that did not complete ("ACP Measurement failed: ...").
    std::vector<std::string> facts;
    Verdict verdict = Verdict::None;
    ChartAxis x;
    ChartAxis y;
    std::vector<ChartBand> bands;  // drawn first
    std::vector<ChartBar> bars;
    std::vector<ChartSpan> spans;
    std::vector<ChartPolyline> lines;  // limit lines, over bands, bars and spans
    std::vector<ChartMarker> markers;  // drawn last
    // What the symbols mean: limit, measured, pass, fail.
    std::vector<ChartLegendEntry> legend;
    bool operator==(const ChartModel&) const = default;
};

}  // namespace kelvane
