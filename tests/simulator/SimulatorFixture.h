// The simulated analyzer driven through its driver entries, shared by its tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "simulator/SimulatedAnalyzer.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {

// The analyzer driven through the driver entries with a virtual clock.
class SimulatorFixture {
public:
    explicit SimulatorFixture(SimulatorOptions options = {}, std::uint32_t seed = 1)
        : analyzer(clock, seed, options) {
        analyzer.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
        device = analyzer.ibdev(0, 8, 0, 13, 1, 0);
    }

    SimulatorFixture& Send(const std::string& text) {
        analyzer.ibwrt(device, text.data(), static_cast<std::int32_t>(text.size()));
        return *this;
    }
    // One read of at most maxBytes; the bytes that arrived.
    std::string Read(std::int32_t maxBytes = 200) {
        std::string buffer(static_cast<std::size_t>(maxBytes), '\0');
        analyzer.ibrd(device, buffer.data(), maxBytes);
        return buffer.substr(0, static_cast<std::size_t>(count));
    }
    std::string Query(const std::string& text) { return Send(text).Read(); }
    double QueryNumber(const std::string& text) { return std::stod(Query(text)); }
    int StatusByte() { return std::stoi(Query("*STB?")); }
    int EventStatus() { return std::stoi(Query("*ESR?")); }
    // Sends an averaging set-up, selects its end event ("OPR 16" or "OPR 256") and polls the status
    // byte every 10 ms, as the measurement-end wait does, until bit 7 or 5 shows or 10 s have
    // passed; the virtual time the wait took.
    std::chrono::nanoseconds RunToEnd(const std::string& setup, const std::string& opr) {
        using namespace std::chrono_literals;
        Send(setup + "; *CLS; " + opr + "; *SRE 160");
        const auto start = clock.Now();
        do clock.Sleep(10ms);
        while ((StatusByte() & 0xA0) == 0 && clock.Now() - start <= 10s);
        return clock.Now() - start;
    }

    VirtualClock clock;
    SimulatedAnalyzer analyzer;
    std::int32_t status = 0, error = 0, count = 0, countLong = 0, device = 0;
};

// Fields of a reply split at ','.
inline std::vector<std::string> Fields(const std::string& reply) {
    std::vector<std::string> fields;
    std::istringstream in(reply);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    return fields;
}

// The measurements' set-up commands up to their start, joined into one message.
inline const std::string kObwSetup =
    "SI; SP 10e6HZ; CF 2000000000HZ; RL 0DB; RB 30e3HZ; VB 30e3HZ; AS; DET POS; OBWPER 99; OBWON;"
    "AGSGL; AG 10; AGR; CONTS";
inline const std::string kAcpSetup =
    "SI; SP 25e6HZ; CF 2000000000HZ; RL 0DB; RB 30e3HZ; VB 30e3HZ; AS; ACPSCR CARR; CARRBS 3.84MZ;"
    "CSBSDEL; CSBSIN 5MZ,3.84MZ; CSBSIN 10MZ,3.84MZ; DETAA ON; ACP; AGSGL; AG 10; AGR; CONTS";
inline const std::string kChannelPowerSetup =
    "SI; SP 10e6HZ; CF 2000000000HZ; RL 0DB; RB 300e3HZ VB 300e3HZ; AS; DETAA ON;"
    "WLX 2000000000HZ; WDX 3840000HZ; PWCHON; PMEASAVGONCE ONCE; PWCHTM 10; PMEASAVG ON; CONTS";
inline const std::string kMask3gppSetup =
    "SI; CF 2000000000HZ; RL 0DB; AL; DETAA ON; SP 20MZ; SEMCBW 3.84MZ; SEMRFCALC CHN;"
    "SEMNQST OFF; SEMTDEL; SEMTIN 2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS;"
    "SEMTIN 2.715MZ,3.515MZ, 30KZ, -14DB, -26DB, 0DB, 0DB,ABS;"
    "SEMTIN 3.515MZ,4.0MZ, 30KZ, -26DB, -26DB, 0DB, 0DB,ABS;"
    "SEMTIN 4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS; SEMON; TS";

inline constexpr int kOperationEnd = 0x80, kRequestService = 0x40, kEventSummary = 0x20;
inline constexpr int kCommandError = 0x20, kExecutionError = 0x10, kQueryError = 0x04;

}  // namespace kelvane::testing
