#pragma once

#include <functional>
#include <vector>

#include "simulator/instrument/InstrumentState.h"
#include "simulator/traces/Trace.h"

namespace kelvane {

// The result of one mask segment on one side of the carrier.
struct MaskRecord {
    int segment = 0;  // 1-based, in the order of increasing start offset
    bool upperSide = false;
    double startHz = 0.0;  // absolute; start below stop on both sides
    double stopHz = 0.0;
    double peakHz = 0.0;       // where the segment's highest point lies
    double absoluteDbm = 0.0;  // that point's level
    double relativeDb = 0.0;   // that level against the mask reference
    bool pass = true;          // no point of the segment above its limit line
};

// Checks the spectrum against the mask table. Each segment is swept on each side with its own
// RBW, the filter kept inside the segment (from start + RBW/2 to stop - RBW/2); the limit runs
// linearly (in dB) from the level at the start offset to the one at the stop offset, in dBm for ABS
// rows and relative to the reference for REL rows.
//
// Records come in increasing frequency: the lower side from the outermost segment inwards, then
// the upper side from the innermost outwards; 2 x the number of segments in all.
class MaskEvaluator {
public:
    // Takes the sweep of one segment side: start and stop in Hz, points, RBW in Hz, and a number
    // that tells the sweeps of one evaluation apart.
    using SegmentSweep = std::function<const Trace&(double startHz, double stopHz, int points,
                                                    double rbwHz, int sweepNumber)>;

    static std::vector<MaskRecord> Evaluate(const std::vector<MaskTableRow>& table, double centerHz,
                                            double referenceDbm, const SegmentSweep& sweep);

    // Points per segment sweep: two per RBW, at least 21, at most 1001.
    static int SegmentPoints(double widthHz, double rbwHz);
};

}  // namespace kelvane
