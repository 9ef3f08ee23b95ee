#pragma once

#include <array>
#include <string>
#include <vector>

#include "charts/ChartModel.h"

// Chart models as the program builds them for its records, written out by hand so that the
// drawing is tested on its own: a W-CDMA emission mask with one row over its mask, adjacent
// channel power with one channel over its limit, and a passing occupied bandwidth; each with its
// legend.
namespace kelvane::testing {

inline std::vector<std::string> CannedFacts(const std::string& measurement) {
    return {measurement, "carrier 2000 MHz", "2026-12-09 14:19:50 UTC", "Kelvane 1.2.0"};
}

// The mask sent (4 segments a side) and 8 rows; row 6 (upper side, 2.715 to 3.515 MHz) is 6.28
// dB over the mask at its worst point.
inline ChartModel CannedMaskChart() {
    ChartModel model;
    model.title = "S.E.M. (W-CDMA): FAIL, worst margin -6.28 dB";
    model.facts = CannedFacts("sem (SEM Measurement...)");
    model.verdict = Verdict::Fail;
    model.x = {"Offset from 2000 MHz (MHz)", -10, 10, {-10, -8, -6, -4, -2, 0, 2, 4, 6, 8, 10}};
    model.y = {"Level (dBm)", -80, 0, {-80, -70, -60, -50, -40, -30, -20, -10, 0}};
    struct Segment {
        double start, stop, startLevel, stopLevel;
    };
    constexpr std::array<Segment, 4> kMask{{{2.515, 2.715, -14, -14},
                                            {2.715, 3.515, -14, -26},
                                            {3.515, 4.0, -26, -26},
                                            {4.0, 8.0, -13, -13}}};
    for (const Segment& s : kMask) {
        model.lines.push_back({{{-s.stop, s.stopLevel}, {-s.start, s.startLevel}}});
        model.lines.push_back({{{s.start, s.startLevel}, {s.stop, s.stopLevel}}});
        if (s.startLevel == s.stopLevel)
            model.lines.back().label =
                "limit " + std::to_string(static_cast<int>(s.startLevel)) + " dBm";
    }
    struct Row {
        double start, stop, worst, level;
        ChartTone tone;
        const char* margin;
    };
    constexpr std::array<Row, 8> kRows{{
        {-8.0, -4.0, -4.12, -70.29, ChartTone::Pass, "+57.29 dB"},
        {-4.0, -3.515, -3.52, -71.84, ChartTone::Pass, "+45.84 dB"},
        {-3.515, -2.715, -2.74, -69.62, ChartTone::Pass, "+55.99 dB"},
        {-2.715, -2.515, -2.52, -58.40, ChartTone::Pass, "+44.40 dB"},
        {2.515, 2.715, 2.53, -58.93, ChartTone::Pass, "+44.93 dB"},
        {2.715, 3.515, 3.0, -12.00, ChartTone::Fail, "-6.28 dB"},
        {3.515, 4.0, 3.61, -71.02, ChartTone::Pass, "+45.02 dB"},
        {4.0, 8.0, 4.05, -70.77, ChartTone::Pass, "+57.77 dB"},
    }};
    // The ranges along the bottom, neighbours in turns on two lanes.
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        model.spans.push_back({row.start, row.stop, i % 2 == 0 ? -77.6 : -74.8});
        model.markers.push_back({{row.worst, row.level}, row.tone, row.margin});
    }
    model.legend = {{ChartSymbol::Line, ChartTone::Limit, "limit"},
                    {ChartSymbol::Bracket, ChartTone::Neutral, "row's range"},
                    {ChartSymbol::Dot, ChartTone::Pass, "worst point, pass"},
                    {ChartSymbol::Cross, ChartTone::Fail, "fail"}};
    return model;
}

// The carrier and the four adjacent channels; the upper 5 MHz channel is over its -45 dB limit.
inline ChartModel CannedAcpChart() {
    ChartModel model;
    model.title = "ACP: FAIL, worst margin -1.88 dB";
    model.facts = CannedFacts("acp (ACP Measurement...)");
    model.verdict = Verdict::Fail;
    model.x = {"Offset from 2000 MHz (MHz)", -15, 15, {-15, -10, -5, 0, 5, 10, 15}};
    model.y = {
        "Power relative to the carrier (dBc)", -70, 10, {-70, -60, -50, -40, -30, -20, -10, 0, 10}};
    model.bars = {
        {0, 3.84, 0, ChartTone::Neutral, "carrier 10.23 dBm"},
        {-10, 3.84, -62.31, ChartTone::Pass, "-62.31 dB (+12.31)"},
        {-5, 3.84, -54.78, ChartTone::Pass, "-54.78 dB (+9.78)"},
        {5, 3.84, -43.12, ChartTone::Fail, "-43.12 dB (-1.88)"},
        {10, 3.84, -61.90, ChartTone::Pass, "-61.90 dB (+11.90)"},
    };
    for (const auto& [offset, limit] : {std::pair{-10.0, -50.0}, std::pair{-5.0, -45.0},
                                        std::pair{5.0, -45.0}, std::pair{10.0, -50.0}}) {
        model.lines.push_back({{{offset - 1.92, limit}, {offset + 1.92, limit}},
                               ChartTone::Limit,
                               false,
                               "limit " + std::to_string(static_cast<int>(limit)) + " dB"});
    }
    model.legend = {{ChartSymbol::Line, ChartTone::Limit, "limit"},
                    {ChartSymbol::Box, ChartTone::Neutral, "carrier (0 dBc)"},
                    {ChartSymbol::Box, ChartTone::Pass, "channel power, pass"},
                    {ChartSymbol::HatchedBox, ChartTone::Fail, "fail"}};
    return model;
}

// The 5 MHz limit's edges and width, the occupied band inside them with its center; no y axis.
inline ChartModel CannedObwChart() {
    ChartModel model;
    model.title = "OBW: PASS, margin 0.833 MHz";
    model.facts = CannedFacts("obw (OBW Measurement...)");
    model.verdict = Verdict::Pass;
    model.x = {"Offset from 2000 MHz (MHz)", -3, 3, {-3, -2, -1, 0, 1, 2, 3}};
    model.y = {"", 0, 1, {}};
    model.lines = {{{{-2.5, 0}, {-2.5, 1}}, ChartTone::Limit, true},
                   {{{2.5, 0}, {2.5, 1}}, ChartTone::Limit, true}};
    model.spans = {{-2.5, 2.5, 0.82, ChartTone::Limit, "limit 5 MHz"}};
    model.bands = {{-2.0795, 2.0875, 0.2, 0.55, ChartTone::Pass, "OBW 4.167 MHz"}};
    model.markers = {{{0.004, 0.375}, ChartTone::Neutral, "center 2000.004 MHz"}};
    model.legend = {{ChartSymbol::DashedLine, ChartTone::Limit, "limit 5 MHz"},
                    {ChartSymbol::Box, ChartTone::Pass, "occupied band (99 %), pass"},
                    {ChartSymbol::HatchedBox, ChartTone::Fail, "fail"},
                    {ChartSymbol::Dot, ChartTone::Neutral, "band's center"}};
    return model;
}

}  // namespace kelvane::testing
