#pragma once

#include <cstddef>

#include "simulator/traces/Trace.h"

namespace kelvane {

// Power figures read off a trace, the way the analyzer's measurement functions compute them:
// each point stands for the power in its bin (one point spacing wide), and a point's reading
// is turned into power by the RBW filter's noise bandwidth.
class TracePower {
public:
    struct Occupied {
        double centerHz = 0.0;
        double bandwidthHz = 0.0;
    };

    // Power in the channel centerHz +/- widthHz/2, in mW: the sum of the points' power times
    // their share of the channel (span/(N-1) for a bin wholly inside), divided by the noise
    // bandwidth of the RBW.
    static double ChannelMw(const Trace& trace, double centerHz, double widthHz);
    // Power of the whole trace, in mW.
    static double TotalMw(const Trace& trace);
    // The band that holds `percent` of the trace's power, leaving equal shares outside on
    // both sides; edges interpolated within the bins.
    static Occupied OccupiedBandwidth(const Trace& trace, double percent);
    static std::size_t PeakIndex(const Trace& trace);
    // The point nearest to a frequency.
    static std::size_t NearestIndex(const Trace& trace, double frequencyHz);

    // Level in dBm of a power in mW; very small powers give a very low level, never -inf.
    static double Dbm(double powerMw);
};

}  // namespace kelvane
