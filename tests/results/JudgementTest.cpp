#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "measurements/NumberForms.h"
#include "results/Judgement.h"
#include "results/Limits.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

constexpr double kTolerance = 1e-9;

LimitBasis Basis(const MeasurementResult& result, PathLoss pathLoss = {}) {
    return {result.mask, result.maskOnMeasuredPeak, std::move(pathLoss)};
}

TEST(MaskLimit, ChoosesTheSegmentByTheMiddleOfTheRowAndReadsItAtFreq) {
    struct Case {
        const char* what;
        double startMHz, stopMHz, frequencyMHz;
        std::optional<double> limitDbm;
    };
    const Case cases[] = {
        {"lower side, far segment", 1992.00, 1996.00, 1995.50, -13},
        {"lower side, sloped segment", 1996.49, 1997.29, 1997.26, -14 - 12 * (0.025 / 0.8)},
        {"upper side, sloped segment", 2002.72, 2003.52, 2002.77, -14 - 12 * (0.055 / 0.8)},
        {"slope's start", 2002.715, 2003.515, 2002.715, -14},
        {"slope's stop", 2002.715, 2003.515, 2003.515, -26},
        {"flat close-in segment", 2002.515, 2002.715, 2002.6, -14},
        {"edges of 3.515-4.0, lower side", 1996.0, 1996.485, 1996.2, -26},
        {"edges of 4.0-8.0, upper side", 2004.0, 2008.0, 2005.0, -13},
        {"edges of 4.0-8.0, lower side", 1992.0, 1996.0, 1992.0, -13},
        // FREQ in the neighbour segment: the middle decides, FREQ is clamped into it.
        {"FREQ beyond the segment's start", 2004.0, 2008.0, 2003.9, -13},
        {"FREQ beyond the slope's stop", 2002.72, 2003.52, 2003.9, -26},
        // A middle on a boundary belongs to the first segment holding it, in mask order.
        {"middle at 4.0 MHz, upper side", 2003.5, 2004.5, 2004.0, -26},
        {"middle at 4.0 MHz, lower side", 1995.5, 1996.5, 1996.0, -26},
        {"middle at 8.0 MHz", 2007.5, 2008.5, 2008.0, -13},
        {"beyond the mask", 2008.5, 2012.5, 2010.0, std::nullopt},
        {"inside the mask's gap at the carrier", 2000.5, 2001.5, 2001.0, std::nullopt},
    };
    for (const Case& c : cases) {
        const MaskRow row{c.startMHz * 1e6, c.stopMHz * 1e6, c.frequencyMHz * 1e6, -80, -70, {}};
        const std::optional<double> limit = MaskLimitAt(WcdmaMask(), 2000e6, row);
        ASSERT_EQ(limit.has_value(), c.limitDbm.has_value()) << c.what;
        if (limit) {
            EXPECT_NEAR(*limit, *c.limitDbm, kTolerance) << c.what;
        }
    }
    EXPECT_FALSE(MaskLimitAt({}, 2000e6, MaskRow{1992e6, 1996e6, 1995.5e6, -70, -60, {}}));
}

TEST(MaskLimit, FollowsTheCarrier) {
    // The same mask around a carrier at 2140 MHz: the row's offsets, not its frequencies, count.
    const MaskRow row{2136.49e6, 2137.29e6, 2137.26e6, -77.87, -67.68, {}};
    const std::optional<double> limit = MaskLimitAt(WcdmaMask(), 2140e6, row);
    ASSERT_TRUE(limit);
    EXPECT_NEAR(*limit, -14.375, kTolerance);
}

TEST(JudgeValue, HoldsEachValueToItsLimit) {
    struct Case {
        MeasuredValue value;
        std::optional<double> limit;
        std::optional<double> margin;
        std::optional<bool> passed;
    };
    const Case cases[] = {
        {Value("occupied_bandwidth", 4167031, "Hz"), 5e6, 832969, true},
        {Value("occupied_bandwidth", 5e6, "Hz"), 5e6, 0, false},  // less than 5 MHz
        {Value("occupied_bandwidth", 5000001, "Hz"), 5e6, -1, false},
        {Value("occupied_band_center", 2000e6, "Hz"), {}, {}, {}},
        {Value("acp_lower_5mhz", -45, "dB"), -45, 0, true},  // at the limit is inside
        {Value("acp_upper_5mhz", -54.75, "dB"), -45, 9.75, true},
        {Value("acp_lower_5mhz", -44.75, "dB"), -45, -0.25, false},
        {Value("acp_lower_10mhz", -50, "dB"), -50, 0, true},
        {Value("acp_upper_10mhz", -49.5, "dB"), -50, -0.5, false},
        {Value("acp_upper_10mhz", -63.25, "dB"), -50, 13.25, true},
        {Value("carrier_power", -10.2, "dBm"), {}, {}, {}},
        {Value("channel_power", -10.2, "dBm"), {}, {}, {}},
        {Value("total_power", 3.5, "dBm"), {}, {}, {}},
        // W-CDMA mask rows: at the limit is inside.
        {Row(1, 2004e6, 2008e6, 2005e6, -13), -13, 0, true},
        {Row(1, 2004e6, 2008e6, 2005e6, -12.5), -13, -0.5, false},
        {Row(1, 2008.5e6, 2012.5e6, 2010e6, -12.5), {}, {}, {}},
    };
    const MeasurementResult result =
        Result("", MeasurementOutcome::Completed, {}, 2000e6, WcdmaMask());
    for (const Case& c : cases) {
        const JudgedValue judged = JudgeValue(c.value, result, Basis(result));
        EXPECT_EQ(judged.measured, c.value);
        EXPECT_EQ(judged.limit, c.limit) << c.value.name << " " << c.value.value;
        EXPECT_EQ(judged.margin, c.margin) << c.value.name << " " << c.value.value;
        EXPECT_EQ(judged.passed, c.passed) << c.value.name << " " << c.value.value;
    }
}

// The adjacent channels as the ACP measurement records them: each of its four channel values finds
// its channel and is judged, and its log line shows the value at the channel's offset.
TEST(AdjacentChannels, AreTheChannelsTheAcpMeasurementRecords) {
    runs::RunFixture fixture(runs::GoldenRun("acp").script);
    fixture.Run("acp");
    std::set<std::string_view> found;
    for (const MeasuredValue& value : fixture.result.values) {
        if (value.name == "carrier_power") continue;
        const auto channel =
            std::find_if(kAdjacentChannels.begin(), kAdjacentChannels.end(),
                         [&](const AdjacentChannel& c) { return c.name == value.name; });
        ASSERT_NE(channel, kAdjacentChannels.end()) << value.name;
        found.insert(channel->name);
        EXPECT_TRUE(JudgeValue(value, fixture.result, Basis(fixture.result)).passed.has_value())
            << value.name;
        // " -5.00MHz -45.20dB": the space keeps +5 MHz from matching inside -5 MHz.
        const std::string shown = " " + PatternNumber(channel->offsetHz / 1e6, "0.00") + "MHz " +
                                  PatternNumber(value.value, "0.00") + "dB";
        EXPECT_NE(fixture.result.log.find(shown), std::string::npos) << shown;
    }
    EXPECT_EQ(found.size(), kAdjacentChannels.size());
}

TEST(JudgeValue, AWlanRowFailsOnTheAnalyzersWordOrOverTheMask) {
    // 802.11a at 5005 MHz, peak -10 dBm: P = -8 dBm; 11-20 MHz slopes from -28 to -36 dBm.
    const MeasurementResult result =
        Result("", MeasurementOutcome::Completed, {}, 5005e6, Wlan11aMask(-10));
    const double limitAt12MHz = -28 - 8.0 / 9;
    struct Case {
        MeasuredValue row;
        std::optional<double> limit;
        std::optional<bool> passed;
    };
    const Case cases[] = {
        {Row(1, 4985e6, 4994e6, 4993e6, -50, -40, true), limitAt12MHz, true},
        {Row(2, 4985e6, 4994e6, 4993e6, -50, -40, false), limitAt12MHz, false},
        {Row(3, 5016e6, 5025e6, 5017e6, -20, -10, true), limitAt12MHz, false},  // over the mask
        {Row(7, 5016e6, 5025e6, 5017e6, limitAt12MHz + 0.005, 0, true), limitAt12MHz, true},
        {Row(4, 5045e6, 5050e6, 5046e6, -90, -80, true), std::nullopt, true},  // no segment
        {Row(5, 5045e6, 5050e6, 5046e6, -90, -80, false), std::nullopt, false},
        {Row(6, 4996e6, 5014e6, 5005e6, -8, 0, true), -8, true},  // the flat top, both sides
    };
    for (const Case& c : cases) {
        const JudgedValue judged = JudgeValue(c.row, result, Basis(result));
        ASSERT_EQ(judged.limit.has_value(), c.limit.has_value()) << c.row.name;
        EXPECT_EQ(judged.passed, c.passed) << c.row.name;
        if (!c.limit) {
            EXPECT_FALSE(judged.margin) << c.row.name;
            continue;
        }
        EXPECT_NEAR(*judged.limit, *c.limit, kTolerance) << c.row.name;
        ASSERT_TRUE(judged.margin) << c.row.name;
        EXPECT_NEAR(*judged.margin, *c.limit - c.row.value, kTolerance) << c.row.name;
    }
}

TEST(Judge, GivesTheMeasurementsVerdict) {
    using enum MeasurementOutcome;
    const MeasuredValue inside = Value("acp_lower_5mhz", -54.77, "dB");
    const MeasuredValue outside = Value("acp_upper_5mhz", -40.5, "dB");
    const MeasuredValue unlimited = Value("channel_power", -10.2, "dBm");
    struct Case {
        MeasurementOutcome outcome;
        std::vector<MeasuredValue> values;
        Verdict verdict;
    };
    const Case cases[] = {
        {Completed, {inside, unlimited}, Verdict::Pass},
        {Completed, {inside, outside}, Verdict::Fail},
        {Warning, {inside, outside}, Verdict::Fail},
        {Failed, {outside}, Verdict::Fail},  // whatever else happened
        {Warning, {inside}, Verdict::Incomplete},
        {Failed, {inside}, Verdict::Incomplete},
        {Failed, {}, Verdict::Incomplete},
        {Warning, {unlimited}, Verdict::Incomplete},
        {Completed, {unlimited}, Verdict::None},
        {Completed, {}, Verdict::None},
        // A row in no segment: the mask is not known to hold there, even when the rest pass.
        {Completed, {Row(1, 2008.5e6, 2012.5e6, 2010e6, 0)}, Verdict::Incomplete},
        {Completed,
         {Row(1, 2008.5e6, 2012.5e6, 2010e6, 0), Row(2, 2004e6, 2008e6, 2004.5e6, -70)},
         Verdict::Incomplete},
        {Completed, {Row(1, 2008.5e6, 2012.5e6, 2010e6, 0, 0, false)}, Verdict::Fail},  // WLAN
    };
    for (const Case& c : cases) {
        const Judgement judgement = Judge(Result("", c.outcome, c.values, 2000e6, WcdmaMask()));
        EXPECT_EQ(judgement.verdict, c.verdict)
            << static_cast<int>(c.outcome) << " with " << c.values.size() << " values";
        EXPECT_EQ(judgement.values.size(), c.values.size());
    }
}

TEST(Judge, TheWorstMarginIsTheSmallestOfTheLimitedValues) {
    const Judgement mask = Judge(WcdmaMaskResult());
    EXPECT_EQ(mask.verdict, Verdict::Pass);
    ASSERT_TRUE(mask.worstMargin);
    EXPECT_NEAR(*mask.worstMargin, 57.29, kTolerance);  // row 1: -13 dBm - -70.29 dBm
    EXPECT_EQ(mask.marginUnit, "dB");
    ASSERT_EQ(mask.values.size(), 3u);
    EXPECT_NEAR(*mask.values[1].limit, -14.375, kTolerance);
    EXPECT_NEAR(*mask.values[2].limit, -14.825, kTolerance);

    const Judgement acp =
        Judge(Result("", MeasurementOutcome::Completed,
                     {Value("carrier_power", -10, "dBm"), Value("acp_lower_5mhz", -54.5, "dB"),
                      Value("acp_upper_5mhz", -55, "dB"), Value("acp_lower_10mhz", -50.25, "dB"),
                      Value("acp_upper_10mhz", -64, "dB")}));
    EXPECT_EQ(acp.worstMargin, 0.25);
    EXPECT_EQ(acp.marginUnit, "dB");

    const Judgement obw = Judge(Result(
        "", MeasurementOutcome::Completed,
        {Value("occupied_bandwidth", 4167031, "Hz"), Value("occupied_band_center", 2000e6, "Hz")}));
    EXPECT_EQ(obw.worstMargin, 832969);
    EXPECT_EQ(obw.marginUnit, "Hz");

    const Judgement power =
        Judge(Result("", MeasurementOutcome::Completed, {Value("channel_power", -10.2, "dBm")}));
    EXPECT_FALSE(power.worstMargin);
    EXPECT_EQ(power.marginUnit, "");
}

// Answers no analyzer could have measured are never judged, whatever their limit says: the
// verdict is incomplete and says why.
TEST(Judge, AnImpossibleValueIsNeverAPass) {
    struct Case {
        MeasuredValue value;
        std::string reason;
    };
    const auto Channel = [](const char* name, double offsetHz) {
        return MeasuredValue(name, -60, "dB", std::nullopt, offsetHz);
    };
    const Case cases[] = {
        {Value("occupied_bandwidth", -4167812, "Hz"), "occupied_bandwidth -4167812 Hz: below 1 Hz"},
        {Value("occupied_bandwidth", 0, "Hz"), "occupied_bandwidth 0 Hz: below 1 Hz"},
        {Value("occupied_bandwidth", 4.9e-324, "Hz"), "below 1 Hz"},
        {Value("occupied_bandwidth", 10.5e6, "Hz"), "wider than the 10 MHz span swept"},
        {Channel("acp_lower_5mhz", 0), "acp_lower_5mhz -60 dB: answered at 0 MHz, not at -5 MHz"},
        {Channel("acp_upper_5mhz", 1e6), "answered at 1 MHz, not at 5 MHz"},
        {Channel("acp_lower_10mhz", -1e300), "not at -10 MHz"},
        {Channel("acp_lower_5mhz", -10e6), "answered at -10 MHz, not at -5 MHz"},  // swapped
        {Channel("acp_upper_10mhz", 5e6), "answered at 5 MHz, not at 10 MHz"},
        {Channel("acp_upper_10mhz", 10.2e6), "answered at 10.2 MHz, not at 10 MHz"},
        {Row(1, 2008.5e6, 2012.5e6, 2010e6, -70), "row_1 -70 dBm: in no segment of the mask"},
    };
    for (const Case& c : cases) {
        MeasurementResult result = Result("", MeasurementOutcome::Completed, {c.value}, 2000e6,
                                          c.value.row ? WcdmaMask() : std::vector<MaskSegment>{});
        result.spanHz = 10e6;
        const Judgement judgement = Judge(result);
        EXPECT_EQ(judgement.verdict, Verdict::Incomplete) << c.reason;
        EXPECT_FALSE(judgement.values.at(0).passed) << c.reason;
        EXPECT_NE(judgement.incompleteReason.find(c.reason), std::string::npos)
            << judgement.incompleteReason;
    }
    // Within 1 % of the channel's offset is the channel.
    const Judgement near =
        Judge(Result("", MeasurementOutcome::Completed, {Channel("acp_upper_10mhz", 10.09e6)}));
    EXPECT_EQ(near.verdict, Verdict::Pass);
}

// Absolute levels at the DUT: the analyzer's plus the path loss at the value's frequency; the
// W-CDMA mask's limits stay, a WLAN mask (built on the peak at the analyzer) moves with them.
TEST(Judge, AbsoluteLevelsAreJudgedAtTheDut) {
    const PathLoss table = PathLoss::Table({{1990e6, 20}, {2010e6, 40}}, "loss.csv");
    struct Case {
        const char* what;
        MeasurementResult result;
        PathLoss loss;
        double value;                  // of the first value, at the DUT
        std::optional<double> margin;  // of the first value
        Verdict verdict;
    };
    MeasurementResult wlan =
        Result("", MeasurementOutcome::Completed, {Row(1, 4985e6, 4994e6, 4993e6, -50, -40, true)},
               5005e6, Wlan11aMask(-10));
    wlan.maskOnMeasuredPeak = true;
    const Case cases[] = {
        {"channel power",
         Result("", MeasurementOutcome::Completed, {Value("channel_power", -10.22, "dBm")}),
         PathLoss::Fixed(30), 19.78, std::nullopt, Verdict::None},
        {"relative levels stay",
         Result("", MeasurementOutcome::Completed, {Value("acp_lower_5mhz", -54.5, "dB")}),
         PathLoss::Fixed(30), -54.5, 9.5, Verdict::Pass},
        {"W-CDMA row over the mask at the DUT",
         Result("", MeasurementOutcome::Completed, {Row(1, 2004e6, 2008e6, 2005e6, -40)}, 2000e6,
                WcdmaMask()),
         PathLoss::Fixed(30), -10, -3, Verdict::Fail},
        {"the table at the row's FREQ",
         Result("", MeasurementOutcome::Completed, {Row(1, 2004e6, 2008e6, 2005e6, -47.5)}, 2000e6,
                WcdmaMask()),
         table, -12.5, -0.5, Verdict::Fail},
        {"WLAN margin unchanged", wlan, PathLoss::Fixed(30), -20, -28 - 8.0 / 9 - -50,
         Verdict::Pass},
    };
    for (const Case& c : cases) {
        MeasurementSetup setup;
        setup.pathLoss = c.loss;
        const Judgement judgement = Judge(c.result, setup);
        ASSERT_FALSE(judgement.values.empty()) << c.what;
        EXPECT_NEAR(judgement.values[0].value, c.value, kTolerance) << c.what;
        EXPECT_EQ(judgement.values[0].measured.value, c.result.values[0].value) << c.what;
        ASSERT_EQ(judgement.values[0].margin.has_value(), c.margin.has_value()) << c.what;
        if (c.margin) {
            EXPECT_NEAR(*judgement.values[0].margin, *c.margin, kTolerance) << c.what;
        }
        EXPECT_EQ(judgement.verdict, c.verdict) << c.what;
    }
}

// With the base station's rated power the W-CDMA rows meet that power's mask; what was sent does
// not change it.
TEST(Judge, TheWcdmaMaskForTheBaseStationsPower) {
    const std::vector<MeasuredValue> rows{Row(1, 2002.515e6, 2002.715e6, 2002.6e6, -40),
                                          Row(2, 2002.715e6, 2003.515e6, 2003.115e6, -40),
                                          Row(3, 2003.515e6, 2004.0e6, 2003.7e6, -40),
                                          Row(4, 2004.0e6, 2008.0e6, 2005e6, -40),
                                          Row(5, 2008.0e6, 2012.5e6, 2010e6, -40)};
    struct Case {
        std::optional<double> powerDbm;
        std::vector<double> limits;  // per row
    };
    const Case cases[] = {
        {35, {-18, -24, -30, -17, -21}}, {43, {-14, -20, -26, -13, -13}},
        {40, {-14, -20, -26, -13, -16}}, {39, {-14, -20, -26, -13, -17}},
        {20, {-22, -28, -34, -21, -25}},
    };
    for (const Case& c : cases) {
        MeasurementSetup setup;
        setup.bsPowerDbm = c.powerDbm;
        const Judgement judgement =
            Judge(Result("", MeasurementOutcome::Completed, rows, 2000e6, WcdmaMask()), setup);
        EXPECT_EQ(judgement.maskLimits, MaskLimits::BsPower);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ASSERT_TRUE(judgement.values[i].limit) << *c.powerDbm << " row " << i + 1;
            EXPECT_NEAR(*judgement.values[i].limit, c.limits[i], kTolerance)
                << *c.powerDbm << " row " << i + 1;
        }
    }
    EXPECT_EQ(
        Judge(Result("", MeasurementOutcome::Completed, rows, 2000e6, WcdmaMask())).maskLimits,
        MaskLimits::Sent);
}

// Inside the channel a WLAN mask sits 2 dB above the measured peak by construction: those rows
// are judged but do not give the worst margin.
TEST(Judge, TheWlanWorstMarginComesFromOutsideTheChannel) {
    MeasurementResult result =
        Result("", MeasurementOutcome::Completed,
               {Row(1, 4966e6, 4975e6, 4970e6, -70, 0, true),     // 30-39 MHz: limit -48
                Row(2, 4996e6, 5014e6, 5005e6, -10, 0, true),     // in the channel: margin 2
                Row(3, 5014e6, 5016e6, 5015e6, -31.2, 0, true)},  // 9-11 MHz: limit -18
               5005e6, Wlan11aMask(-10));
    result.maskOnMeasuredPeak = true;
    const Judgement judgement = Judge(result);
    EXPECT_TRUE(judgement.values[1].inChannel);
    EXPECT_FALSE(judgement.values[0].inChannel || judgement.values[2].inChannel);
    ASSERT_TRUE(judgement.worstMargin);
    EXPECT_NEAR(*judgement.worstMargin, 13.2, kTolerance);
    EXPECT_EQ(judgement.worstValue, 2u);
}

TEST(VerdictName, NamesEachVerdict) {
    EXPECT_EQ(VerdictName(Verdict::Pass), "pass");
    EXPECT_EQ(VerdictName(Verdict::Fail), "fail");
    EXPECT_EQ(VerdictName(Verdict::None), "none");
    EXPECT_EQ(VerdictName(Verdict::Incomplete), "incomplete");
}

}  // namespace
}  // namespace kelvane::testing
