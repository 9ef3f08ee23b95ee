// Each measurement with the faults of the table below: answers missing, cut short, malformed or
// not numbers, writes the bus refuses, waits that end badly.
#include <algorithm>
#include <iterator>
#include <ostream>

#include <gtest/gtest.h>

#include "analyzer/GpibRegistrationFailure.h"
#include "measurements/NumberForms.h"
#include "tests/measurements/ScriptedRuns.h"

namespace kelvane::testing::runs {

namespace {

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
