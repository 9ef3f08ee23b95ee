// Each of the seven measurements against a driver and an analyzer played by the fuzz input
// (FuzzGpibDriver.h). Input: byte 0 picks the measurement in catalog order, byte 1 = 0xFF makes
// the driver library missing; the driver reads the rest call by call. Every run must keep these
// properties, whatever happened on the bus:
// - a failed registration ends the run: one message, no driver call after it, nothing logged;
// - otherwise the session opens with ibdev and ends with CloseAnalyzer, ibonl(descriptor, 0) and
//   ibonl(0, 0) last; between them only writes and reads, none after a failed ibdev or write;
// - every command is in the measurement's vocabulary;
// - the log only grows, by whole lines ending in CR LF, between ibdev and closing: the title,
//   the SEM table header, results, a failure line, a warning, in this order, as the outcome says;
// - no control character in the log but the line ends; a verdict is PASS or FAIL;
// - every number in a result line reads back, as shown, from a field of an answer that ended
//   with END and no ERR, and no result line follows an answer read that ended otherwise.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "analyzer/GpibRegistrationFailure.h"
#include "analyzer/ReplyText.h"
#include "fuzz/FuzzGpibDriver.h"
#include "fuzz/FuzzSupport.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "measurements/NumberForms.h"
#include "tests/support/VirtualClock.h"

namespace {

using namespace kelvane;
using kelvane::fuzz::DriverCall;
using kelvane::fuzz::Require;
using Entry = DriverCall::Entry;

// What one measurement may send and log, written down apart from its implementation.
struct Rules {
    std::string_view name;
    std::string title;
    std::string commands;                           // every fixed command, each between '|'
    std::vector<std::string> results;               // result line shapes (Matches) in their order
    std::vector<std::string> segmentPrefixes = {};  // computed: prefix, two levels, fixed tail
};

const std::string kHeader = " START F      STOP F       FREQ.      ABS LEV   REL LEV";
const std::string kMaskLine = "@MHz---@MHz, @MHz, @dBm, @dB";
// The WLAN masks rest on the measured peak, so their segment levels are computed. Each result
// line ends with its record's verdict, the word alone.
const std::string kVerdictLine = kMaskLine + ",  P/F = *";

const Rules& RulesFor(std::string_view name) {
    static const std::vector<Rules> all = {
        {"ch-power",
         "CH Power Measurement...",
         "|SI|SP 10e6HZ|CF 2000000000HZ|RL 0DB|RB 300e3HZ VB 300e3HZ|AS|DETAA ON|WLX 2000000000HZ|"
         "WDX 3840000HZ|PWCHON|PMEASAVGONCE ONCE|PWCHTM 10|PMEASAVG ON|CONTS|PWCH?|PMEASOFF|"
         "PMEASAVGOFF|*CLS|OPR 16|*SRE 160|*STB?|*ESR?|",
         {"ChPower = @dBm"}},
        {"obw",
         "OBW Measurement...",
         "|SI|SP 10e6HZ|CF 2000000000HZ|RL 0DB|RB 30e3HZ; VB 30e3HZ|AS|DET POS|OBWPER 99|OBWON|"
         "CONTS|OBW?|OBWON OFF|AGSGL|AG 10|AGR|AGS|*CLS|OPR 256|*SRE 160|*STB?|*ESR?|",
         {"OBW = %MHz", "OBW CF = %MHz"}},
        {"acp",
         "ACP Measurement...",
         "|SI|SP 25e6HZ|CF 2000000000HZ|RL 0DB|RB 30e3HZ; VB 30e3HZ|AS|ACPSCR CARR|CARRBS 3.84MZ|"
         "CSBSDEL|CSBSIN 5MZ,3.84MZ|CSBSIN 10MZ,3.84MZ|DETAA ON|ACP|CONTS|ACP?|MO|ACPREF?|"
         "ACP OFF|AGSGL|AG 10|AGR|AGS|*CLS|OPR 256|*SRE 160|*STB?|*ESR?|",
         {"ACP ( -5M, +5M) = @MHz @dB : @MHz @dB", "ACP (-10M,+10M) = @MHz @dB : @MHz @dB",
          "ACP (Carr pow.) = @dBm"}},
        {"sem", "SEM Measurement...",
         "|SI|CF 2000000000HZ|RL 0DB|AL|DETAA ON|SP 20MZ|SEMCBW 3.84MZ|SEMRFCALC CHN|SEMNQST OFF|"
         "SEMTDEL|SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS|"
         "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS|"
         "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS|"
         "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS|SEMON|TS|SEM?|SEMON OFF|CONTS|",
         std::vector<std::string>(8, kMaskLine)},
        {"sem-11a",
         "SEM Measurement...",
         "|SI|CF 5005000000HZ|SP 80MZ|RL 0DB|RB 100KZ; VB 30KZ; SW 500MS|DET POS|TS|PS|ML?|"
         "SEMTDEL|SEMCBW 16.6MZ|SEMRFCALC PEAK|SEMNQST OFF|PMEASAVG OFF|SEMON|SEM?|SEMON OFF|"
         "CONTS|",
         std::vector<std::string>(10, kVerdictLine),
         {"SEMTIN  0MZ,  9MZ, 100KZ,", "SEMTIN  9MZ, 11MZ, 100KZ,", "SEMTIN 11MZ, 20MZ, 100KZ,",
          "SEMTIN 20MZ, 30MZ, 100KZ,", "SEMTIN 30MZ, 39MZ, 100KZ,"}},
        {"sem-11b",
         "SEM Measurement...",
         "|SI|CF 2412000000HZ|SP 80MZ|RL 0DB|RB 100KZ; VB 100KZ; SW 1SC|DET POS|TS|PS|ML?|"
         "SEMTDEL|SEMCBW 16.6MZ|SEMRPFCALC PEAK|SEMNQST OFF|PMEASAVG OFF|SEMON|SEM?|SEMON OFF|"
         "CONTS|",
         std::vector<std::string>(6, kVerdictLine),
         {"SEMTIN  0MZ, 11MZ, 100KZ,", "SEMTIN 11MZ, 22MZ, 100KZ,", "SEMTIN 22MZ, 39MZ, 100KZ,"}},
        {"total-power-11b",
         "CH Power Measurement...",
         "|SI|SP 40MZ|CF 2412000000HZ|RL 0DB|RB 300KZ; VB 300KZ|SW 1SC|DETAA ON|PWTOTALON|TS|"
         "PWTOTAL?|PMEASOFF|PMEASAVGOFF|CONTS|",
         {"ChPower = @dBm"}},
    };
    for (const auto& rules : all)
        if (rules.name == name) return rules;
    Require(false, "rules for the measurement " + std::string(name));
    return all[0];
}

// Whether the text has the shape: literal text in which '@' stands for a number shown with two
// decimals, '%' for one with three, and a final '*' for the verdict, PASS or FAIL.
bool Matches(std::string_view text, std::string_view shape) {
    for (const char s : shape) {
        if (s == '*') return text == "PASS" || text == "FAIL";
        const std::size_t length = s == '@' || s == '%'
                                       ? fuzz::ShownNumberLength(text, s == '@' ? 2 : 3)
                                       : static_cast<std::size_t>(text.starts_with(s));
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return text.empty();
}

// A computed level as a command spells it: no blanks, and it reads as a number.
bool IsLevel(std::string_view text) {
    return text.find_first_not_of("0123456789.-+E") == std::string_view::npos &&
           StrictNumber(text).has_value();
}

bool InVocabulary(const Rules& rules, std::string_view command) {
    if (command.find('|') == std::string_view::npos &&
        rules.commands.find("|" + std::string(command) + "|") != std::string::npos)
        return true;
    constexpr std::string_view kTail = "DB,0DB, 0DB, ABS";
    for (const auto& prefix : rules.segmentPrefixes) {
        if (!command.starts_with(prefix) || !command.ends_with(kTail)) continue;
        const std::string_view levels =
            command.substr(prefix.size(), command.size() - prefix.size() - kTail.size());
        const std::size_t split = levels.find("DB,");
        return split != std::string_view::npos && IsLevel(levels.substr(0, split)) &&
               IsLevel(levels.substr(split + 3));
    }
    return false;
}

std::string Excerpt(std::string_view text) { return "\"" + PrintableExcerpt(text, 80) + "\""; }

// Everything one run left behind.
struct Run {
    bool driverMissing = false;
    bool registrationFailed = false;
    MeasurementOutcome outcome = MeasurementOutcome::Completed;
    std::vector<DriverCall> calls;
    std::vector<std::pair<std::string, std::size_t>> appends;  // text, driver calls made before
    std::vector<std::string> messages;                         // shown by the binding
};

struct RecordingLog : LogSink {
    explicit RecordingLog(Run& r) : run(r) {}
    void AppendResult(const std::string& t) override {
        run.appends.emplace_back(t, run.calls.size());
    }
    Run& run;
};

// Checks the registration at the start of the calls; returns the index of the first bus call.
std::size_t CheckRegistration(const Run& run) {
    const auto& calls = run.calls;
    std::size_t first = 0;
    Require(!run.driverMissing || run.registrationFailed, "a missing driver ends the program");
    if (!run.driverMissing) {
        Require(!calls.empty() && calls[0].entry == Entry::Register, "the first call registers");
        std::int32_t result = calls[0].result;
        if (result == 1) {
            Require(calls.size() >= 3 && calls[1].entry == Entry::Unregister &&
                        calls[2].entry == Entry::Register,
                    "result 1 unregisters and registers again");
            first = 2;
            // The second answer counts; "registered already" again is no registration.
            result = calls[2].result == 1 ? -1 : calls[2].result;
        }
        Require(run.registrationFailed == (result != 0),
                "a registration that ends in 0 goes on, all others end the program");
        first += result == 2 || result == 3 ? 2 : 1;
        Require(
            calls.size() >= first && (first == 1 || calls[first - 1].entry == Entry::Unregister ||
                                      calls[first - 1].entry == Entry::Register),
            "results 2 and 3 unregister");
    }
    if (run.registrationFailed) {
        Require(calls.size() == first && run.appends.empty() && run.messages.size() == 1,
                "a failed registration: one message, then no driver call and nothing logged");
    } else {
        Require(run.messages.empty(), "no message while the registration holds");
    }
    return first;
}

void CheckBus(const Rules& rules, const std::vector<DriverCall>& calls, std::size_t first) {
    Require(calls.size() >= first + 2, "the session opens with ibdev and closes with ibonl");
    const DriverCall& open = calls[first];
    Require(open.entry == Entry::Ibdev && open.args == std::vector<std::int32_t>{0, 8, 0, 13, 1, 0},
            "the session opens with ibdev(0, 8, 0, 13, 1, 0)");
    const std::int32_t handle = Low16(open.result);
    // A negative descriptor names no device: only the board is taken offline.
    const std::size_t closing = handle < 0 ? 1 : 2;
    Require(calls.size() >= first + 1 + closing, "the session closes with ibonl");
    const DriverCall& device = calls[calls.size() - 2];
    const DriverCall& board = calls.back();
    Require((handle < 0 || (device.entry == Entry::Ibonl &&
                            device.args == std::vector<std::int32_t>{handle, 0})) &&
                board.entry == Entry::Ibonl && board.args == std::vector<std::int32_t>{0, 0},
            "the run ends with CloseAnalyzer: ibonl(descriptor, 0) unless negative, then "
            "ibonl(0, 0)");
    bool busDead = open.failed || handle < 0;
    bool firstCommand = true;
    for (std::size_t i = first + 1; i + closing < calls.size(); ++i) {
        const DriverCall& call = calls[i];
        Require((call.entry == Entry::Ibwrt || call.entry == Entry::Ibrd) && call.args[0] == handle,
                "inside the session only writes and reads on the device descriptor");
        Require(!busDead, "nothing is sent or read once ibdev or a write failed");
        if (call.entry != Entry::Ibwrt) continue;
        busDead = call.failed;
        Require(!firstCommand || call.text == "SI", "the first command is \"SI\"");
        firstCommand = false;
        Require(InVocabulary(rules, call.text),
                "a command outside the measurement's vocabulary: " + Excerpt(call.text));
    }
}

enum class Kind { Title, Header, Result, Failure, Warning };

// The numbers a result line may show from one answer: each field read as the measurements read
// it, as it is and in MHz.
void AddCandidates(const std::string& answer, std::vector<double>& candidates) {
    for (const auto& field : SplitReply(answer)) {
        auto value = StrictNumber(field);
        if (!value) value = DelimitedLeadingNumber(field);
        if (!value) continue;
        candidates.push_back(*value);
        candidates.push_back(*value / 1e6);
    }
}

// Every number shown in the line is a candidate as a result line shows it.
void CheckValues(std::string_view line, const std::vector<double>& candidates) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool starts = (line[i] == '-' || (line[i] >= '0' && line[i] <= '9')) &&
                            (i == 0 || line[i - 1] == ' ');
        if (!starts) continue;
        for (const std::size_t decimals : {2u, 3u}) {
            const std::size_t length = fuzz::ShownNumberLength(line.substr(i), decimals);
            if (length == 0) continue;
            const std::string shown(line.substr(i, length));
            const char* pattern = decimals == 2 ? "#0.00" : "#0.000";
            const bool found = std::any_of(candidates.begin(), candidates.end(), [&](double v) {
                return PatternNumber(v, pattern) == shown;
            });
            Require(found,
                    "a logged value that no whole answer gave: " + shown + " in " + Excerpt(line));
            i += length - 1;
        }
    }
}

// A result line rests on whole answers only: no answer read before it ended wrong (a status read
// that ended wrong only shows no status), and its values come from the answers that ended well.
void CheckResultSource(const std::vector<DriverCall>& calls, std::size_t callsBefore,
                       std::string_view line) {
    std::vector<double> candidates;
    std::string query;
    for (std::size_t i = 0; i < callsBefore; ++i) {
        const DriverCall& call = calls[i];
        if (call.entry == DriverCall::Entry::Ibwrt) query = call.text;
        if (call.entry != DriverCall::Entry::Ibrd || query == "*STB?" || query == "*ESR?") continue;
        Require(call.ended, "a result line after an answer that did not end with END and no ERR");
        AddCandidates(call.text, candidates);
    }
    CheckValues(line, candidates);
}

void CheckLog(const Rules& rules, const Run& run, std::size_t first) {
    const std::string failurePrefix = rules.title.substr(0, rules.title.find("...")) + " failed: ";
    const bool table = rules.title.starts_with("SEM");
    Require(!run.appends.empty() && run.appends[0].first == "\r\n" + rules.title + "\r\n" &&
                run.appends[0].second == first + 1,
            "the log starts with an empty line and the title, right after ibdev");
    const std::size_t closing = Low16(run.calls[first].result) < 0 ? 1 : 2;
    Kind previous = Kind::Title;
    std::size_t results = 0;
    bool failure = false;
    bool warning = false;
    for (std::size_t i = 1; i < run.appends.size(); ++i) {
        const auto& [text, callsBefore] = run.appends[i];
        Require(text.ends_with("\r\n") && callsBefore + closing <= run.calls.size(),
                "the log grows by lines ending in CR LF, none after closing");
        const std::string_view line(text.data(), text.size() - 2);
        Require(fuzz::Printable(line), "a control character in the log: " + Excerpt(line));
        Kind kind = Kind::Title;
        if (table && line == kHeader) {
            kind = Kind::Header;
        } else if (results < rules.results.size() && Matches(line, rules.results[results])) {
            kind = Kind::Result;
            ++results;
        } else if (line.starts_with("Warning: ") && fuzz::Printable(line)) {
            kind = Kind::Warning;
            warning = true;
        } else if (line.starts_with(failurePrefix) && fuzz::Printable(line) &&
                   !line.substr(failurePrefix.size()).starts_with("internal error:")) {
            kind = Kind::Failure;
            failure = true;
        }
        Require(kind != Kind::Title, "a log line of no known kind: " + Excerpt(line));
        if (kind == Kind::Result) CheckResultSource(run.calls, callsBefore, line);
        Require(kind > previous || (kind == Kind::Result && previous == kind),
                "title, table header, results, failure, warning: in this order, each once");
        Require(kind != Kind::Result || !table || previous != Kind::Title,
                "the table header precedes the results");
        previous = kind;
    }
    Require(failure || results == rules.results.size(), "a run without a failure logs all results");
    Require(failure == (run.outcome == MeasurementOutcome::Failed) &&
                (warning && !failure) == (run.outcome == MeasurementOutcome::Warning),
            "the outcome agrees with the failure and warning lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const auto& catalog = MeasurementCatalog();
    const CatalogEntry& measurement = catalog[input.Byte() % catalog.size()];

    Run run;
    run.driverMissing = input.Byte() == 0xFF;
    VirtualClock clock;
    GpibBinding binding(
        [&]() -> DriverLoad {
            if (run.driverMissing) return {nullptr, "libgpib.so.0: cannot open shared object file"};
            return {std::make_unique<fuzz::FuzzGpibDriver>(input, clock, run.calls), ""};
        },
        [&](const std::string& message) { run.messages.push_back(message); });
    AnalyzerSession session(binding);
    RecordingLog log(run);
    MeasurementContext context{session, log, clock};
    try {
        run.outcome = measurement.run(context).outcome;
    } catch (const GpibRegistrationFailure&) {
        run.registrationFailed = true;
    }

    const Rules& rules = RulesFor(measurement.name);
    const std::size_t first = CheckRegistration(run);
    if (run.registrationFailed) return 0;
    CheckBus(rules, run.calls, first);
    CheckLog(rules, run, first);
    return 0;
}
