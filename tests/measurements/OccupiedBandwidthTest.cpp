#include "measurements/3gpp/OccupiedBandwidth.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

const std::vector<std::string> kSetUp{
    "SI", "SP 10e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 30e3HZ; VB 30e3HZ", "AS", "DET POS",
    "OBWPER 99", "OBWON", "AGSGL", "AG 10", "AGR", "CONTS"};
const std::vector<std::string> kClosing{"OBWON OFF", "AGS"};
const std::string kTitle = "OBW Measurement...";
const std::string kBandwidthLine = "OBW = 4.151MHz\r\n";
const std::string kCenterLine = "OBW CF = 2140.012MHz\r\n";

class OccupiedBandwidthTest : public MeasurementBench {
protected:
    MeasurementOutcome Run() {
        const double measF = 2000000000.0;
        const double measRef = 0.0;
        return OccupiedBandwidth(context, measF, measRef);
    }

    // Everything up to the answer: set-up, wait, query and its one read.
    static Expected UpToAnswer(const std::string& delivered) {
        Expected e;
        e.Open(kTitle).Write(kSetUp).QuickWait("OPR 256").Write("OBW?").Read(50, delivered);
        return e;
    }
};

// The bandwidth (field 1) is logged before the band's center (field 0); fields after the
// second change nothing.
class GoodObw : public OccupiedBandwidthTest,
                public ::testing::WithParamInterface<std::string> {};

TEST_P(GoodObw, SetsBackThenLogsBandwidthThenCenter) {
    EndAtOnce();
    driver.Reply("OBW?", {GetParam()});
    EXPECT_EQ(Run(), MeasurementOutcome::Completed);
    Expected e = UpToAnswer(GetParam());
    e.Write(kClosing).Log(kBandwidthLine).Log(kCenterLine).Close();
    EXPECT_EQ(Merged(), e.timeline);
    EXPECT_EQ(log.Text(), "\r\nOBW Measurement...\r\n" + kBandwidthLine + kCenterLine);
}

INSTANTIATE_TEST_SUITE_P(Answers, GoodObw,
                         ::testing::Values("2140012345,4151234", "2140012345,4151234\r\n",
                                           " 2.140012345E9 ,4151234,99,x\n"));

struct BadObwCase {
    std::vector<std::string> reads;
    std::string delivered;
    std::string reason;
};

void PrintTo(const BadObwCase& c, std::ostream* os) { *os << c.reason; }

class BadObw : public OccupiedBandwidthTest, public ::testing::WithParamInterface<BadObwCase> {};

// Closing commands went out before the answer was examined; nothing is left to send.
TEST_P(BadObw, FailsAfterSettingBack) {
    const auto& c = GetParam();
    EndAtOnce();
    driver.Reply("OBW?", c.reads);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e = UpToAnswer(c.delivered);
    e.Write(kClosing).Log("OBW Measurement failed: " + c.reason + "\r\n").Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadObw,
    ::testing::Values(
        BadObwCase{{}, "", "\"OBW?\" answer did not arrive"},
        BadObwCase{{"2140012345\r\n"}, "2140012345\r\n",
                   "\"OBW?\" answer has 1 field, 2 expected"},
        BadObwCase{{"CF?,4151234"}, "CF?,4151234",
                   "\"OBW?\" answer field 0 is not a number: \"CF?\""},
        BadObwCase{{"2140012345,4.15MHz"}, "2140012345,4.15MHz",
                   "\"OBW?\" answer field 1 is not a number: \"4.15MHz\""}));

TEST_F(OccupiedBandwidthTest, WaitTimeOutStillQueriesThenWarns) {
    NeverEnd();
    driver.Reply("OBW?", {"2140012345,4151234"});
    EXPECT_EQ(Run(), MeasurementOutcome::Warning);
    Expected e;
    e.Open(kTitle).Write(kSetUp).TimedOutWait("OPR 256").Write("OBW?");
    e.Read(50, "2140012345,4151234").Write(kClosing).Log(kBandwidthLine).Log(kCenterLine);
    e.Log(kTimeOutWarning).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

// A bad answer after a troubled wait is a failure; the wait's warning follows as its likely cause.
TEST_F(OccupiedBandwidthTest, BadAnswerAfterTimeOutKeepsTheWarning) {
    NeverEnd();
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    EXPECT_EQ(log.Text(), "\r\nOBW Measurement...\r\n"
                          "OBW Measurement failed: \"OBW?\" answer did not arrive\r\n" +
                              std::string(kTimeOutWarning));
}

}  // namespace
}  // namespace kelvane::testing
