// The seven measurements of the catalog through the program's bus stack, against the simulator.
#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "simulator/SimulatedAnalyzer.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::testing {
namespace {

// The program's bus stack over the simulated analyzer, with a virtual clock and a string log.
struct SimulatedProgram : LogSink {
    explicit SimulatedProgram(SimulatorOptions options, const SimulatedBench* bench = nullptr)
        : binding(
              [this, options, bench] {
                  return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock, 1, options, bench),
                                    {}};
              },
              [this](const std::string& message) { messages.push_back(message); }) {}
    void AppendResult(const std::string& more) override { log += more; }

    VirtualClock clock;
    std::vector<std::string> messages;
    std::string log;
    GpibBinding binding;
    AnalyzerSession session{binding};
    MeasurementContext context{session, *this, clock};
};

// Low and high of each number in a measurement's result lines, in order; a mask measurement's
// go round for each segment line: start, stop, peak in MHz, level in dBm, relative level in dB.
// "ACP ( -5M, +5M) = -5.00MHz -54.77dB : 5.00MHz -54.74dB", then +/-10 MHz, then the carrier.
const std::map<std::string_view, std::vector<double>> kRanges = {
    {"ch-power", {-10.27, -10.15}},
    {"obw", {4.136, 4.196, 1999.97, 2000.03}},
    {"acp", {-5,  -5, 5,  5,   -5,  -5,  -60, -50, 5,  5,   -60, -50,    -10,
             -10, 10, 10, -10, -10, -70, -60, 10,  10, -70, -60, -10.23, -10.13}},
    {"sem", {1992, 2008, 1992, 2008, 1992, 2008, -120, -20, -100, -40}},
    {"sem-11a", {4966, 5044, 4966, 5044, 4966, 5044, -90, -15, -60, 1}},
    {"sem-11b", {2373, 2451, 2373, 2451, 2373, 2451, -90, -15, -60, 1}},
    {"total-power-11b", {-10.1, -9.9}}};

TEST(SimulatorEndToEnd, AllSevenMeasurementsGivePlausibleResults) {
    struct Case {
        std::string_view name;
        double regrowthRaiseDb;
        std::size_t lines;         // after the blank line and the title
        std::string_view verdict;  // of the mask lines: PASS on all of them, or FAIL on some
        int minMs, maxMs;          // the analyzer's time
    };
    const Case cases[] = {{"ch-power", 0, 1, "", 50, 70},          // 10 sweeps of 5 ms
                          {"obw", 0, 2, "", 277, 300},             // 10 x 27.8 ms
                          {"acp", 0, 3, "", 694, 710},             // 10 x 69.4 ms
                          {"sem", 0, 9, "", 5, 20},                // header and 8 segments
                          {"sem-11a", 0, 11, "PASS", 1000, 1010},  // two sweeps of 500 ms
                          {"sem-11b", 0, 7, "PASS", 2000, 2010},   // two sweeps of 1 s
                          {"total-power-11b", 0, 1, "", 1000, 1010},
                          {"sem-11a", 10, 11, "FAIL", 1000, 1010},
                          {"sem-11b", 10, 7, "FAIL", 2000, 2010}};
    // One program runs them in turn, as the window does; another has a raised regrowth.
    SimulatedProgram program({}), raised({.regrowthRaiseDb = 10.0});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", regrowth +" + std::to_string(c.regrowthRaiseDb));
        SimulatedProgram& p = c.regrowthRaiseDb == 0 ? program : raised;
        const auto start = p.clock.Now();
        for (const auto& entry : MeasurementCatalog())
            EXPECT_TRUE(entry.name != c.name ||
                        entry.run(p.context).outcome == MeasurementOutcome::Completed);
        EXPECT_GE(p.clock.Now() - start, std::chrono::milliseconds(c.minMs));
        EXPECT_LT(p.clock.Now() - start, std::chrono::milliseconds(c.maxMs));
        EXPECT_TRUE(p.messages.empty());
        std::string text = std::exchange(p.log, {});
        ASSERT_EQ(text.substr(0, 2), "\r\n");
        text.erase(0, text.find("\r\n", 2) + 2);  // the title
        EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), c.lines);
        EXPECT_EQ(text.find("FAIL") != std::string::npos, c.verdict == "FAIL") << text;
        EXPECT_EQ(text.find("PASS") != std::string::npos, !c.verdict.empty()) << text;
        const std::vector<double>& ranges = kRanges.at(c.name);
        for (std::size_t at; (at = text.find("---")) != std::string::npos;)
            text.replace(at, 3, " ");
        static const std::regex number("-?[0-9]+(\\.[0-9]+)?");
        std::size_t k = 0;
        for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it, ++k) {
            const std::size_t at = 2 * k % ranges.size();
            EXPECT_GE(std::stod(it->str()), ranges[at]) << k;
            EXPECT_LE(std::stod(it->str()), ranges[at + 1]) << k;
        }
        EXPECT_TRUE(k > 0 && 2 * k % ranges.size() == 0) << k;
    }
}

// The numbers of a result text, in order ("---" between two frequencies is no minus sign).
std::vector<double> Numbers(std::string text) {
    for (std::size_t at; (at = text.find("---")) != std::string::npos;) text.replace(at, 3, " ");
    static const std::regex number("-?[0-9]+(\\.[0-9]+)?");
    std::vector<double> numbers;
    for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it)
        numbers.push_back(std::stod(it->str()));
    return numbers;
}

// Another bench: the transmitters sit at the set-up's carriers and the analyzer listens at its
// address; the results are those of the default bench, moved to the new carriers. A bench that
// changes between two measurements (the window's set-up dialog) moves the signals with it.
TEST(SimulatorEndToEnd, TransmittersAtTheSetUpsCarriers) {
    SimulatedBench bench{2140e6, 5180e6, 2462e6, 1, 18};
    SimulatedProgram program({}, &bench);
    program.context.setup = {2140e6, 5180e6, 2462e6, -10.0, {1, 18}, {}, std::nullopt};
    struct Case {
        std::string_view name;
        double lowMHz, highMHz;  // of every frequency in the result lines
        std::size_t frequencies;
    };
    for (const Case& c : {Case{"obw", 2139.97, 2140.03, 1}, Case{"sem", 2132, 2148, 24},
                          Case{"sem-11a", 5141, 5219, 30}, Case{"sem-11b", 2423, 2501, 18}}) {
        SCOPED_TRACE(std::string(c.name));
        for (const auto& entry : MeasurementCatalog())
            if (entry.name == c.name) {
                EXPECT_EQ(entry.run(program.context).outcome, MeasurementOutcome::Completed);
            }
        const std::string text = std::exchange(program.log, {});
        EXPECT_EQ(text.find("FAIL"), std::string::npos) << text;
        std::size_t frequencies = 0;
        for (const double number : Numbers(text)) {
            if (number < 1000) continue;  // levels and the bandwidth
            ++frequencies;
            EXPECT_GE(number, c.lowMHz);
            EXPECT_LE(number, c.highMHz);
        }
        EXPECT_EQ(frequencies, c.frequencies) << text;
    }
    for (const auto& name : {"ch-power", "total-power-11b"}) {
        for (const auto& entry : MeasurementCatalog())
            if (entry.name == name) entry.run(program.context);
        const auto power = Numbers(std::exchange(program.log, {}));
        ASSERT_EQ(power.size(), 1u) << name;
        EXPECT_NEAR(power[0], -10.0, 0.3) << name;
    }

    // The window's dialog moves the W-CDMA carrier back to 2 GHz and the analyzer to address 8.
    bench = SimulatedBench{};
    program.context.setup = {};
    for (const auto& entry : MeasurementCatalog())
        if (entry.name == "obw") {
            EXPECT_EQ(entry.run(program.context).outcome, MeasurementOutcome::Completed);
        }
    EXPECT_NE(program.log.find("OBW CF = 2000.0"), std::string::npos) << program.log;
    EXPECT_TRUE(program.messages.empty());
}

}  // namespace
}  // namespace kelvane::testing
