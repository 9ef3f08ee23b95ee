// Channel power (W-CDMA) and total power (802.11b): one query, one power line.
#include "measurements/3gpp/ChannelPower.h"
#include "measurements/wlan/TotalPower11b.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

const std::vector<std::string> kChPowerSetUp{
    "SI", "SP 10e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 300e3HZ VB 300e3HZ", "AS", "DETAA ON",
    "WLX 2000000000HZ", "WDX 3840000HZ", "PWCHON", "PMEASAVGONCE ONCE", "PWCHTM 10",
    "PMEASAVG ON", "CONTS"};
const std::vector<std::string> kChPowerClosing{"PMEASOFF", "PMEASAVGOFF"};

const std::vector<std::string> kTotalPowerSetUp{
    "SI", "SP 40MZ", "CF 2412000000HZ", "RL 0DB", "RB 300KZ; VB 300KZ", "SW 1SC", "DETAA ON",
    "PWTOTALON", "TS", "PWTOTAL?"};
const std::vector<std::string> kTotalPowerClosing{"PMEASOFF", "PMEASAVGOFF", "CONTS"};

const std::string kTitle = "CH Power Measurement...";

class ChannelPowerTest : public MeasurementBench {
protected:
    MeasurementOutcome Run() {
        const double measF = 2000000000.0;
        const double measRef = 0.0;
        return ChannelPower(context, measF, measRef);
    }
};

struct PowerCase {
    std::string answer;  // what the analyzer sends
    std::string shown;   // the number in the result line
};

void PrintTo(const PowerCase& c, std::ostream* os) { *os << c.answer; }

class ChannelPowerAnswers : public ChannelPowerTest,
                            public ::testing::WithParamInterface<PowerCase> {};

TEST_P(ChannelPowerAnswers, SetsBackThenLogsTheLeadingNumber) {
    const auto& c = GetParam();
    EndAtOnce();
    driver.Reply("PWCH?", {c.answer});
    EXPECT_EQ(Run(), MeasurementOutcome::Completed);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp).QuickWait("OPR 16").Write("PWCH?").Read(50, c.answer);
    e.Write(kChPowerClosing).Log("ChPower = " + c.shown + "dBm\r\n").Close();
    EXPECT_EQ(Merged(), e.timeline);
    EXPECT_EQ(log.Text(), e.log);
}

INSTANTIATE_TEST_SUITE_P(Answers, ChannelPowerAnswers,
                         ::testing::Values(PowerCase{"-23.456\r\n", "-23.46"},
                                           PowerCase{"12345.678", "12345.68"},
                                           PowerCase{"0.5,-3.2,OK\n", "0.50"}));

TEST_F(ChannelPowerTest, WaitTimeOutStillQueriesThenWarns) {
    NeverEnd();
    driver.Reply("PWCH?", {"-7.125"});
    EXPECT_EQ(Run(), MeasurementOutcome::Warning);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp).TimedOutWait("OPR 16").Write("PWCH?").Read(50, "-7.125");
    e.Write(kChPowerClosing).Log("ChPower = -7.13dBm\r\n").Log(kTimeOutWarning).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

TEST_F(ChannelPowerTest, ErrorFlaggedInTheWaitWarnsAfterTheResult) {
    EndWithError();
    driver.Reply("PWCH?", {"-7.125"});
    EXPECT_EQ(Run(), MeasurementOutcome::Warning);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp).ErrorWait("OPR 16").Write("PWCH?").Read(50, "-7.125");
    e.Write(kChPowerClosing).Log("ChPower = -7.13dBm\r\n").Log(kErrorWarning).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

// An answer without a power is a failure, never "ChPower = 0.00dBm"; the analyzer is still set
// back.
struct BadPowerCase {
    std::vector<std::string> reads;  // none: the read times out empty
    std::string delivered;
    std::string reason;
};

void PrintTo(const BadPowerCase& c, std::ostream* os) { *os << c.reason; }

const std::vector<BadPowerCase> kBadChPower{
    {{}, "", "\"PWCH?\" answer did not arrive"},
    {{"ERR\r\n"}, "ERR\r\n", "\"PWCH?\" answer does not start with a number: \"ERR\""},
    {{",-3"}, ",-3", "\"PWCH?\" answer does not start with a number: \",-3\""},
};

class BadChannelPower : public ChannelPowerTest,
                        public ::testing::WithParamInterface<BadPowerCase> {};

TEST_P(BadChannelPower, FailsAndSetsBack) {
    const auto& c = GetParam();
    EndAtOnce();
    driver.Reply("PWCH?", c.reads);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp).QuickWait("OPR 16").Write("PWCH?").Read(50, c.delivered);
    e.Log("CH Power Measurement failed: " + c.reason + "\r\n").Write(kChPowerClosing).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(Answers, BadChannelPower, ::testing::ValuesIn(kBadChPower));

TEST_F(ChannelPowerTest, RefusedWriteStopsAllTraffic) {
    driver.FailWrite("RB 300e3HZ VB 300e3HZ");
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp.begin(), kChPowerSetUp.begin() + 5);
    e.Log("CH Power Measurement failed: \"RB 300e3HZ VB 300e3HZ\" was not accepted "
          "(driver error ENOL (2))\r\n");
    EXPECT_EQ(Merged(), e.Close().timeline);
}

TEST_F(ChannelPowerTest, RefusedWriteInsideTheWaitStopsTheRun) {
    driver.FailWrite("*STB?", kErrorEabo);
    EXPECT_EQ(Run(), MeasurementOutcome::Failed);
    Expected e;
    e.Open(kTitle).Write(kChPowerSetUp).Write({"*CLS", "OPR 16", "*SRE 160", "*STB?"});
    e.Log("CH Power Measurement failed: \"*STB?\" was not accepted (driver error EABO (6))\r\n");
    EXPECT_EQ(Merged(), e.Close().timeline);
}

class TotalPowerTest : public MeasurementBench {};

TEST_F(TotalPowerTest, SetsBackThenLogsThePower) {
    driver.Reply("PWTOTAL?", {"-23.456,dBm\r\n"});
    EXPECT_EQ(TotalPower11b(context), MeasurementOutcome::Completed);
    Expected e;
    e.Open(kTitle).Write(kTotalPowerSetUp).Read(50, "-23.456,dBm\r\n").Write(kTotalPowerClosing);
    e.Log("ChPower = -23.46dBm\r\n").Close();
    EXPECT_EQ(Merged(), e.timeline);
    EXPECT_EQ(log.Text(), "\r\nCH Power Measurement...\r\nChPower = -23.46dBm\r\n");
}

class BadTotalPower : public TotalPowerTest,
                      public ::testing::WithParamInterface<BadPowerCase> {};

TEST_P(BadTotalPower, FailsAndSetsBack) {
    const auto& c = GetParam();
    driver.Reply("PWTOTAL?", c.reads);
    EXPECT_EQ(TotalPower11b(context), MeasurementOutcome::Failed);
    Expected e;
    e.Open(kTitle).Write(kTotalPowerSetUp).Read(50, c.delivered);
    e.Log("CH Power Measurement failed: " + c.reason + "\r\n").Write(kTotalPowerClosing).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadTotalPower,
    ::testing::Values(
        BadPowerCase{{}, "", "\"PWTOTAL?\" answer did not arrive"},
        BadPowerCase{{"\r\n"}, "\r\n", "\"PWTOTAL?\" answer does not start with a number: \"\""},
        BadPowerCase{{"1e999\n"}, "1e999\n",
                     "\"PWTOTAL?\" answer does not start with a number: \"1e999\""}));

}  // namespace
}  // namespace kelvane::testing
