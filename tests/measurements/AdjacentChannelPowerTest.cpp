#include "measurements/3gpp/AdjacentChannelPower.h"
#include "tests/measurements/MeasurementBench.h"

namespace kelvane::testing {
namespace {

const std::vector<std::string> kSetUp{
    "SI", "SP 25e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 30e3HZ; VB 30e3HZ", "AS", "ACPSCR CARR",
    "CARRBS 3.84MZ", "CSBSDEL", "CSBSIN 5MZ,3.84MZ", "CSBSIN 10MZ,3.84MZ", "DETAA ON", "ACP",
    "AGSGL", "AG 10", "AGR", "CONTS"};
const std::vector<std::string> kClosing{"DETAA ON", "AGS", "ACP OFF"};
const std::string kTitle = "ACP Measurement...";

// Answer 0 is never looked at; answer 2 carries more fields than are used.
const std::vector<std::string> kOffsetAnswers{
    "99,junk\r\n", "-5000000,-45.2,5000000,-45.31\r\n", "-10000000,-60.456,10000000,-61.5,7,8\n"};
const std::string kCarrierAnswer = "-1.5\r\n";
const std::string kLine5 = "ACP ( -5M, +5M) = -5.00MHz -45.20dB : 5.00MHz -45.31dB\r\n";
const std::string kLine10 = "ACP (-10M,+10M) = -10.00MHz -60.46dB : 10.00MHz -61.50dB\r\n";
const std::string kCarrierLine = "ACP (Carr pow.) = -1.50dBm\r\n";

class AdjacentChannelPowerTest : public MeasurementBench {
protected:
    MeasurementOutcome Run(const std::vector<std::string>& offsetReads,
                           const std::vector<std::string>& carrierReads) {
        driver.Reply("ACP?", offsetReads);
        driver.Reply("ACPREF?", carrierReads);
        const double measF = 2000000000.0;
        const double measRef = 0.0;
        return AdjacentChannelPower(context, measF, measRef);
    }

    // Set-up, a wait of the given kind, three reads of "ACP?", one of "ACPREF?", and the
    // closing commands; reads beyond the scripted ones arrive empty.
    static Expected UpToLines(const std::vector<std::string>& offsetReads,
                              const std::vector<std::string>& carrierReads,
                              bool errorWait = false) {
        const auto delivered = [](const std::vector<std::string>& reads, std::size_t i) {
            return i < reads.size() ? reads[i] : std::string();
        };
        Expected e;
        e.Open(kTitle).Write(kSetUp);
        if (errorWait) e.ErrorWait("OPR 256");
        else e.QuickWait("OPR 256");
        e.Write("ACP?");
        for (std::size_t i = 0; i < 3; ++i) e.Read(100, delivered(offsetReads, i));
        e.Write({"MO", "ACPREF?"}).Read(100, delivered(carrierReads, 0));
        e.Write(kClosing);
        return e;
    }
};

TEST_F(AdjacentChannelPowerTest, SetsBackThenLogsThreeLines) {
    EndAtOnce();
    EXPECT_EQ(Run(kOffsetAnswers, {kCarrierAnswer}), MeasurementOutcome::Completed);
    Expected e = UpToLines(kOffsetAnswers, {kCarrierAnswer});
    e.Log(kLine5).Log(kLine10).Log(kCarrierLine).Close();
    EXPECT_EQ(Merged(), e.timeline);
    EXPECT_EQ(log.Text(), "\r\nACP Measurement...\r\n" + kLine5 + kLine10 + kCarrierLine);
}

TEST_F(AdjacentChannelPowerTest, ErrorFlaggedInTheWaitWarnsAfterTheResults) {
    EndWithError();
    EXPECT_EQ(Run(kOffsetAnswers, {kCarrierAnswer}), MeasurementOutcome::Warning);
    Expected e = UpToLines(kOffsetAnswers, {kCarrierAnswer}, true);
    e.Log(kLine5).Log(kLine10).Log(kCarrierLine).Log(kErrorWarning).Close();
    EXPECT_EQ(Merged(), e.timeline);
}

struct BadAcpCase {
    std::vector<std::string> offsetReads;
    std::vector<std::string> carrierReads;
    std::vector<std::string> linesBefore;  // result lines logged before the failure
    std::string reason;
};

void PrintTo(const BadAcpCase& c, std::ostream* os) { *os << c.reason; }

class BadAcp : public AdjacentChannelPowerTest, public ::testing::WithParamInterface<BadAcpCase> {};

// The closing commands went out before the answers were examined; lines already logged stay.
TEST_P(BadAcp, FailsAfterTheGoodLines) {
    const auto& c = GetParam();
    EndAtOnce();
    EXPECT_EQ(Run(c.offsetReads, c.carrierReads), MeasurementOutcome::Failed);
    Expected e = UpToLines(c.offsetReads, c.carrierReads);
    for (const auto& line : c.linesBefore) e.Log(line);
    e.Log("ACP Measurement failed: " + c.reason + "\r\n").Close();
    EXPECT_EQ(Merged(), e.timeline);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadAcp,
    ::testing::Values(
        BadAcpCase{{"0", "-5000000,-45.2\r\n", kOffsetAnswers[2]}, {kCarrierAnswer}, {},
                   "\"ACP?\" answer 1 has 2 fields, 4 expected"},
        BadAcpCase{{"0", kOffsetAnswers[1], "-10000000,-60.456,+10 MHz,-61.5"}, {kCarrierAnswer},
                   {kLine5}, "\"ACP?\" answer 2 field 2 is not a number: \"+10 MHz\""},
        BadAcpCase{{"0", "-5000000,-45.2,5000000,-45.31dB\r\n", kOffsetAnswers[2]},
                   {kCarrierAnswer}, {},
                   "\"ACP?\" answer 1 field 3 is not a number: \"-45.31dB\""},
        BadAcpCase{kOffsetAnswers, {"OVLD\r\n"}, {kLine5, kLine10},
                   "\"ACPREF?\" answer is not a number: \"OVLD\""},
        BadAcpCase{kOffsetAnswers, {}, {kLine5, kLine10}, "\"ACPREF?\" answer did not arrive"},
        BadAcpCase{{"0"}, {kCarrierAnswer}, {}, "\"ACP?\" answer 1 did not arrive"}));

}  // namespace
}  // namespace kelvane::testing
