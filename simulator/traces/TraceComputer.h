#pragma once

#include <vector>

#include "simulator/signals/PowerDensity.h"
#include "simulator/traces/Trace.h"

namespace kelvane {

// Computes what a swept analyzer displays for an input spectrum, without sweep-to-sweep noise.
//
// The input density is sampled on a grid a few times finer than the point spacing and the RBW,
// convolved with the Gaussian RBW filter (peak gain 1, noise bandwidth 1.0645 x RBW, so a flat
// density D reads D x 1.0645 x RBW), and each point's detector reduces the grid samples of its
// bin: positive peak takes the largest, average the mean, sample the one at the point.
// Keeps its scratch buffers between calls.
class TraceComputer {
public:
    void Compute(const PowerDensity& input, const SweepSettings& settings, Trace& trace);

    // The noise bandwidth of a Gaussian RBW filter, in Hz.
    static double NoiseBandwidthHz(double rbwHz) { return 1.0645 * rbwHz; }

private:
    std::vector<double> density_;
    std::vector<double> filtered_;
    std::vector<double> kernel_;
};

}  // namespace kelvane
