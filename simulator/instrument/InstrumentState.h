#pragma once

#include <vector>

namespace kelvane {

// The analyzer's resolution bandwidths, in Hz; video bandwidths share the upper bound.
inline constexpr double kMinRbwHz = 10.0;
inline constexpr double kMaxBandwidthHz = 10e6;

enum class Detector { PositivePeak, Sample, Average };

// Which power function is switched on: channel power ("PWCHON") or total power ("PWTOTALON").
enum class PowerFunction { Off, Channel, Total };

// One row of the emission mask table, as "SEMTIN" loads it. Offsets are from the center
// frequency and apply to both sides of the carrier.
struct MaskTableRow {
    double startOffsetHz = 0.0;
    double stopOffsetHz = 0.0;
    double rbwHz = 0.0;
    double startLevelDb =
        0.0;                   // limit at the start offset: dBm when absolute, else dB to reference
    double stopLevelDb = 0.0;  // limit at the stop offset, likewise
    double extraLevel1Db = 0.0;  // the row's second pair of levels: kept, not evaluated
    double extraLevel2Db = 0.0;
    bool absolute = true;  // reference word ABS (true) or REL
};

// One pair of adjacent channels, as "CSBSIN" loads it.
struct AdjacentChannel {
    double offsetHz = 0.0;
    double bandwidthHz = 0.0;
};

// Every setting the analyzer's commands change. "SI" restores the preset values of the sweep,
// level, bandwidth, detector, averaging and measurement switches; the mask and adjacent channel
// tables survive it, as they do on the real instrument.
struct InstrumentState {
    // Limits the commands accept: the longest sweep time ("SW") and the largest averaging count
    // ("AG", "PWCHTM"). The auto-coupled sweep time is held to the same limit.
    static constexpr double kMaxSweepTimeS = 1000.0;
    static constexpr int kMaxAverageCount = 999;

    double centerHz = 1.5e9;
    double spanHz = 3.0e9;
    double referenceLevelDbm = 0.0;
    double rbwHz = 1.0e6;     // used when not auto-coupled
    double vbwHz = 1.0e6;     // used when not auto-coupled
    double sweepTimeS = 0.1;  // used when not auto-coupled
    bool rbwAuto = true;
    bool vbwAuto = true;
    bool sweepTimeAuto = true;
    bool attenuationAuto = true;  // "AL"; the model has no attenuator
    Detector detector = Detector::PositivePeak;

    bool averagingOn = false;
    bool averagingSingle = false;  // "AGSGL": stop after the count instead of a running average
    int averageCount = 10;

    bool markerOn = false;  // "PS" puts the marker on the highest point, "MO" takes it off
    double markerHz = 0.0;

    bool maskOn = false;
    double maskChannelBandwidthHz = 3.84e6;
    bool maskReferenceIsPeak = false;  // "SEMRFCALC PEAK"; CHN takes the channel power
    bool maskNqstOn = false;           // "SEMNQST": kept, no effect on the model
    std::vector<MaskTableRow> maskTable;

    bool obwOn = false;
    double obwPercent = 99.0;

    bool acpOn = false;
    double carrierBandwidthHz = 3.84e6;
    std::vector<AdjacentChannel> adjacentChannels;

    PowerFunction power = PowerFunction::Off;
    bool powerChannelCenterSet = false;  // "WLX" given; otherwise the channel follows the center
    double powerChannelCenterHz = 0.0;
    double powerChannelWidthHz = 3.84e6;
    bool powerAveragingOn = false;
    bool powerAveragingOnce = true;  // "PMEASAVGONCE": kept; the end is reported once either way
    int powerAverageCount = 10;

    // Back to the preset values; the tables stay.
    void Preset();

    // Resolution bandwidth in force: auto-coupled to about 1 % of the span on a 1-3 scale.
    double EffectiveRbwHz() const;
    double EffectiveVbwHz() const;
    // Sweep time in force; auto-coupled to 2.5 x span / (RBW x min(RBW, VBW)), at least 5 ms and
    // at most kMaxSweepTimeS.
    double EffectiveSweepTimeS() const;
    double PowerChannelCenterHz() const;
};

}  // namespace kelvane
