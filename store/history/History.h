#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

// The line's history as --history shows it: per measurement (and station, when asked) how its
// runs went, and per value the spread and the margins.
struct History {
    // Which records count; empty fields select all.
    struct Filter {
        std::string since;        // UTC, "2026-12-01T00:00:00.000Z": records started then or later
        std::string station;      // exactly this station
        std::string measurement;  // exactly this measurement ("acp")
        bool byStation = false;   // a section per measurement and station
    };

    struct Value {
        std::string name;  // "acp_lower_5mhz"
        std::string unit;  // "dB", "dBm", "Hz"
        std::size_t count = 0;
        double min = 0, mean = 0, max = 0;
        std::optional<double> standardDeviation;  // from 2 values on
        // With a limit: the smallest margin, and the process capability against the limit,
        // mean margin / (3 standard deviations of the margin): (limit - mean) / 3 sd where the
        // limit is fixed. Without a spread there is no Cpk.
        std::optional<double> worstMargin;
        std::optional<double> cpk;
    };

    struct Section {
        std::string measurement;
        std::string station;   // empty unless byStation
        std::size_t runs = 0;  // records
        std::size_t duts = 0;  // DUTs with a serial number
        std::size_t pass = 0, fail = 0, incomplete = 0;
        // Of the DUTs, those whose first run of the measurement (among the records selected)
        // passed; a DUT counts at the station of that first run.
        std::size_t firstPassDuts = 0;
        std::size_t firstRunDuts = 0;
        std::vector<Value> values;  // in the record's order
    };

    std::size_t records = 0;
    std::vector<Section> sections;  // in the measurements' catalog order, then by station
};

}  // namespace kelvane
