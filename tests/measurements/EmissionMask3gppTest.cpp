#include "measurements/3gpp/SpectrumEmissionMask3gpp.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

const std::vector<std::string> kSetUp{
    "SI", "CF 2000000000HZ", "RL 0DB", "AL", "DETAA ON", "SP 20MZ", "SEMCBW 3.84MZ",
    "SEMRFCALC CHN", "SEMNQST OFF", "SEMTDEL",
    "SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
    "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS",
    "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS",
    "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS", "SEMON", "TS", "SEM?"};
const std::vector<std::string> kClosing{"SEMON OFF", "CONTS"};
const std::string kTitle = "SEM Measurement...";
const std::string kHeader = " START F      STOP F       FREQ.      ABS LEV   REL LEV\r\n";

// Eight records as the analyzer sends them, with and without a line end, one with more fields
// than are used, and the line each gives.
const std::vector<std::pair<std::string, std::string>> kRecords{
    {"0,2132487000,2132687000,2132590000,-52.314,-95.766",
     "2132.49MHz---2132.69MHz, 2132.59MHz, -52.31dBm, -95.77dB\r\n"},
    {"1,2132687000,2133487000,2133000000,-60.456,-100.5\r\n",
     "2132.69MHz---2133.49MHz, 2133.00MHz, -60.46dBm, -100.50dB\r\n"},
    {"2,2133487000,2133972000,2133500000,-5,-47\r\n",
     "2133.49MHz---2133.97MHz, 2133.50MHz, -5.00dBm, -47.00dB\r\n"},
    {"3,2133972000,2137972000,2134000000,-70.125,-112.9,PASS,x\r\n",
     "2133.97MHz---2137.97MHz, 2134.00MHz, -70.13dBm, -112.90dB\r\n"},
    {"4,1997485000,1997285000,1997400000,-52.0,-94.9",
     "1997.49MHz---1997.29MHz, 1997.40MHz, -52.00dBm, -94.90dB\r\n"},
    {"5,1997285000,1996485000,1996500000,-61.004,-103.004\n",
     "1997.29MHz---1996.49MHz, 1996.50MHz, -61.00dBm, -103.00dB\r\n"},
    {"6,1996485000,1996000000,1996200000, +3.5 , 0\r\n",
     "1996.49MHz---1996.00MHz, 1996.20MHz, 3.50dBm, 0.00dB\r\n"},
    {"7,1996000000,1992000000,1.995E9,-80,-122.005",
     "1996.00MHz---1992.00MHz, 1995.00MHz, -80.00dBm, -122.01dB\r\n"},
};

class EmissionMask3gppTest : public MeasurementBench {
protected:
    MeasurementOutcome Run() {
        const double measF = 2000000000.0;
        const double measRef = 0.0;
        return SpectrumEmissionMask3gpp(context, measF, measRef);
    }

    // Set-up, header, and the first `goodRecords` records with their lines.
    static Expected UpToRecord(std::size_t goodRecords) {
        Expected e;
        e.Open(kTitle).Write(kSetUp).Log(kHeader);
        for (std::size_t i = 0; i < goodRecords; ++i)
            e.Read(200, kRecords[i].first).Log(kRecords[i].second);
        return e;
    }
};

TEST_F(EmissionMask3gppTest, LogsEightRecordsThenSetsBack) {
    for (const auto& record : kRecords) driver.Reply("SEM?", {record.first});
    EXPECT_EQ(Run(), MeasurementOutcome::Completed);
    Expected e = UpToRecord(kRecords.size());
    EXPECT_EQ(Merged(), e.Write(kClosing).Close().timeline);
    std::string wholeLog = "\r\nSEM Measurement...\r\n" + kHeader;
    for (const auto& record : kRecords) wholeLog += record.second;
    EXPECT_EQ(log.Text(), wholeLog);
}

struct BadRecordCase {
    std::size_t goodRecords;  // records before the bad one
    std::vector<std::string> badRead;  // none: the read times out empty
    std::string reason;
};

void PrintTo(const BadRecordCase& c, std::ostream* os) { *os << c.reason; }

class BadRecord : public EmissionMask3gppTest,
                  public ::testing::WithParamInterface<BadRecordCase> {};

// A bad record ends the table: no further read, then the closing commands.
TEST_P(BadRecord, StopsTheTableAndSetsBack) {
    const auto& c = GetParam();
    for (std::size_t i = 0; i < c.goodRecords; ++i) driver.Reply("SEM?", {kRecords[i].first});
    driver.Reply("SEM?", c.badRead);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e = UpToRecord(c.goodRecords);
    e.Read(200, c.badRead.empty() ? "" : c.badRead[0]);
    e.Log("SEM Measurement failed: " + c.reason + "\r\n").Write(kClosing).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Records, BadRecord,
    ::testing::Values(
        BadRecordCase{0, {"0,START F,2132687000,2132590000,-52.314,-95.766"},
                      "\"SEM?\" record 1 of 8 field 1 is not a number: \"START F\""},
        BadRecordCase{2, {"2,2133487000,2133972000,2133500000,-5\r\n"},
                      "\"SEM?\" record 3 of 8 has 5 fields, 6 expected"},
        BadRecordCase{4, {"4,1997485000,1997285000,1997400000,----,-94.9"},
                      "\"SEM?\" record 5 of 8 field 4 is not a number: \"----\""},
        BadRecordCase{5, {"5,1997285000,1996485000,1996500000,-61,\r\n"},
                      "\"SEM?\" record 6 of 8 field 5 is not a number: \"\""},
        BadRecordCase{7, {}, "\"SEM?\" record 8 of 8 did not arrive"}));

TEST_F(EmissionMask3gppTest, RefusedMaskSegmentStopsAllTraffic) {
    driver.FailWrite(kSetUp[12], kErrorEabo);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(kTitle).Write(kSetUp.begin(), kSetUp.begin() + 13);
    e.Log("SEM Measurement failed: \"SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS\" "
          "was not accepted (driver error EABO (6))\r\n");
    EXPECT_EQ(Merged(), e.Close().timeline);
}

}  // namespace
}  // namespace kelvane::testing
