#include <chrono>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "store/StationDatabase.h"
#include "store/history/HistoryQuery.h"
#include "store/history/HistoryReport.h"
#include "store/sqlite/SqliteStore.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane::testing {
namespace {

// Six runs of OBW and one of channel power at two stations, a minute apart:
//   DUT-A at s1: 4.9 MHz pass, then 5.1 MHz fail    (first run passed)
//   DUT-B at s1: 5.2 MHz fail, then 4.8 MHz pass    (first run failed)
//   DUT-C at s2: 4.7 MHz pass, channel power -10 dBm
//   no DUT at s2: an OBW that failed before a value (incomplete)
class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        StationDatabase database(path_);
        ASSERT_EQ(database.Problem(), "");
        int minute = 0;
        const auto keep = [&](const char* measurement, MeasurementResult result, const char* dut,
                              const char* station) {
            MeasurementRecord record = Record(measurement, std::move(result));
            record.started = SampleStart() + std::chrono::minutes(minute);
            record.origin = {dut, "Ana", station};
            record.recordId = "record-" + std::to_string(minute++);
            ASSERT_EQ(database.Keep(record), "");
        };
        const auto obw = [](double hz) {
            return Result("OBW Measurement...", MeasurementOutcome::Completed,
                          {Value("occupied_bandwidth", hz, "Hz")});
        };
        keep("obw", obw(4.9e6), "DUT-A", "s1");
        keep("obw", obw(5.1e6), "DUT-A", "s1");
        keep("obw", obw(5.2e6), "DUT-B", "s1");
        keep("obw", obw(4.8e6), "DUT-B", "s1");
        keep("obw", obw(4.7e6), "DUT-C", "s2");
        keep("ch-power",
             Result("CH Power Measurement...", MeasurementOutcome::Completed,
                    {Value("channel_power", -10, "dBm")}),
             "DUT-C", "s2");
        keep("obw", Result("OBW Measurement...", MeasurementOutcome::Failed, {}), "", "s2");
    }

    History Read(History::Filter filter) {
        SqliteStore store(path_, SqliteDatabase::Mode::Existing);
        EXPECT_EQ(store.Problem(), "");
        const auto history = HistoryQuery(filter).Run(store.Database());
        EXPECT_TRUE(history) << store.Database().Error();
        return history.value_or(History());
    }

    const TemporaryFolder temporary_;
    const std::string path_ = (temporary_.Path() / "line.sqlite").string();
};

TEST_F(HistoryTest, CountsRunsVerdictsAndFirstPassesPerSelection) {
    // measurement, station, runs, DUTs, pass, fail, incomplete, first-pass DUTs, first-run DUTs
    using Counts = std::tuple<std::string, std::string, std::size_t, std::size_t, std::size_t,
                              std::size_t, std::size_t, std::size_t, std::size_t>;
    struct Case {
        History::Filter filter;
        std::size_t records;
        std::vector<Counts> sections;
    };
    const std::string third = "2026-12-09T14:21:00.000Z";  // from DUT-B's first run on
    const std::vector<Case> cases = {
        {{}, 7, {{"ch-power", "", 1, 1, 0, 0, 0, 0, 1}, {"obw", "", 6, 3, 3, 2, 1, 2, 3}}},
        {{"", "", "", true},
         7,
         {{"ch-power", "s2", 1, 1, 0, 0, 0, 0, 1},
          {"obw", "s1", 4, 2, 2, 2, 0, 1, 2},
          {"obw", "s2", 2, 1, 1, 0, 1, 1, 1}}},
        {{third, "", "", false},
         5,
         {{"ch-power", "", 1, 1, 0, 0, 0, 0, 1}, {"obw", "", 4, 2, 2, 1, 1, 1, 2}}},
        {{"", "s1", "", false}, 4, {{"obw", "", 4, 2, 2, 2, 0, 1, 2}}},
        {{"", "", "ch-power", false}, 1, {{"ch-power", "", 1, 1, 0, 0, 0, 0, 1}}},
        {{"", "nowhere", "", false}, 0, {}},
    };
    for (const Case& c : cases) {
        const History history = Read(c.filter);
        EXPECT_EQ(history.records, c.records);
        std::vector<Counts> sections;  // in the catalog's order: channel power before OBW
        for (const History::Section& s : history.sections)
            sections.emplace_back(s.measurement, s.station, s.runs, s.duts, s.pass, s.fail,
                                  s.incomplete, s.firstPassDuts, s.firstRunDuts);
        EXPECT_EQ(sections, c.sections)
            << c.filter.since << c.filter.station << c.filter.measurement;
    }
}

TEST_F(HistoryTest, SpreadWorstMarginAndCpkOfEachValue) {
    const History history = Read({"", "", "obw", false});
    ASSERT_EQ(history.sections.size(), 1u);
    ASSERT_EQ(history.sections[0].values.size(), 1u);
    const History::Value& obw = history.sections[0].values[0];
    EXPECT_EQ(std::tie(obw.name, obw.unit, obw.count, obw.min, obw.max),
              std::make_tuple("occupied_bandwidth", "Hz", 5u, 4.7e6, 5.2e6));
    EXPECT_NEAR(obw.mean, 4.94e6, 1e-3);
    // Squares of the deviations: (0.04² + 0.16² + 0.26² + 0.14² + 0.24²) MHz² = 0.172 MHz².
    const double sd = std::sqrt(0.172e12 / 4);
    ASSERT_TRUE(obw.standardDeviation);
    EXPECT_NEAR(*obw.standardDeviation, sd, 1e-3);
    EXPECT_EQ(obw.worstMargin, -0.2e6);
    ASSERT_TRUE(obw.cpk);
    EXPECT_NEAR(*obw.cpk, (5e6 - 4.94e6) / (3 * sd), 1e-9);
    // One value: no spread, no Cpk; no limit: no margin.
    const History power = Read({"", "", "ch-power", false});
    const History::Value& channel = power.sections.at(0).values.at(0);
    EXPECT_FALSE(channel.standardDeviation);
    EXPECT_FALSE(channel.worstMargin);
    EXPECT_FALSE(channel.cpk);
}

TEST_F(HistoryTest, TheSpreadOfLargeValuesKeepsItsDigits) {
    // A band's centre near 2 GHz that moves by 500 Hz: a sum of squares (4e18) has no digit left
    // for a variance of 2.5e5.
    const std::string path = (temporary_.Path() / "centres.sqlite").string();
    {
        StationDatabase database(path);
        int minute = 0;
        for (const double hz : {2e9 - 500, 2e9, 2e9 + 500, 2e9}) {
            MeasurementRecord record =
                Record("obw", Result("OBW Measurement...", MeasurementOutcome::Completed,
                                     {Value("occupied_band_center", hz, "Hz")}));
            record.recordId = "centre-" + std::to_string(minute++);
            ASSERT_EQ(database.Keep(record), "");
        }
    }
    SqliteStore store(path, SqliteDatabase::Mode::Existing);
    const auto history = HistoryQuery({}).Run(store.Database());
    ASSERT_TRUE(history) << store.Database().Error();
    const History::Value& centre = history->sections.at(0).values.at(0);
    ASSERT_TRUE(centre.standardDeviation);
    EXPECT_NEAR(*centre.standardDeviation, std::sqrt(500.0 * 500 * 2 / 3), 1e-6);
}

TEST_F(HistoryTest, ReportsAsAlignedTextAndCsv) {
    const History::Filter filter{"", "", "", true};
    const History history = Read(filter);
    const HistoryReport report(history, "\"line.sqlite\"", filter);
    const std::string text = report.Text();
    const std::vector<std::string> lines = {
        "History of \"line.sqlite\": 7 records\n",
        "\nch-power at s2: 1 run, 1 DUT, 0 pass, 0 fail, 0 incomplete, first-pass yield -\n"
        "  value          unit  count  min  mean  max  std dev  worst margin  Cpk\n"
        "  channel_power  dBm   1      -10  -10   -10  -        -             -\n",
        "\nobw at s1: 4 runs, 2 DUTs, 2 pass, 2 fail, 0 incomplete, first-pass yield 50.0 % (1 of "
        "2)\n",
        "  occupied_bandwidth  Hz    4      4800000  5000000  5200000  182574   -200000 Hz    "
        "0.00\n",
    };
    for (const std::string& line : lines)
        EXPECT_NE(text.find(line), std::string::npos) << line << text;
    const std::string csv = report.Csv();
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "measurement,station,name,runs,duts,pass,fail,incomplete,first_pass_duts,"
              "first_run_duts,first_pass_yield,unit,count,min,mean,max,std_dev,worst_margin,cpk");
    EXPECT_NE(csv.find("\r\nobw,s1,,4,2,2,2,0,1,2,0.5,,,,,,,,\r\n"), std::string::npos) << csv;
    EXPECT_NE(
        csv.find("\r\nobw,s2,occupied_bandwidth,,,,,,,,,Hz,1,4700000,4700000,4700000,,300000,\r\n"),
        std::string::npos)
        << csv;
}

}  // namespace
}  // namespace kelvane::testing
