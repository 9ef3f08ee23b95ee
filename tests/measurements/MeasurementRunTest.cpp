// Each measurement with good answers, then with the faults of the table below: answers missing,
// cut short, malformed or not numbers, writes the bus refuses, waits that end badly.
#include <algorithm>
#include <iterator>
#include <ostream>

#include <gtest/gtest.h>

#include "analyzer/GpibRegistrationFailure.h"
#include "measurements/NumberForms.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane::testing::runs {

namespace {

const Golden& GoldenRun(const std::string& name) {
    return *std::find_if(GoldenRuns().begin(), GoldenRuns().end(),
                         [&](const Golden& golden) { return golden.name == name; });
}

class EachMeasurement : public ::testing::TestWithParam<Golden> {};

// Every command, read and log text in its place: e.g. "OBW?" and "ACP?" answers are logged only
// after the closing commands, each mask line before the next record is read.
TEST_P(EachMeasurement, RunsAsScripted) {
    RunFixture fixture(GetParam().script);
    EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Completed);
    EXPECT_EQ(fixture.timeline, GetParam().run);
}

// The title, then the failure; no command; the board taken offline (the device has no
// descriptor). A board or driver that is not set up gets advice instead of the bare error.
TEST_P(EachMeasurement, UnopenableAnalyzerGetsNoCommand) {
    const std::string board =
        "the PC's GPIB board 0 or its driver is not set up, so the analyzer was never reached "
        "(driver error ";
    const std::string advice =
        "). Check that the GPIB driver is installed and configured for board 0 and that its "
        "device file is present and accessible.";
    const std::vector<std::pair<std::int32_t, std::string>> cases{
        {kErrorEneb, board + "ENEB (7)" + advice},
        {kErrorEdvr, board + "EDVR (0)" + advice},
        {kErrorEnol, "ibdev could not open the analyzer (driver error ENOL (2))"}};
    for (const auto& [error, reason] : cases) {
        RunFixture fixture(GetParam().script);
        fixture.driver.FailIbdev(error);
        EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Failed);
        const Lines closed{Fail(GetParam().title, reason), "ibonl(0, 0)"};
        EXPECT_EQ(fixture.timeline, Open(GetParam().title) + closed);
    }
}

TEST_P(EachMeasurement, FailedRegistrationEndsWithoutAnotherDriverCall) {
    RunFixture fixture(GetParam().script);
    fixture.driver.SetRegistrationResult(3);
    EXPECT_THROW(fixture.Run(GetParam().name), GpibRegistrationFailure);
    EXPECT_EQ(fixture.timeline,
              (Lines{"RegisterGpibGlobalsForThread()", "UnregisterGpibGlobalsForThread()"}));
    EXPECT_EQ(fixture.messages.size(), 1U);
}

// The result holds what the log shows: every logged number at full precision (rounded as the
// log rounds it, it is the logged text), the log text itself, the carrier and the mask sent.
TEST_P(EachMeasurement, ResultHoldsTheLoggedValuesAtFullPrecision) {
    RunFixture fixture(GetParam().script);
    fixture.Run(GetParam().name);
    const MeasurementResult& result = fixture.result;
    std::string log;
    for (const auto& entry : fixture.timeline)
        if (entry.starts_with("log: ")) log += entry.substr(5);
    EXPECT_EQ(result.log, log);
    EXPECT_EQ(result.title, GetParam().title + " Measurement...");
    EXPECT_EQ(result.message, "");
    const std::map<std::string, std::vector<std::string>> names{
        {"ch-power", {"channel_power"}},
        {"obw", {"occupied_bandwidth", "occupied_band_center"}},
        {"acp",
         {"acp_lower_5mhz", "acp_upper_5mhz", "acp_lower_10mhz", "acp_upper_10mhz",
          "carrier_power"}},
        {"sem", {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6", "row_7", "row_8"}},
        {"sem-11a",
         {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6", "row_7", "row_8", "row_9",
          "row_10"}},
        {"sem-11b", {"row_1", "row_2", "row_3", "row_4", "row_5", "row_6"}},
        {"total-power-11b", {"total_power"}}};
    std::vector<std::string> recorded;
    for (const auto& value : result.values) {
        recorded.push_back(value.name);
        // As the log shows it: frequencies in MHz with 3 (OBW) or 2 decimals, levels with 2.
        const bool hertz = value.unit == "Hz";
        const std::string shown =
            PatternNumber(hertz ? value.value / 1e6 : value.value,
                          value.name.starts_with("occupied") ? "0.000" : "0.00");
        EXPECT_NE(log.find(shown + (hertz ? "MHz" : value.unit)), std::string::npos)
            << value.name << " " << shown;
        if (value.row) {
            EXPECT_EQ(value.value, value.row->levelDbm);
            EXPECT_NE(log.find(PatternNumber(value.row->startHz / 1e6, "0.00") + "MHz---" +
                               PatternNumber(value.row->stopHz / 1e6, "0.00") + "MHz, " +
                               PatternNumber(value.row->frequencyHz / 1e6, "0.00") + "MHz"),
                      std::string::npos)
                << value.name;
            EXPECT_EQ(value.row->analyzerPassed.has_value(), GetParam().name != "sem");
        }
    }
    EXPECT_EQ(recorded, names.at(GetParam().name));
    const double center = GetParam().name == "sem-11a"                       ? 5005e6
                          : GetParam().name.find("11b") != std::string::npos ? 2412e6
                                                                             : 2000e6;
    EXPECT_EQ(result.centerHz, center);
    EXPECT_EQ(result.mask.size(), GetParam().name == "sem"       ? 4u
                                  : GetParam().name == "sem-11a" ? 5u
                                  : GetParam().name == "sem-11b" ? 3u
                                                                 : 0u);
}

// The numbers exactly as the answers carried them, and the masks as they were sent.
TEST(MeasurementResult, ValuesAndMasksAsSent) {
    const auto values = [](const std::string& name) {
        RunFixture fixture(GoldenRun(name).script);
        fixture.Run(name);
        return fixture.result;
    };
    const auto obw = values("obw");
    EXPECT_EQ(obw.values[0], (MeasuredValue{"occupied_bandwidth", 4151234, "Hz", {}}));
    EXPECT_EQ(obw.values[1], (MeasuredValue{"occupied_band_center", 2140012345, "Hz", {}}));
    const auto acp = values("acp");
    std::vector<double> acpValues;
    for (const auto& value : acp.values) acpValues.push_back(value.value);
    EXPECT_EQ(acpValues, (std::vector<double>{-45.2, -45.31, -60.456, -61.5, -1.5}));
    EXPECT_EQ(values("ch-power").values[0].value, -23.456);
    const auto sem = values("sem");
    EXPECT_EQ(sem.values[1].row, (MaskRow{5e6, 6e6, 5.5e6, -60.456, -100.5, std::nullopt}));
    EXPECT_EQ(sem.mask, (std::vector<MaskSegment>{{2.515e6, 2.715e6, -14, -14},
                                                  {2.715e6, 3.515e6, -14, -26},
                                                  {3.515e6, 4.0e6, -26, -26},
                                                  {4.0e6, 8.0e6, -13, -13}}));
    const auto wlan = values("sem-11a");  // peak -10.5 dBm, raised by 2 dB
    EXPECT_EQ(wlan.values[1].row, (MaskRow{9e6, 11e6, 10e6, -70.5, -66.25, false}));
    EXPECT_EQ(wlan.mask, (std::vector<MaskSegment>{{0, 9e6, -8.5, -8.5},
                                                   {9e6, 11e6, -8.5, -28.5},
                                                   {11e6, 20e6, -28.5, -36.5},
                                                   {20e6, 30e6, -36.5, -48.5},
                                                   {30e6, 39e6, -48.5, -48.5}}));
    EXPECT_EQ(values("sem-11b").mask[2], (MaskSegment{22e6, 39e6, -45, -45}));
}

// A failed run keeps the values logged before the failure, and its failure line as its message.
TEST(MeasurementResult, AFailedRunKeepsWhatWasLogged) {
    Script script = GoldenRun("acp").script;
    script["ACP?"] = {"0", kAcp1, "-10000000,-60.456,+10 MHz,-61.5"};
    RunFixture fixture(script);
    EXPECT_EQ(fixture.Run("acp"), MeasurementOutcome::Failed);
    ASSERT_EQ(fixture.result.values.size(), 2u);
    EXPECT_EQ(fixture.result.values[1], (MeasuredValue{"acp_upper_5mhz", -45.31, "dB", {}}));
    EXPECT_EQ(fixture.result.message,
              "ACP Measurement failed: \"ACP?\" answer 2 field 2 is not a number: \"+10 MHz\"");
    EXPECT_TRUE(fixture.result.log.ends_with(fixture.result.message + "\r\n"));
}

// Another bench: the carriers, the reference level and the address go into CF, RL, WLX, ibdev
// and the board's ibonl; nothing else of the run changes.
TEST_P(EachMeasurement, FollowsTheSetUpInCfRlWlxAndTheAddressOnly) {
    RunFixture fixture(GetParam().script);
    fixture.context.setup = {2140e6, 5180e6, 2462.5e6, -10.5, {1, 18}};
    EXPECT_EQ(fixture.Run(GetParam().name), MeasurementOutcome::Completed);
    const std::map<std::string, std::string> moved{
        {"ibdev(0, 8, 0, 13, 1, 0)", "ibdev(1, 18, 0, 13, 1, 0)"},
        {"ibonl(0, 0)", "ibonl(1, 0)"},
        {"CF 2000000000HZ", "CF 2140000000HZ"},
        {"WLX 2000000000HZ", "WLX 2140000000HZ"},
        {"CF 5005000000HZ", "CF 5180000000HZ"},
        {"CF 2412000000HZ", "CF 2462500000HZ"},
        {"RL 0DB", "RL -10.5DB"},
    };
    Lines expected = GetParam().run;
    for (auto& entry : expected)
        if (const auto found = moved.find(entry); found != moved.end()) entry = found->second;
    EXPECT_EQ(fixture.timeline, expected);
}

INSTANTIATE_TEST_SUITE_P(Catalog, EachMeasurement, ::testing::ValuesIn(GoldenRuns()));

TEST(MeasurementCatalog, HoldsTheSevenInWindowOrder) {
    ASSERT_EQ(MeasurementCatalog().size(), GoldenRuns().size());
    for (std::size_t i = 0; i < GoldenRuns().size(); ++i)
        EXPECT_EQ(MeasurementCatalog()[i].name, GoldenRuns()[i].name);
}

// A failed run follows its golden run (with the new answers) up to the refused command or the
// first read that changed, or up to the golden entry `until`; then come the failure line, the
// closing commands when the bad answer was checked as it arrived, and `last`. Any other run is
// the golden run with the new answers and `edits`, then `last`. Then the session is closed.
struct Fault {
    MeasurementOutcome outcome;
    std::string name;
    Script replies;  // in place of the golden answers to these queries
    std::string reason;
    std::string until;
    std::string refused;  // a command whose write fails with ENOL
    Lines last;
    std::map<std::string, Lines> edits;  // golden entries and what happens in their place
};

void PrintTo(const Fault& fault, std::ostream* os) { *os << fault.name << ": " << fault.reason; }

constexpr auto kFailed = MeasurementOutcome::Failed;
constexpr auto kWarning = MeasurementOutcome::Warning;
constexpr auto kCompleted = MeasurementOutcome::Completed;

const std::string kTimedOut =
    "log: Warning: the analyzer did not report the end of the measurement within 10 s.\r\n";
const std::string kFlagged =
    "log: Warning: the analyzer reported an error during the measurement (event status 16).\r\n";
// The answers to `query` are `replies`; the failure line names "<query> <reason>".
Fault Bad(const std::string& name, const std::string& query, const Lines& replies,
          const std::string& reason, const std::string& until = "") {
    return {kFailed, name, {{query, replies}}, "\"" + query + "\" " + reason, until, "", {}, {}};
}
const std::string kCheck = "check that the analyzer is on, at GPIB address 8, and cabled";
// No listener took the command: the failure line says what to check.
Fault Refused(const std::string& name, const std::string& command) {
    return {kFailed, name,
            {},      "\"" + command + "\" was not accepted (driver error ENOL (2)): " + kCheck,
            "",      command,
            {},      {}};
}
// A read of `query` that timed out without a byte: the run stops there, naming the query; the
// closing commands follow (given as `last` when the run stops before the golden entry `until`).
Fault NoAnswer(const std::string& name, const std::string& query, const Lines& replies,
               const std::string& until = "", const Lines& last = {},
               const std::map<std::string, Lines>& edits = {}) {
    return {kFailed,
            name,
            {{query, replies}},
            "no answer to \"" + query + "\" within 10 s: " + kCheck,
            until,
            "",
            last,
            edits};
}
Fault Passes(MeasurementOutcome outcome, const std::string& name, const Script& replies,
             const Lines& last = {}, const std::map<std::string, Lines>& edits = {}) {
    return {outcome, name, replies, "", "", "", last, edits};
}

const std::string kUnreadable =
    "log: Warning: the analyzer flagged an event but its event status could not be read.\r\n";
// "*STB?" flags an event and "*ESR?" answers `esr`.
const Script Flagged(const std::string& esr) { return {{"*STB?", {"160"}}, {"*ESR?", {esr}}}; }
const std::map<std::string, Lines> FlaggedEdit(const std::string& esr) {
    return {{"<10 160", {"<10 160", "*ESR?", "<10 " + Delivered(esr)}}};
}
const std::string kLong(200, 'x');  // no comma, longer than any buffer
const std::string kNul(1, '\0');
const std::string kNoNumber = "answer does not start with a number: ";
const std::string kObw = "log: OBW = 4.151MHz\r\n";  // the first result line

const std::vector<Fault> kFaults{
    // A power the analyzer never reported is a failure, never "0.00dBm".
    NoAnswer("ch-power", "PWCH?", {kSilent}),
    Bad("ch-power", "PWCH?", {"ERR\r\n"}, kNoNumber + "\"ERR\""),
    // Part of an answer is not the answer: too long for the buffer, or cut off by the driver.
    Bad("ch-power", "PWCH?", {"-1.022" + std::string(50, '0') + "e1"},
        "answer was longer than 50 bytes"),
    Bad("ch-power", "PWCH?", {std::string(310, '9')}, "answer was longer than 50 bytes"),
    Bad("ch-power", "PWCH?", {Stopping("-10.2")},
        "answer stopped after 5 bytes (driver error EABO (6))"),
    Bad("ch-power", "PWCH?", {"0x10"}, "answer is not a number: \"0x10\""),
    Bad("ch-power", "PWCH?", {"1.2.3\n"}, "answer is not a number: \"1.2.3\""),
    Bad("ch-power", "PWCH?", {"1e"}, "answer is not a number: \"1e\""),
    Bad("ch-power", "PWCH?", {"-10.2 5\r\n"}, "answer is not a number: \"-10.2 5\""),
    Bad("ch-power", "PWCH?", {"1e999\r\n"}, kNoNumber + "\"1e999\""),
    // The bytes delivered are the answer: a NUL inside them does not end the number.
    Bad("ch-power", "PWCH?", {"-10.2" + kNul + "047,0\n"},
        R"(answer is not a number: "-10.2\x00047,0")"),
    Bad("ch-power", "PWCH?", {"-10.2047" + kNul + "77\n"},
        R"(answer is not a number: "-10.2047\x0077")"),
    Passes(kCompleted, "ch-power", {{"PWCH?", {"-10.2047,0\n"}}}, {},
           {{"log: ChPower = -23.46dBm\r\n", {"log: ChPower = -10.20dBm\r\n"}}}),
    Passes(kCompleted, "ch-power", {{"PWCH?", {"0.5,-3.2,OK\n"}}}, {},
           {{"log: ChPower = -23.46dBm\r\n", {"log: ChPower = 0.50dBm\r\n"}}}),
    // A status query without an answer ends the wait and the run: no query follows it, and the
    // wait's time limit is not blamed.
    NoAnswer("ch-power", "*STB?", {}),
    Passes(kWarning, "ch-power", {{"*STB?", {"32"}}, {"*ESR?", {"16"}}}, {kFlagged},
           {{"<10 32", {"<10 32", "*ESR?", "<10 16"}}}),
    // An event flagged whose status cannot be read is no clean end.
    Passes(kWarning, "ch-power", Flagged("nan"), {kUnreadable}, FlaggedEdit("nan")),
    Passes(kWarning, "ch-power", Flagged("-1"), {kUnreadable}, FlaggedEdit("-1")),
    Passes(kWarning, "ch-power", Flagged("1e309"), {kUnreadable}, FlaggedEdit("1e309")),
    Fault{kFailed,
          "ch-power",
          Flagged(kSilent),
          "no answer to \"*ESR?\" within 10 s: " + kCheck,
          "PWCH?",
          "",
          {"PMEASOFF", "PMEASAVGOFF"},
          FlaggedEdit(kSilent)},
    Refused("ch-power", "RB 300e3HZ VB 300e3HZ"),
    Refused("ch-power", "*STB?"),
    NoAnswer("total-power-11b", "PWTOTAL?", {kSilent}),
    Bad("total-power-11b", "PWTOTAL?", {"\r\n"}, kNoNumber + "\"\""),
    Bad("total-power-11b", "PWTOTAL?", {"-10.2" + kNul + "047,0\n"},
        R"(answer is not a number: "-10.2\x00047,0")"),
    Refused("total-power-11b", "PWTOTALON"),

    // "OBW?" and "ACP?" answers are looked at after the closing commands.
    // A read that ended wrong fails at once; a bad field is seen after the closing commands.
    NoAnswer("obw", "OBW?", {kSilent}),
    Bad("obw", "OBW?", {Stopping("2000003125,41")},
        "answer stopped after 13 bytes (driver error EABO (6))"),
    NoAnswer("obw", "*STB?", {}),
    Bad("obw", "OBW?", {"2140012345\r\n"}, "answer has 1 field, 2 expected", kObw),
    Bad("obw", "OBW?", {"21400" + kNul + "12345,4151234"},
        R"(answer field 0 is not a number: "21400\x0012345")", kObw),
    Bad("obw", "OBW?", {"2140012345,4.15MHz"}, "answer field 1 is not a number: \"4.15MHz\"", kObw),
    Refused("obw", "OBWPER 99"),
    Bad("acp", "ACP?", {"0", "-5000000,-45.2\r\n", kAcp2}, "answer 1 has 2 fields, 4 expected",
        kAcpLines[0]),
    Bad("acp", "ACP?", {"0", "-5000000,-45.2,5000000,-45.31dB\r\n", kAcp2},
        "answer 1 field 3 is not a number: \"-45.31dB\"", kAcpLines[0]),
    NoAnswer("acp", "ACP?", {"99,junk\r\n", kSilent, kAcp2}),
    Bad("acp", "ACP?", {"0", kAcp1, "-10000000,-60.456,+10 MHz,-61.5"},
        "answer 2 field 2 is not a number: \"+10 MHz\"", kAcpLines[1]),
    NoAnswer("acp", "ACP?", {"99,junk\r\n", kAcp1, kSilent}),
    Bad("acp", "ACPREF?", {"OVLD\r\n"}, "answer is not a number: \"OVLD\"", kAcpLines[2]),
    NoAnswer("acp", "ACPREF?", {kSilent}),
    // Answer 0 is not used, but an analyzer that does not send it will send no other.
    NoAnswer("acp", "ACP?", {kSilent, kAcp1, kAcp2}),
    NoAnswer("acp", "*STB?", {}),
    Refused("acp", "CSBSDEL"),

    // A bad record ends the table; a peak level that is no number comes before any mask.
    Bad("sem", "SEM?", {"0,START F,2132687000,2132590000,-52.314,-95.766"},
        "record 1 of 8 field 1 is not a number: \"START F\""),
    Bad("sem", "SEM?", {"0,2132487000,2132687" + kNul + "000,2132590000,-52.314,-95.766"},
        R"(record 1 of 8 field 2 is not a number: "2132687\x00000")"),
    Bad("sem", "SEM?", Sent(kSemRecords, 2, {"2,1e6,2e6,1.5e6,-5\r\n"}),
        "record 3 of 8 has 5 fields, 6 expected"),
    Bad("sem", "SEM?", Sent(kSemRecords, 4, {"4,-1e6,-2e6,-1.5e6,----,-94.9"}),
        "record 5 of 8 field 4 is not a number: \"----\""),
    Bad("sem", "SEM?", Sent(kSemRecords, 5, {"5,7e6,8e6,7.5e6,-61,\r\n"}),
        "record 6 of 8 field 5 is not a number: \"\""),
    NoAnswer("sem", "SEM?", Sent(kSemRecords, 7, {kSilent})),
    Refused("sem", "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS"),
    Bad("sem-11a", "ML?", {"-10.5 dBm\r\n"}, "answer is not a number: \"-10.5 dBm\""),
    NoAnswer("sem-11a", "ML?", {kSilent}),
    Bad("sem-11a", "SEM?", Sent(kWlanRecords, 3, {"3,1,2,3,-4,-5\r\n"}),
        "record 4 of 10 has 6 fields, 7 expected"),
    NoAnswer("sem-11a", "SEM?", Sent(kWlanRecords, 6, {kSilent})),
    Refused("sem-11a", "SEMTIN 11MZ, 20MZ, 100KZ,-28.5DB,-36.5DB,0DB, 0DB, ABS"),
    // The verdict is the word PASS or FAIL, and nothing of the analyzer's text else.
    Bad("sem-11a", "SEM?", {"0,1,2,3,-4,-5,MAYBE\r\n"},
        "record 1 of 10 field 6 is not PASS or FAIL: \"MAYBE\""),
    Bad("sem-11a", "SEM?", Sent(kWlanRecords, 1, {"1,1,2,3,-4,-5,pass"}),
        "record 2 of 10 field 6 is not PASS or FAIL: \"pass\""),
    Bad("sem-11a", "SEM?", {"0,1,2,3,-4,-5,\r\n"},
        "record 1 of 10 field 6 is not PASS or FAIL: \"\""),
    Bad("sem-11a", "SEM?", {"0,1,2,3,-4,-5,PA\x07SS"},
        R"(record 1 of 10 field 6 is not PASS or FAIL: "PA\x07SS")"),
    Bad("sem-11a", "SEM?", {"0,1,2,3,-4,-5,FAIL\r\nChPower = 0.00dBm\r\nPASS"},
        R"(record 1 of 10 field 6 is not PASS or FAIL: "FAIL\x0D\x0AChPower = 0.00dBm\x0D\x0APAS...")"),
    NoAnswer("sem-11b", "ML?", {kSilent}),
    Bad("sem-11b", "SEM?", {kLong}, "record 1 of 6 has 1 field, 7 expected"),
    NoAnswer("sem-11b", "SEM?", Sent(kWlanRecords, 5, {kSilent})),
    Bad("sem-11b", "SEM?", Sent(kWlanRecords, 1, {"1,9e6,11e6,10e6,-70.5,n/a,FAIL\r\n"}),
        "record 2 of 6 field 5 is not a number: \"n/a\""),
    Refused("sem-11b", "SEMRPFCALC PEAK"),
};

bool IsRead(const std::string& entry) { return entry.starts_with("<"); }

// The golden run with the reads of the queries in `replies` delivering those replies, each cut
// to its buffer's length; kSilent, or a read beyond the replies, delivers nothing.
Lines Answered(const Golden& golden, const Script& replies) {
    Lines run = golden.run;
    std::string query;  // the last command written
    std::map<std::string, std::size_t> readsOf;
    for (auto& entry : run) {
        if (!IsRead(entry) && !entry.starts_with("log: ")) query = entry;
        const auto reply = replies.find(query);
        if (!IsRead(entry) || reply == replies.end()) continue;
        const std::size_t index = readsOf[query]++;
        const std::string bytes = index < reply->second.size() ? reply->second[index] : kSilent;
        const std::size_t space = entry.find(' ');
        const std::size_t length = std::stoul(entry.substr(1, space - 1));
        entry.resize(space + 1);
        entry += Delivered(bytes).substr(0, length);
    }
    return run;
}

class FaultTable : public ::testing::TestWithParam<Fault> {};

TEST_P(FaultTable, KeepsTheLogAndClosesTheSession) {
    const Fault& fault = GetParam();
    const Golden& golden = GoldenRun(fault.name);
    Script script = fault.replies;
    script.insert(golden.script.begin(), golden.script.end());
    RunFixture fixture(script);
    if (!fault.refused.empty()) fixture.driver.FailWrite(fault.refused);
    EXPECT_EQ(fixture.Run(fault.name), fault.outcome);

    Lines answered;
    for (const auto& entry : Answered(golden, fault.replies)) {
        const auto edit = fault.edits.find(entry);
        answered = answered + (edit == fault.edits.end() ? Lines{entry} : edit->second);
    }
    const auto close = answered.end() - 2;
    Lines expected;
    if (fault.outcome == kFailed) {
        auto end =
            std::mismatch(answered.begin(), close, golden.run.begin(), golden.run.end()).first + 1;
        if (!fault.refused.empty()) end = std::find(answered.begin(), close, fault.refused) + 1;
        if (!fault.until.empty()) end = std::find(answered.begin(), close, fault.until);
        expected = Lines(answered.begin(), end) + Lines{Fail(golden.title, fault.reason)};
        // A bad answer checked as it arrived: the commands after the last read go out.
        auto entry = std::find_if(answered.rbegin(), answered.rend(), IsRead).base();
        for (; fault.until.empty() && fault.refused.empty() && entry != close; ++entry)
            if (!entry->starts_with("log: ")) expected.push_back(*entry);
    } else {
        expected = Lines(answered.begin(), close);
    }
    EXPECT_EQ(fixture.timeline, expected + fault.last + kClose);
}

INSTANTIATE_TEST_SUITE_P(Measurements, FaultTable, ::testing::ValuesIn(kFaults));

// An analyzer that answers every status query but never reports the end: the results are read
// when the wait's 10 s are over, and its warning follows them; after a bad answer it follows the
// failure line, as a likely cause.
TEST(WaitWithoutEnd, WarnsBehindTheResultsOrTheFailure) {
    for (const auto& [name, replies, tail] : {
             std::tuple<std::string, Script, Lines>{
                 "ch-power", {}, {"log: ChPower = -23.46dBm\r\n", kTimedOut}},
             {"obw",
              {{"OBW?", {"2140012345\r\n"}}},
              {"log: OBW Measurement failed: \"OBW?\" answer has 1 field, 2 expected\r\n",
               kTimedOut}},
         }) {
        Script script = replies;
        for (const auto& [query, reads] : GoldenRun(name).script)
            if (query != "*STB?") script.insert({query, reads});
        RunFixture fixture(script);
        fixture.driver.ReplyAlways("*STB?", "0");
        EXPECT_EQ(fixture.Run(name), tail.size() == 2 && name == "ch-power" ? kWarning : kFailed);
        EXPECT_EQ(fixture.clock.Now(), std::chrono::milliseconds(10010)) << name;
        ASSERT_GE(fixture.timeline.size(), 4U);
        EXPECT_EQ(Lines(fixture.timeline.end() - 4, fixture.timeline.end() - 2), tail) << name;
    }
}

}  // namespace
}  // namespace kelvane::testing::runs
