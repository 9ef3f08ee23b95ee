#pragma once

namespace kelvane {

// Where the analyzer sits: the PC's GPIB board (interface) and the analyzer's primary address on
// its bus; no secondary address.
struct AnalyzerAddress {
    static constexpr int kMaxBoard = 15;
    static constexpr int kMaxPrimaryAddress = 30;

    int board = 0;
    int primaryAddress = 8;

    bool operator==(const AnalyzerAddress&) const = default;
};

}  // namespace kelvane
