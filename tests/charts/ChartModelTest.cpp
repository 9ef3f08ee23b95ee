#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/ChartFileName.h"
#include "charts/RecordChart.h"
#include "tests/charts/ChartChecks.h"
#include "tests/results/SampleRecords.h"
#include "tests/results/SampleResults.h"

namespace kelvane::testing {
namespace {

// Channel power and total power are single numbers; a run that logged nothing has nothing to
// draw; a measurement unknown here gets no chart rather than a wrong one.
TEST(ChartModel, NoChartWithoutAPicture) {
    const MeasurementResult power = Result("CH Power Measurement...", MeasurementOutcome::Completed,
                                           {Value("channel_power", -10.22, "dBm")});
    const MeasurementResult total = Result("CH Power Measurement...", MeasurementOutcome::Completed,
                                           {Value("total_power", -9.99, "dBm")});
    const MeasurementResult nothing = Result("ACP Measurement...", MeasurementOutcome::Failed, {});
    const MeasurementResult noRows =
        Result("S.E.M. Measurement...", MeasurementOutcome::Failed, {}, 2000e6, WcdmaMask());
    EXPECT_FALSE(ChartFor(Record("ch-power", power)));
    EXPECT_FALSE(ChartFor(Record("total-power-11b", total)));
    EXPECT_FALSE(ChartFor(Record("acp", nothing)));
    EXPECT_FALSE(ChartFor(Record("sem", noRows)));
    EXPECT_FALSE(ChartFor(Record("sem-11c", WcdmaMaskResult())));
    EXPECT_TRUE(ChartFor(Record("sem", WcdmaMaskResult())));
}

// The button's caption, the verdict upper case and the worst margin as the status line has it
// ("margin" of a single limited value, none for an incomplete run); no verdict word without a
// limit.
TEST(ChartModel, TitleNamesTheMeasurementAndItsVerdict) {
    MeasurementResult wcdmaFailed = WcdmaMaskResult();
    wcdmaFailed.outcome = MeasurementOutcome::Failed;
    const MeasurementResult beyondTheMask =
        Result("S.E.M. Measurement...", MeasurementOutcome::Completed,
               {Row(1, 2010e6, 2012e6, 2011e6, -60)}, 2000e6, WcdmaMask());
    const MeasurementResult wlan = Result("SEM Measurement...", MeasurementOutcome::Completed,
                                          {Row(1, 2401e6, 2412e6, 2411.85e6, -21.76, -0.09, true)},
                                          2412e6, {{0, 11e6, -19.4, -19.4}});
    MeasurementResult acpOneValue = AcpResult();
    acpOneValue.values.resize(2);  // the carrier and -5 MHz (+9.75 dB)
    struct Case {
        MeasurementRecord record;
        std::string title;
        Verdict verdict;
    };
    const Case cases[] = {
        {Record("sem", WcdmaMaskResult()), "S.E.M. (W-CDMA): PASS, worst margin 57.29 dB",
         Verdict::Pass},
        {Record("sem", wcdmaFailed), "S.E.M. (W-CDMA): INCOMPLETE", Verdict::Incomplete},
        {Record("sem", beyondTheMask), "S.E.M. (W-CDMA): INCOMPLETE", Verdict::Incomplete},
        {Record("sem-11b", wlan), "SEM (11b): PASS", Verdict::Pass},  // in the channel only
        {Record("acp", AcpResult()), "ACP: FAIL, worst margin -4.50 dB", Verdict::Fail},
        {Record("acp", acpOneValue), "ACP: PASS, margin 9.75 dB", Verdict::Pass},
    };
    for (const Case& c : cases) {
        const std::optional<ChartModel> chart = ChartFor(c.record);
        ASSERT_TRUE(chart) << c.title;
        EXPECT_EQ(chart->title, c.title);
        EXPECT_EQ(chart->verdict, c.verdict) << c.title;
    }
}

TEST(ChartModel, FactsForAReport) {
    MeasurementRecord record = Record("acp", AcpResult());
    EXPECT_EQ(ChartFor(record)->facts,
              (std::vector<std::string>{"acp (ACP Measurement...)", "carrier 2000 MHz",
                                        "reference level 10 dBm", "limits: TS 25.104", "DUT SN-1",
                                        "2026-12-09 14:19:50 UTC", "Kelvane 1.2.0"}));

    record.result.centerHz = 2112.5e6;
    record.result.outcome = MeasurementOutcome::Warning;
    record.result.message = "Warning: the measurement's end was not reported in 10 s";
    record.judgement = Judge(record.result);
    record.started = std::chrono::sys_days{std::chrono::year{2027} / 1 / 2} +
                     std::chrono::hours{3} + std::chrono::milliseconds{4999};
    record.version = "1.3.0";
    EXPECT_EQ(ChartFor(record)->facts,
              (std::vector<std::string>{
                  "acp (ACP Measurement...)", "carrier 2112.5 MHz", "reference level 10 dBm",
                  "limits: TS 25.104", "DUT SN-1", "2027-01-02 03:00:04 UTC", "Kelvane 1.3.0",
                  "Warning: the measurement's end was not reported in 10 s"}));
}

// The set-up's facts between the carrier and the time: reference level, path loss (none
// without one), the limits the values were judged against, the DUT where it is named.
TEST(ChartModel, FactsOfTheSetUp) {
    const auto record = [](const std::string& measurement, double referenceLevelDbm,
                           PathLoss pathLoss, MaskLimits maskLimits,
                           std::optional<double> bsPowerDbm, const std::string& dut) {
        MeasurementRecord r = Record(measurement, WcdmaMaskResult());
        r.setup.referenceLevelDbm = referenceLevelDbm;
        r.setup.pathLoss = pathLoss;
        r.setup.bsPowerDbm = bsPowerDbm;
        r.judgement.maskLimits = maskLimits;
        r.origin.dut = dut;
        return r;
    };
    const PathLoss table = PathLoss::Table({{1e9, 1}, {3e9, 2}}, "/bench/loss.csv");
    struct Case {
        MeasurementRecord record;
        std::vector<std::string> facts;  // from the reference level to the DUT
    };
    const Case cases[] = {
        {record("sem", 10, table, MaskLimits::Sent, std::nullopt, ""),
         {"reference level 10 dBm", "path loss table loss.csv", "limits: the mask sent"}},
        {record("sem", 10, PathLoss::Fixed(0.25), MaskLimits::BsPower, 35, "A 7"),
         {"reference level 10 dBm", "path loss 0.25 dB",
          "limits: TS 25.104 base station mask, P = 35 dBm", "DUT A 7"}},
        {record("sem-11b", 10, PathLoss(), MaskLimits::None, std::nullopt, ""),
         {"reference level 10 dBm"}},
        // Text from outside: control characters as the log shows them, nothing else touched.
        {record("obw", 0, PathLoss::Table({{1e9, 1}, {3e9, 2}}, "C:\\b\tc.csv"), MaskLimits::None,
                std::nullopt, "<A&B>\x01\x7f\n"),
         {"reference level 0 dBm", "path loss table b\\x09c.csv", "limits: TS 25.104",
          "DUT <A&B>\\x01\\x7F\\x0A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.facts.back());
        const std::vector<std::string> facts = ChartOf(c.record).facts;
        ASSERT_EQ(facts.size(), c.facts.size() + 4);
        EXPECT_EQ(std::vector<std::string>(facts.begin() + 2, facts.end() - 2), c.facts);
        EXPECT_EQ(facts.end()[-2], "2026-12-09 14:19:50 UTC");
    }
}

TEST(ChartModel, FileStemFromTheNameAndTheStartInUtc) {
    using namespace std::chrono;
    struct Case {
        std::string measurement;
        system_clock::time_point started;
        std::string stem;
    };
    const Case cases[] = {
        {"acp", SampleStart(), "acp-20261209T141950Z"},  // milliseconds cut off
        {"sem-11a",
         sys_days{year{2026} / 12 / 31} + hours{23} + minutes{59} + seconds{59} + milliseconds{999},
         "sem-11a-20261231T235959Z"},
        // Before 1970 the second is still the one it began in, not the next.
        {"obw",
         sys_days{year{1969} / 12 / 31} + hours{23} + minutes{59} + seconds{59} + milliseconds{500},
         "obw-19691231T235959Z"},
        // Never a path or a name that a file system refuses.
        {"../a b:c", SampleStart(), ".._a_b_c-20261209T141950Z"},
    };
    for (const Case& c : cases) {
        MeasurementRecord record = Record(c.measurement, WcdmaMaskResult());
        record.started = c.started;
        EXPECT_EQ(ChartFileStem(record), c.stem);
    }
}

// The analyzer's answers are always finite; a value that is not (a record built elsewhere) is
// left out of the picture rather than giving the painter no range to draw in.
TEST(ChartModel, ValuesThatAreNoNumbersAreNotDrawn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    MeasurementResult mask = WcdmaMaskResult();
    mask.values[1].value = mask.values[1].row->levelDbm = nan;
    mask.values[2].row->frequencyHz = std::numeric_limits<double>::infinity();
    MeasurementResult acp = AcpResult();
    acp.values[2].value = nan;
    const MeasurementResult obw =
        Result("OBW Measurement...", MeasurementOutcome::Completed,
               {Value("occupied_bandwidth", nan, "Hz"), Value("occupied_band_center", 2e9, "Hz")});
    struct Case {
        MeasurementRecord record;
        std::size_t markers, spans, bars, bands;
    };
    const Case cases[] = {{Record("sem", mask), 1, 1, 0, 0},
                          {Record("acp", acp), 0, 0, 4, 0},
                          {Record("obw", obw), 0, 1, 0, 0}};  // the limit's bracket
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record.measurement);
        const std::optional<ChartModel> chart = ChartFor(c.record);
        ASSERT_TRUE(chart);
        EXPECT_EQ(chart->markers.size(), c.markers);
        EXPECT_EQ(chart->spans.size(), c.spans);
        EXPECT_EQ(chart->bars.size(), c.bars);
        EXPECT_EQ(chart->bands.size(), c.bands);
        ExpectEverythingInside(*chart);
        EXPECT_TRUE(std::isfinite(chart->y.min) && std::isfinite(chart->y.max));
    }
}

}  // namespace
}  // namespace kelvane::testing
