#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "measurements/MeasurementCatalog.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing::runs {

// A run as one list, in the order things happened: a write as its text, a read as "<N bytes"
// (N the buffer's length), a log append as "log: text", any other driver call as
// DriverCall::ToString writes it, e.g. "ibonl(16, 0)".
using Lines = std::vector<std::string>;
// The analyzer's answers after each query, read by read. kSilent: a read that times out (no
// bytes, ERR TIMO) without moving the clock; an unscripted read also takes the driver's 10 s.
// Stopping(bytes): a read that delivers these bytes, then times out.
using Script = std::map<std::string, Lines>;
inline const std::string kSilent = "(times out)";
inline const std::string kStops = "(times out after) ";
inline std::string Stopping(const std::string& bytes) { return kStops + bytes; }
// The bytes that a scripted answer delivers.
inline std::string Delivered(const std::string& read) {
    if (read == kSilent) return "";
    return read.starts_with(kStops) ? read.substr(kStops.size()) : read;
}

inline Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A measurement's surroundings: the program's binding over a scripted analyzer, its session, a
// virtual clock that each unanswered read moves on by the driver's 10 s, and the run's timeline.
struct RunFixture : LogSink {
    explicit RunFixture(const Script& script) {
        driver.AttachClock(&clock);
        driver.onCall = [this](const DriverCall& call) {
            const bool onDevice = !call.args.empty() && call.args[0] == ScriptedDriver::kDescriptor;
            if (onDevice && call.name == "ibrd")
                timeline.push_back("<" + std::to_string(call.args.at(1)) + " " + call.bytes);
            else
                timeline.push_back(onDevice && call.name == "ibwrt" ? call.bytes : call.ToString());
        };
        for (const auto& [query, reads] : script) {
            for (const auto& read : reads) {
                const bool timesOut = read == kSilent || read.starts_with(kStops);
                driver.ReplyRead(
                    query, timesOut ? ScriptedDriver::Read{Delivered(read),
                                                           kStatusErr | kStatusTimo, kErrorEabo}
                                    : ScriptedDriver::Read{read});
            }
        }
    }

    void AppendResult(const std::string& text) override { timeline.push_back("log: " + text); }

    MeasurementOutcome Run(const std::string& name) {
        for (const auto& entry : MeasurementCatalog()) {
            if (entry.name != name) continue;
            result = entry.run(context);
            return result.outcome;
        }
        throw std::invalid_argument("no measurement " + name);
    }

    MeasurementResult result;  // of the last run

    Lines timeline;
    std::unique_ptr<ScriptedDriver> owned = std::make_unique<ScriptedDriver>();
    ScriptedDriver& driver = *owned;
    VirtualClock clock;
    Lines messages;  // shown by the binding
    GpibBinding binding{HandOver(std::move(owned)),
                        [this](const std::string& message) { messages.push_back(message); }};
    AnalyzerSession session{binding};
    MeasurementContext context{session, *this, clock};
};

// Each of the seven measurements once with good answers, as the catalog runs it: the analyzer's
// script and the whole run it gives. The answers mix CR LF, LF, CR, no line end and NUL tails,
// and some carry more fields than are used.
struct Golden {
    std::string name;   // in the catalog
    std::string title;  // of the title line, without " Measurement..."
    Script script;
    Lines run;
};
inline void PrintTo(const Golden& golden, std::ostream* os) { *os << golden.name; }

inline const Lines kClose{"ibonl(16, 0)", "ibonl(0, 0)"};
inline Lines Open(const std::string& title) {
    return {"RegisterGpibGlobalsForThread()", "ibdev(0, 8, 0, 13, 1, 0)",
            "log: \r\n" + title + " Measurement...\r\n"};
}
inline std::string Fail(const std::string& title, const std::string& reason) {
    return "log: " + title + " Measurement failed: " + reason + "\r\n";
}
// Opening, set-up, the wait for the end of "OPR n" (none: ""), the rest, closing.
inline Golden Make(const std::string& name, const std::string& title, const Script& script,
                   const Lines& setUp, const std::string& opr, const Lines& rest) {
    const Lines wait{"*CLS", opr, "*SRE 160", "*STB?", "<10 128"};
    return {name, title, script,
            Open(title) + setUp + (opr.empty() ? Lines{} : wait) + rest + kClose};
}

// "ACP?" answers 1 and 2 (answer 0 is never looked at) and the three result lines.
inline const std::string kAcp1 = "-5000000,-45.2,5000000,-45.31\r\n";
inline const std::string kAcp2 = "-10000000,-60.456,10000000,-61.5,7,8\n";
inline const Lines kAcpLines{"log: ACP ( -5M, +5M) = -5.00MHz -45.20dB : 5.00MHz -45.31dB\r\n",
                             "log: ACP (-10M,+10M) = -10.00MHz -60.46dB : 10.00MHz -61.50dB\r\n",
                             "log: ACP (Carr pow.) = -1.50dBm\r\n"};

// Emission mask records as the analyzer sends them, each with its result line (CR LF added).
// A table of n records takes them in turn; the record's first field is not used.
using Records = std::vector<std::pair<std::string, std::string>>;
inline const Records kSemRecords{
    {"0,2132487000,2132687000,2132590000,-52.314,-95.766",
     "2132.49MHz---2132.69MHz, 2132.59MHz, -52.31dBm, -95.77dB"},
    {"1,5e6,6e6,5.5e6,-60.456,-100.5\r\n", "5.00MHz---6.00MHz, 5.50MHz, -60.46dBm, -100.50dB"},
    {"2,1e6,2e6,1.5e6,-5,-47" + std::string(3, '\0'),
     "1.00MHz---2.00MHz, 1.50MHz, -5.00dBm, -47.00dB"},
    {"3,2e6,3e6,2.5e6,-70.125,-112.9,PASS,x\n", "2.00MHz---3.00MHz, 2.50MHz, -70.13dBm, -112.90dB"},
    {"4,8e6,9e6,1.995E7, +3.5 , -122.005\r", "8.00MHz---9.00MHz, 19.95MHz, 3.50dBm, -122.01dB"}};
// With a verdict: as the last field it runs into the line end and the blank fill of the buffer,
// which the row leaves out; followed by another field it ends at the comma.
inline const std::string kPass = "0,-11e6,-9e6,-9.5e6,-62.347,-58.1,PASS\r\n";
inline const Records kWlanRecords{
    {kPass, "-11.00MHz----9.00MHz, -9.50MHz, -62.35dBm, -58.10dB,  P/F = PASS"},
    {"1,9e6,11e6,10e6,-70.5,-66.25,FAIL,7\r\n",
     "9.00MHz---11.00MHz, 10.00MHz, -70.50dBm, -66.25dB,  P/F = FAIL"}};

// The first `count` records: as scripted (then `more`), and as the run reads and logs them.
inline Lines Sent(const Records& records, std::size_t count, const Lines& more = {}) {
    Lines sent;
    for (std::size_t i = 0; i < count; ++i) sent.push_back(records[i % records.size()].first);
    return sent + more;
}
inline Lines Table(const Records& records, std::size_t count) {
    Lines run{"log:  START F      STOP F       FREQ.      ABS LEV   REL LEV\r\n"};
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [record, line] = records[i % records.size()];
        run = run + Lines{"<200 " + record, "log: " + line + "\r\n"};
    }
    return run;
}

inline Golden Wlan(const std::string& name, const std::string& center, const std::string& sweep,
                   const std::string& peak, const Lines& mask, const std::string& calculation) {
    const std::size_t records = 2 * mask.size();
    return Make(name, "SEM", Script{{"ML?", {peak}}, {"SEM?", Sent(kWlanRecords, records)}},
                Lines{"SI", center, "SP 80MZ", "RL 0DB", sweep, "DET POS", "TS", "PS", "ML?",
                      "<50 " + peak, "SEMTDEL"} +
                    mask +
                    Lines{"SEMCBW 16.6MZ", calculation, "SEMNQST OFF", "PMEASAVG OFF", "SEMON",
                          "TS", "SEM?"},
                "", Table(kWlanRecords, records) + Lines{"SEMON OFF", "CONTS"});
}

// In the catalog's (the window's) order.
inline const std::vector<Golden>& GoldenRuns() {
    static const std::vector<Golden> runs{
        Make("ch-power", "CH Power", Script{{"*STB?", {"128"}}, {"PWCH?", {"-23.456\r\n"}}},
             {"SI", "SP 10e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 300e3HZ VB 300e3HZ", "AS",
              "DETAA ON", "WLX 2000000000HZ", "WDX 3840000HZ", "PWCHON", "PMEASAVGONCE ONCE",
              "PWCHTM 10", "PMEASAVG ON", "CONTS"},
             "OPR 16",
             {"PWCH?", "<50 -23.456\r\n", "PMEASOFF", "PMEASAVGOFF",
              "log: ChPower = -23.46dBm\r\n"}),
        Make("obw", "OBW", Script{{"*STB?", {"128"}}, {"OBW?", {"2140012345,4151234"}}},
             {"SI", "SP 10e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 30e3HZ; VB 30e3HZ", "AS",
              "DET POS", "OBWPER 99", "OBWON", "AGSGL", "AG 10", "AGR", "CONTS"},
             "OPR 256",
             {"OBW?", "<50 2140012345,4151234", "OBWON OFF", "AGS", "log: OBW = 4.151MHz\r\n",
              "log: OBW CF = 2140.012MHz\r\n"}),
        Make("acp", "ACP",
             Script{{"*STB?", {"128"}},
                    {"ACP?", {"99,junk\r\n", kAcp1, kAcp2}},
                    {"ACPREF?", {"-1.5\r"}}},
             {"SI", "SP 25e6HZ", "CF 2000000000HZ", "RL 0DB", "RB 30e3HZ; VB 30e3HZ", "AS",
              "ACPSCR CARR", "CARRBS 3.84MZ", "CSBSDEL", "CSBSIN 5MZ,3.84MZ", "CSBSIN 10MZ,3.84MZ",
              "DETAA ON", "ACP", "AGSGL", "AG 10", "AGR", "CONTS"},
             "OPR 256",
             Lines{"ACP?", "<100 99,junk\r\n", "<100 " + kAcp1, "<100 " + kAcp2, "MO", "ACPREF?",
                   "<100 -1.5\r", "DETAA ON", "AGS", "ACP OFF"} +
                 kAcpLines),
        Make("sem", "SEM", Script{{"SEM?", Sent(kSemRecords, 8)}},
             {"SI", "CF 2000000000HZ", "RL 0DB", "AL", "DETAA ON", "SP 20MZ", "SEMCBW 3.84MZ",
              "SEMRFCALC CHN", "SEMNQST OFF", "SEMTDEL",
              "SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
              "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS",
              "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS",
              "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS", "SEMON", "TS", "SEM?"},
             "", Table(kSemRecords, 8) + Lines{"SEMON OFF", "CONTS"}),
        // The mask hangs from the peak level raised by 2 dB.
        Wlan("sem-11a", "CF 5005000000HZ", "RB 100KZ; VB 30KZ; SW 500MS", "-10.5\r\n",
             {"SEMTIN  0MZ,  9MZ, 100KZ,-8.5DB,-8.5DB,0DB, 0DB, ABS",
              "SEMTIN  9MZ, 11MZ, 100KZ,-8.5DB,-28.5DB,0DB, 0DB, ABS",
              "SEMTIN 11MZ, 20MZ, 100KZ,-28.5DB,-36.5DB,0DB, 0DB, ABS",
              "SEMTIN 20MZ, 30MZ, 100KZ,-36.5DB,-48.5DB,0DB, 0DB, ABS",
              "SEMTIN 30MZ, 39MZ, 100KZ,-48.5DB,-48.5DB,0DB, 0DB, ABS"},
             "SEMRFCALC PEAK"),
        Wlan("sem-11b", "CF 2412000000HZ", "RB 100KZ; VB 100KZ; SW 1SC", "3\r",
             {"SEMTIN  0MZ, 11MZ, 100KZ,5DB,5DB,0DB, 0DB, ABS",
              "SEMTIN 11MZ, 22MZ, 100KZ,-25DB,-25DB,0DB, 0DB, ABS",
              "SEMTIN 22MZ, 39MZ, 100KZ,-45DB,-45DB,0DB, 0DB, ABS"},
             "SEMRPFCALC PEAK"),
        // Title and result line are those of the channel power.
        Make("total-power-11b", "CH Power", Script{{"PWTOTAL?", {"-23.456,dBm\r\n"}}},
             {"SI", "SP 40MZ", "CF 2412000000HZ", "RL 0DB", "RB 300KZ; VB 300KZ", "SW 1SC",
              "DETAA ON", "PWTOTALON", "TS", "PWTOTAL?", "<50 -23.456,dBm\r\n", "PMEASOFF",
              "PMEASAVGOFF", "CONTS", "log: ChPower = -23.46dBm\r\n"},
             "", {}),
    };
    return runs;
}

// The golden run of a measurement by its batch name.
inline const Golden& GoldenRun(const std::string& name) {
    return *std::find_if(GoldenRuns().begin(), GoldenRuns().end(),
                         [&](const Golden& golden) { return golden.name == name; });
}

}  // namespace kelvane::testing::runs
