#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "charts/ChartModel.h"
#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"

namespace kelvane {

// A chart's SVG text, ready to stand inside an HTML page (no XML prolog, a fixed viewBox that
// scales to the width it is given, all text escaped); empty when it could not be drawn. Only a
// build with the chart drawing (Qt) has one.
using ChartSvgSource = std::function<std::string(const ChartModel& model)>;

// What a report tells of its run beside the records. Whatever is not given is taken from the
// records: the newest record's origin, set-up, bus and version, the first record's start and the
// last one's end.
struct ReportFacts {
    std::string version;  // Kelvane's
    std::optional<std::chrono::system_clock::time_point> started;
    std::optional<std::chrono::system_clock::time_point> ended;
    std::optional<RecordOrigin> origin;
    std::optional<MeasurementSetup> setup;
    std::string bus;  // as records name it: "gpib", "simulated", "lan:HOST:PORT", "usb:DEVICE"
    // The batch names of the measurements the run was to make, in order and repeats included
    // (a batch); those after the records were not measured (a run that was interrupted or
    // stopped early). Empty: the records are all there was to be (the window).
    std::vector<std::string> planned;
};

}  // namespace kelvane
