#include "fuzz/RunCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bus/GpibBinding.h"
#include "bus/ReplyText.h"
#include "fuzz/Require.h"
#include "fuzz/TextShape.h"

namespace kelvane::fuzz {

namespace {

using Entry = DriverCall::Entry;

const std::string kLineEnd = "\r\n";
constexpr std::string_view kTableHeader = " START F      STOP F       FREQ.      ABS LEV   REL LEV";

enum class Line { Empty, Title, Header, Result, Warning, Failure };

std::string Excerpt(std::string_view text) { return "\"" + PrintableExcerpt(text, 80) + "\""; }

bool Printable(std::string_view text) {
    for (char c : text)
        if (c < 0x20 || c >= 0x7f) return false;
    return true;
}

// Checks the registration at the start of the calls; returns the index of the first bus call.
std::size_t CheckRegistration(const RunRecord& run) {
    const auto& calls = run.calls;
    std::size_t firstBusCall = 0;
    if (run.driverMissing) {
        Require(run.registrationFailed, "a driver library that cannot be had ends the program");
        Require(calls.empty(), "no driver call without a driver");
    } else {
        Require(!calls.empty() && calls[0].entry == Entry::Register,
                "the first driver call registers the status variables");
        const std::int32_t result = calls[0].result;
        Require(run.registrationFailed == (result != 0 && result != 1),
                "registration results 0 and 1 go on, all others end the program");
        firstBusCall = 1;
        if (result == 1) {
            Require(calls.size() >= 3 && calls[1].entry == Entry::Unregister &&
                        calls[2].entry == Entry::Register,
                    "result 1: unregister, then register again");
            firstBusCall = 3;
        } else if (result == 2 || result == 3) {
            Require(calls.size() >= 2 && calls[1].entry == Entry::Unregister,
                    "results 2 and 3 unregister");
            firstBusCall = 2;
        }
    }
    for (std::size_t i = firstBusCall; i < calls.size(); ++i)
        Require(!calls[i].IsRegistration(), "the registration is made once, before any bus call");
    if (run.registrationFailed) {
        Require(calls.size() == firstBusCall, "no driver call after a failed registration");
        Require(run.appends.empty(), "nothing is logged when the registration fails");
        Require(run.messages.size() == 1, "a failed registration shows one message");
    } else {
        Require(run.messages.empty(), "no message while the registration holds");
    }
    return firstBusCall;
}

// The session frame: ibdev, transfers on its descriptor, the two ibonl calls last.
void CheckSessionFrame(const std::vector<DriverCall>& calls, std::size_t firstBusCall) {
    Require(calls.size() >= firstBusCall + 3, "a session opens and closes with two ibonl calls");
    const DriverCall& open = calls[firstBusCall];
    Require(open.entry == Entry::Ibdev && open.args == std::vector<std::int32_t>{0, 8, 0, 13, 1, 0},
            "the session opens with ibdev(0, 8, 0, 13, 1, 0)");
    const std::int32_t handle = Low16(open.result);
    const DriverCall& device = calls[calls.size() - 2];
    const DriverCall& board = calls.back();
    Require(device.entry == Entry::Ibonl && device.args == std::vector<std::int32_t>{handle, 0},
            "the session closes with ibonl(DevHandle, 0)");
    Require(board.entry == Entry::Ibonl && board.args == std::vector<std::int32_t>{0, 0},
            "then with ibonl(0, 0), the last call");

    bool busDead = open.failed || handle < 0;
    for (std::size_t i = firstBusCall + 1; i + 2 < calls.size(); ++i) {
        const DriverCall& call = calls[i];
        Require(call.entry == Entry::Ibwrt || call.entry == Entry::Ibrd,
                "between opening and closing the session only writes and reads");
        Require(!busDead, "nothing is sent or read once the bus failed");
        Require(call.args[0] == handle, "every transfer uses the session's descriptor");
        if (call.entry == Entry::Ibwrt) {
            Require(call.args[1] == static_cast<std::int32_t>(call.text.size()),
                    "a write's byte count is its text's length");
            busDead = call.failed;
        } else {
            const std::int32_t count = call.args[1];
            Require(count == 10 || count == 50 || count == 100 || count == 200,
                    "reads ask for 10, 50, 100 or 200 bytes");
        }
    }
}

void CheckCommands(const MeasurementRules& rules, const std::vector<DriverCall>& calls) {
    bool first = true;
    for (const auto& call : calls) {
        if (call.entry != Entry::Ibwrt) continue;
        if (first) Require(call.text == "SI", "the first command is \"SI\"");
        first = false;
        bool known = false;
        for (const auto& command : rules.commands) known = known || call.text == command;
        for (const auto& shape : rules.commandShapes)
            known = known || MatchesShape(call.text, shape);
        Require(known, "a command outside the measurement's vocabulary: " + Excerpt(call.text));
    }
}

// Field 6 of each record read after "SEM?", as the result lines must show it.
std::vector<std::string> VerdictTexts(const std::vector<DriverCall>& calls) {
    std::vector<std::string> verdicts;
    bool queried = false;
    for (const auto& call : calls) {
        if (call.entry == Entry::Ibwrt && call.text == "SEM?") queried = true;
        if (!queried || call.entry != Entry::Ibrd) continue;
        const auto fields = SplitReply(call.text);
        verdicts.push_back(fields.size() >= 7 ? fields[6] : std::string());
    }
    return verdicts;
}

// Splits the log into lines and names the kind of each.
std::vector<Line> LogLines(const MeasurementRules& rules, const RunRecord& run,
                           const std::string& log) {
    std::string failurePrefix = rules.title;
    while (!failurePrefix.empty() && failurePrefix.back() == '.') failurePrefix.pop_back();
    failurePrefix += " failed: ";
    const std::vector<std::string> verdicts =
        rules.verdicts ? VerdictTexts(run.calls) : std::vector<std::string>{};

    std::vector<Line> lines;
    std::size_t results = 0;
    std::size_t position = 0;
    while (position < log.size()) {
        const std::string_view rest = std::string_view(log).substr(position);
        const bool resultDue = results < rules.resultShapes.size();
        // A verdict may hold CR LF itself: its line runs to the end of the record's verdict.
        if (rules.verdicts && resultDue) {
            if (const auto shaped = MatchShapePrefix(rest, rules.resultShapes[results])) {
                Require(results < verdicts.size(), "a result line for each record read");
                const std::string ending = verdicts[results] + kLineEnd;
                Require(rest.substr(*shaped, ending.size()) == ending,
                        "a result line ends with its record's verdict as read, then CR LF");
                lines.push_back(Line::Result);
                ++results;
                position += *shaped + ending.size();
                continue;
            }
        }
        const std::size_t end = rest.find(kLineEnd);
        Require(end != std::string_view::npos, "every line ends with CR LF");
        const std::string_view line = rest.substr(0, end);
        position += end + kLineEnd.size();
        if (line.empty()) {
            lines.push_back(Line::Empty);
        } else if (line == rules.title) {
            lines.push_back(Line::Title);
        } else if (rules.tableHeader && line == kTableHeader) {
            lines.push_back(Line::Header);
        } else if (line.substr(0, 9) == "Warning: ") {
            Require(Printable(line), "a warning line is printable: " + Excerpt(line));
            lines.push_back(Line::Warning);
        } else if (line.substr(0, failurePrefix.size()) == failurePrefix) {
            Require(Printable(line), "a failure line is printable: " + Excerpt(line));
            Require(line.substr(failurePrefix.size(), 15) != "internal error:",
                    "no internal error: " + Excerpt(line));
            lines.push_back(Line::Failure);
        } else if (!rules.verdicts && resultDue &&
                   MatchesShape(line, rules.resultShapes[results])) {
            lines.push_back(Line::Result);
            ++results;
        } else {
            Require(false, "a log line of no known kind: " + Excerpt(line));
        }
    }
    return lines;
}

void CheckLog(const MeasurementRules& rules, const RunRecord& run, std::size_t firstBusCall) {
    const auto& appends = run.appends;
    Require(!appends.empty() && appends[0].text == kLineEnd + rules.title + kLineEnd,
            "the log starts with CR LF, the title, CR LF");
    Require(appends[0].callsBefore == firstBusCall + 1,
            "the title is logged after ibdev and before the first command");
    std::string log;
    for (const auto& append : appends) {
        Require(append.text.size() >= kLineEnd.size() &&
                    append.text.compare(append.text.size() - 2, 2, kLineEnd) == 0,
                "each text appended to the log ends with CR LF");
        Require(append.callsBefore + 2 <= run.calls.size(), "nothing is logged after closing");
        log += append.text;
    }

    const std::vector<Line> lines = LogLines(rules, run, log);
    Require(lines.size() >= 2 && lines[0] == Line::Empty && lines[1] == Line::Title,
            "an empty line, then the title");
    std::size_t i = 2;
    const bool header = i < lines.size() && lines[i] == Line::Header;
    if (header) ++i;
    std::size_t results = 0;
    for (; i < lines.size() && lines[i] == Line::Result; ++i) ++results;
    Require(results == 0 || header == rules.tableHeader, "results follow the table header");
    // A failure line, a warning about the wait, or both in this order end the log.
    const bool failure = i < lines.size() && lines[i] == Line::Failure;
    if (failure) ++i;
    const bool warning = i < lines.size() && lines[i] == Line::Warning;
    if (warning) ++i;
    Require(i == lines.size(), "title, table header, results, then a failure line, a warning");
    if (!failure) {
        Require(header == rules.tableHeader && results == rules.resultShapes.size(),
                "a run without a failure logs all its results");
    }
    Require(failure == (run.outcome == MeasurementOutcome::Failed),
            "the outcome is Failed exactly when a failure line was logged");
    Require((warning && !failure) == (run.outcome == MeasurementOutcome::Warning),
            "the outcome is Warning exactly when only a warning line was logged");
}

}  // namespace

void CheckRun(const MeasurementRules& rules, const RunRecord& run) {
    const std::size_t firstBusCall = CheckRegistration(run);
    if (run.registrationFailed) return;
    CheckSessionFrame(run.calls, firstBusCall);
    CheckCommands(rules, run.calls);
    CheckLog(rules, run, firstBusCall);
}

}  // namespace kelvane::fuzz
