#pragma once

#include <string>
#include <vector>

namespace kelvane {

// One row of a path loss table: the loss (dB) between the DUT and the analyzer at a frequency.
struct PathLossPoint {
    double frequencyHz = 0;
    double lossDb = 0;

    bool operator==(const PathLossPoint&) const = default;
};

// The loss between the DUT and the analyzer (cables, attenuator; a gain is negative), which
// turns a level the analyzer saw into the level at the DUT: dut = analyzer + loss. None (0 dB),
// one loss for every frequency (--path-loss), or a table (--path-loss-table) read linearly
// between its rows.
class PathLoss {
public:
    // No loss: levels at the DUT are the analyzer's.
    PathLoss() = default;
    static PathLoss Fixed(double lossDb);
    // points: at least two, in rising frequency (the caller checks); file: where they came from.
    static PathLoss Table(std::vector<PathLossPoint> points, std::string file);

    bool IsNone() const { return points_.empty() && lossDb_ == 0; }
    bool IsTable() const { return !points_.empty(); }
    // The fixed loss (dB); 0 for a table.
    double FixedDb() const { return lossDb_; }
    const std::vector<PathLossPoint>& Points() const { return points_; }
    const std::string& File() const { return file_; }

    // The loss at a frequency: the fixed loss, or the table's straight line between the rows
    // around it (the end rows' loss beyond the table's ends).
    double At(double frequencyHz) const;
    // Whether the table covers lowHz to highHz (a fixed loss covers every frequency).
    bool Covers(double lowHz, double highHz) const;

    bool operator==(const PathLoss&) const = default;

private:
    double lossDb_ = 0;
    std::vector<PathLossPoint> points_;
    std::string file_;
};

}  // namespace kelvane
