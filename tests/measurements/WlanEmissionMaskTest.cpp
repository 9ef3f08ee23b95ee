#include "measurements/wlan/WlanEmissionMask.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

// What tells the two masks apart on the bus.
struct MaskVariant {
    MeasurementOutcome (*run)(MeasurementContext&);
    std::string center;
    std::string sweep;
    std::string referenceCalculation;
    std::size_t records;
};

const MaskVariant k11a{&WlanEmissionMask11a, "CF 5005000000HZ", "RB 100KZ; VB 30KZ; SW 500MS",
                       "SEMRFCALC PEAK", 10};
const MaskVariant k11b{&WlanEmissionMask11b, "CF 2412000000HZ", "RB 100KZ; VB 100KZ; SW 1SC",
                       "SEMRPFCALC PEAK", 6};

// The masks built on an "ML?" answer of -10.5 (raised peak -8.5).
const std::vector<std::string> kMask11aAtMinus10_5{
    "SEMTIN  0MZ,  9MZ, 100KZ,-8.5DB,-8.5DB,0DB, 0DB, ABS",
    "SEMTIN  9MZ, 11MZ, 100KZ,-8.5DB,-28.5DB,0DB, 0DB, ABS",
    "SEMTIN 11MZ, 20MZ, 100KZ,-28.5DB,-36.5DB,0DB, 0DB, ABS",
    "SEMTIN 20MZ, 30MZ, 100KZ,-36.5DB,-48.5DB,0DB, 0DB, ABS",
    "SEMTIN 30MZ, 39MZ, 100KZ,-48.5DB,-48.5DB,0DB, 0DB, ABS"};
const std::vector<std::string> kMask11bAtMinus10_5{
    "SEMTIN  0MZ, 11MZ, 100KZ,-8.5DB,-8.5DB,0DB, 0DB, ABS",
    "SEMTIN 11MZ, 22MZ, 100KZ,-38.5DB,-38.5DB,0DB, 0DB, ABS",
    "SEMTIN 22MZ, 39MZ, 100KZ,-58.5DB,-58.5DB,0DB, 0DB, ABS"};
const std::vector<std::string> kClosing{"SEMON OFF", "CONTS"};
const std::string kHeader = " START F      STOP F       FREQ.      ABS LEV   REL LEV\r\n";

// Two record shapes, alternating: the verdict runs to the end of the blank-filled buffer when
// it is the last field, and stops at the next comma otherwise.
const std::string kRecordA = "0,-11000000,-9000000,-9500000,-62.347,-58.1,PASS\r\n";
const std::string kLineA = "-11.00MHz----9.00MHz, -9.50MHz, -62.35dBm, -58.10dB,  P/F = PASS\r\n" +
                           std::string(200 - kRecordA.size(), ' ') + "\r\n";
const std::string kRecordB = "1,9000000,11000000,10000000,-70.5,-66.25,FAIL,7\r\n";
const std::string kLineB = "9.00MHz---11.00MHz, 10.00MHz, -70.50dBm, -66.25dB,  P/F = FAIL\r\n";

const std::string& Record(std::size_t i) { return i % 2 == 0 ? kRecordA : kRecordB; }
const std::string& Line(std::size_t i) { return i % 2 == 0 ? kLineA : kLineB; }

class WlanMaskTest : public MeasurementBench {
protected:
    void ScriptRecords(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) driver.Reply("SEM?", {Record(i)});
    }

    // Up to and including the "ML?" read.
    static Expected UpToPeak(const MaskVariant& v, const std::string& peakDelivered) {
        Expected e;
        e.Open("SEM Measurement...");
        e.Write({"SI", v.center, "SP 80MZ", "RL 0DB", v.sweep, "DET POS", "TS", "PS", "ML?"});
        e.Read(50, peakDelivered);
        return e;
    }
    // Then the mask, the measurement and the first `goodRecords` records with their lines.
    static void MaskAndRecords(Expected& e, const MaskVariant& v,
                               const std::vector<std::string>& segments, std::size_t goodRecords) {
        e.Write("SEMTDEL").Write(segments);
        e.Write({"SEMCBW 16.6MZ", v.referenceCalculation, "SEMNQST OFF", "PMEASAVG OFF", "SEMON",
                 "TS", "SEM?"});
        e.Log(kHeader);
        for (std::size_t i = 0; i < goodRecords; ++i) e.Read(200, Record(i)).Log(Line(i));
    }
};

struct GoodMaskCase {
    const MaskVariant* variant;
    std::string peakAnswer;
    std::vector<std::string> segments;
};

void PrintTo(const GoodMaskCase& c, std::ostream* os) { *os << c.segments.front(); }

class GoodMask : public WlanMaskTest, public ::testing::WithParamInterface<GoodMaskCase> {};

TEST_P(GoodMask, BuildsTheMaskOnThePeakAndLogsEveryRecord) {
    const auto& c = GetParam();
    driver.Reply("ML?", {c.peakAnswer});
    ScriptRecords(c.variant->records);
    EXPECT_EQ(c.variant->run(context), MeasurementOutcome::Completed);
    Expected e = UpToPeak(*c.variant, c.peakAnswer);
    MaskAndRecords(e, *c.variant, c.segments, c.variant->records);
    EXPECT_EQ(Merged(), e.Write(kClosing).Close().timeline);
    EXPECT_EQ(log.Text(), e.log);
}

INSTANTIATE_TEST_SUITE_P(
    PeakLevels, GoodMask,
    ::testing::Values(
        GoodMaskCase{&k11a, "-10.5\r\n", kMask11aAtMinus10_5},
        GoodMaskCase{&k11a, "3",
                     {"SEMTIN  0MZ,  9MZ, 100KZ,5DB,5DB,0DB, 0DB, ABS",
                      "SEMTIN  9MZ, 11MZ, 100KZ,5DB,-15DB,0DB, 0DB, ABS",
                      "SEMTIN 11MZ, 20MZ, 100KZ,-15DB,-23DB,0DB, 0DB, ABS",
                      "SEMTIN 20MZ, 30MZ, 100KZ,-23DB,-35DB,0DB, 0DB, ABS",
                      "SEMTIN 30MZ, 39MZ, 100KZ,-35DB,-35DB,0DB, 0DB, ABS"}},
        GoodMaskCase{&k11b, "-10.5\r\n", kMask11bAtMinus10_5}));

// A peak level that is no number stops the run before any mask goes out.
struct BadPeakCase {
    const MaskVariant* variant;
    std::vector<std::string> reads;
    std::string delivered;
    std::string reason;
};

void PrintTo(const BadPeakCase& c, std::ostream* os) { *os << c.reason; }

class BadPeak : public WlanMaskTest, public ::testing::WithParamInterface<BadPeakCase> {};

TEST_P(BadPeak, SetsBackWithoutAMask) {
    const auto& c = GetParam();
    driver.Reply("ML?", c.reads);
    EXPECT_EQ(c.variant->run(context), MeasurementOutcome::Failed);
    Expected e = UpToPeak(*c.variant, c.delivered);
    e.Log("SEM Measurement failed: " + c.reason + "\r\n").Write(kClosing).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadPeak,
    ::testing::Values(
        BadPeakCase{&k11a, {"-10.5 dBm\r\n"}, "-10.5 dBm\r\n",
                    "\"ML?\" answer is not a number: \"-10.5 dBm\""},
        BadPeakCase{&k11b, {"\x1b\x01-1"}, "\x1b\x01-1",
                    "\"ML?\" answer is not a number: \"\\x1B\\x01-1\""},
        BadPeakCase{&k11b, {}, "", "\"ML?\" answer did not arrive"}));

struct BadRowCase {
    const MaskVariant* variant;
    std::vector<std::string> segments;
    std::size_t goodRecords;
    std::string badRecord;
    std::string reason;
};

void PrintTo(const BadRowCase& c, std::ostream* os) { *os << c.reason; }

class BadRow : public WlanMaskTest, public ::testing::WithParamInterface<BadRowCase> {};

TEST_P(BadRow, StopsTheRowsThenSetsBack) {
    const auto& c = GetParam();
    driver.Reply("ML?", {"-10.5"});
    ScriptRecords(c.goodRecords);
    driver.Reply("SEM?", {c.badRecord});
    EXPECT_EQ(c.variant->run(context), MeasurementOutcome::Failed);
    Expected e = UpToPeak(*c.variant, "-10.5");
    MaskAndRecords(e, *c.variant, c.segments, c.goodRecords);
    e.Read(200, c.badRecord).Log("SEM Measurement failed: " + c.reason + "\r\n");
    EXPECT_EQ(Merged(), e.Write(kClosing).Close().timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadRow,
    ::testing::Values(
        // Seven fields are needed: the verdict is one of them.
        BadRowCase{&k11a, kMask11aAtMinus10_5, 3, "3,1,2,3,-4,-5\r\n",
                   "\"SEM?\" record 4 of 10 has 6 fields, 7 expected"},
        BadRowCase{&k11b, kMask11bAtMinus10_5, 1,
                   "1,9000000,11000000,10000000,-70.5,n/a,FAIL\r\n",
                   "\"SEM?\" record 2 of 6 field 5 is not a number: \"n/a\""}));

TEST_F(WlanMaskTest, RefusedSegmentStopsAllTraffic) {
    const std::string refused = kMask11aAtMinus10_5[2];
    driver.Reply("ML?", {"-10.5"});
    driver.FailWrite(refused);
    EXPECT_EQ(WlanEmissionMask11a(context), MeasurementOutcome::Failed);
    Expected e = UpToPeak(k11a, "-10.5");
    e.Write("SEMTDEL").Write(kMask11aAtMinus10_5.begin(), kMask11aAtMinus10_5.begin() + 3);
    e.Log("SEM Measurement failed: \"" + refused +
          "\" was not accepted (driver error ENOL (2))\r\n");
    EXPECT_EQ(Merged(), e.Close().timeline);
}

}  // namespace
}  // namespace kelvane::testing
