#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "bus/AnalyzerSession.h"
#include "bus/EventPump.h"
#include "bus/GpibBinding.h"
#include "bus/VirtualClock.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementCatalog.h"
#include "simulator/SimulatedAnalyzer.h"

namespace kelvane::testing {
namespace {

using std::chrono::milliseconds;

class StringLog : public LogSink {
public:
    void AppendResult(const std::string& text) override { text_ += text; }
    // The lines written since the last call, without their CR LF.
    std::vector<std::string> TakeLines() {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text_.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(text_.substr(start, end - start));
        text_.clear();
        return lines;
    }

private:
    std::string text_;
};

// The program's bus stack over the simulated analyzer, with a virtual clock.
class SimulatedProgram {
public:
    explicit SimulatedProgram(SimulatorOptions options = {})
        : binding_(
              [this, options] {
                  return DriverLoad{std::make_unique<SimulatedAnalyzer>(clock, 1, options), {}};
              },
              [this](const std::string& message) { messages.push_back(message); }) {}

    // Runs one catalog measurement; its log lines after the title, and the analyzer time it took.
    std::vector<std::string> Run(std::string_view name, std::chrono::nanoseconds* took = nullptr) {
        for (const auto& entry : MeasurementCatalog()) {
            if (entry.name != name) continue;
            const auto start = clock.Now();
            EXPECT_EQ(entry.run(context_), MeasurementOutcome::Completed) << name;
            if (took != nullptr) *took = clock.Now() - start;
            auto lines = log_.TakeLines();
            EXPECT_GE(lines.size(), 2u) << name;
            if (lines.size() < 2) return {};
            EXPECT_EQ(lines[0], "") << name;
            return {lines.begin() + 2, lines.end()};
        }
        ADD_FAILURE() << "no measurement " << name;
        return {};
    }

    VirtualClock clock;
    std::vector<std::string> messages;

private:
    NoEventPump events_;
    StringLog log_;
    GpibBinding binding_;
    AnalyzerSession session_{binding_};
    MeasurementContext context_{session_, log_, clock, events_};
};

// The number behind a label: "OBW = 4.167MHz" gives 4.167 for "OBW = ".
double After(const std::string& line, const std::string& label) {
    const auto at = line.find(label);
    EXPECT_NE(at, std::string::npos) << line;
    return at == std::string::npos ? 0.0 : std::stod(line.substr(at + label.size()));
}

// The numbers of a mask line: start, stop and peak in MHz, level in dBm, relative level in dB.
std::vector<double> MaskLineNumbers(std::string line) {
    for (std::size_t at; (at = line.find("MHz---")) != std::string::npos;) line.replace(at, 6, "|");
    for (std::size_t at; (at = line.find(", ")) != std::string::npos;) line.replace(at, 2, "|");
    std::vector<double> numbers;
    std::size_t start = 0;
    for (int field = 0; field < 5; ++field) {
        numbers.push_back(std::stod(line.substr(start)));
        start = line.find('|', start) + 1;
    }
    return numbers;
}

void ExpectMaskLines(const std::vector<std::string>& lines, std::size_t rows, double centerMhz,
                     double reachMhz, const char* verdict) {
    ASSERT_EQ(lines.size(), rows + 1);
    EXPECT_EQ(lines[0], " START F      STOP F       FREQ.      ABS LEV   REL LEV");
    bool anyVerdict = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto n = MaskLineNumbers(lines[i]);
        EXPECT_GE(n[0], centerMhz - reachMhz) << lines[i];
        EXPECT_LE(n[1], centerMhz + reachMhz) << lines[i];
        EXPECT_LT(n[0], n[1]) << lines[i];
        EXPECT_GE(n[2], n[0]) << lines[i];
        EXPECT_LE(n[2], n[1]) << lines[i];
        EXPECT_LT(n[3], 0.0) << lines[i];
        if (verdict != nullptr)
            anyVerdict =
                anyVerdict || lines[i].find(std::string("P/F = ") + verdict) != std::string::npos;
    }
    if (verdict != nullptr) {
        EXPECT_TRUE(anyVerdict) << verdict;
    }
}

TEST(SimulatorEndToEnd, AllSevenMeasurementsGivePlausibleResults) {
    SimulatedProgram program;

    const auto chPower = program.Run("ch-power");
    ASSERT_EQ(chPower.size(), 1u);
    EXPECT_NEAR(After(chPower[0], "ChPower = "), -10.21, 0.06);

    const auto obw = program.Run("obw");
    ASSERT_EQ(obw.size(), 2u);
    EXPECT_NEAR(After(obw[0], "OBW = "), 4.166, 0.03);
    EXPECT_NEAR(After(obw[1], "OBW CF = "), 2000.0, 0.03);

    const auto acp = program.Run("acp");
    ASSERT_EQ(acp.size(), 3u);
    const double carrier = After(acp[2], "ACP (Carr pow.) = ");
    EXPECT_NEAR(carrier, -10.18, 0.05);
    for (int pair = 0; pair < 2; ++pair) {
        const std::string& line = acp[static_cast<std::size_t>(pair)];
        EXPECT_NEAR(After(line, ") = "), pair == 0 ? -5.0 : -10.0, 1e-9) << line;
        EXPECT_NEAR(After(line, ": "), pair == 0 ? 5.0 : 10.0, 1e-9) << line;
        const double lower = After(line, "MHz ");
        const double upper = After(line.substr(line.find(':')), "MHz ");
        for (double level : {lower, upper}) {
            EXPECT_GT(level, pair == 0 ? -60.0 : -70.0) << line;
            EXPECT_LT(level, pair == 0 ? -50.0 : -60.0) << line;
        }
    }

    ExpectMaskLines(program.Run("sem"), 8, 2000.0, 8.0, nullptr);
    const auto sem11a = program.Run("sem-11a");
    ExpectMaskLines(sem11a, 10, 5005.0, 39.0, "PASS");
    for (std::size_t i = 1; i < sem11a.size(); ++i)
        EXPECT_NE(sem11a[i].find("P/F = PASS"), std::string::npos) << sem11a[i];
    const auto sem11b = program.Run("sem-11b");
    ExpectMaskLines(sem11b, 6, 2412.0, 39.0, "PASS");
    for (std::size_t i = 1; i < sem11b.size(); ++i)
        EXPECT_NE(sem11b[i].find("P/F = PASS"), std::string::npos) << sem11b[i];

    const auto total = program.Run("total-power-11b");
    ASSERT_EQ(total.size(), 1u);
    EXPECT_NEAR(After(total[0], "ChPower = "), -10.0, 0.1);
    EXPECT_TRUE(program.messages.empty());
}

TEST(SimulatorEndToEnd, RaisedRegrowthFailsTheWlanMasks) {
    SimulatorOptions options;
    options.regrowthRaiseDb = 10.0;
    SimulatedProgram program(options);
    ExpectMaskLines(program.Run("sem-11a"), 10, 5005.0, 39.0, "FAIL");
    ExpectMaskLines(program.Run("sem-11b"), 6, 2412.0, 39.0, "FAIL");
}

TEST(SimulatorEndToEnd, MeasurementsTakeTheAnalyzersTime) {
    struct Case {
        const char* name;
        std::chrono::nanoseconds atLeast;
        std::chrono::nanoseconds below;
    };
    const Case cases[] = {
        {"ch-power", milliseconds(50), milliseconds(70)},     // 10 sweeps of 5 ms
        {"obw", milliseconds(277), milliseconds(300)},        // 10 x 27.8 ms
        {"acp", milliseconds(694), milliseconds(710)},        // 10 x 69.4 ms
        {"sem-11a", milliseconds(1000), milliseconds(1010)},  // two sweeps of 500 ms
        {"sem-11b", milliseconds(2000), milliseconds(2010)},  // two sweeps of 1 s
        {"total-power-11b", milliseconds(1000), milliseconds(1010)},
    };
    SimulatedProgram program;
    for (const auto& c : cases) {
        std::chrono::nanoseconds took{0};
        program.Run(c.name, &took);
        EXPECT_GE(took, c.atLeast) << c.name;
        EXPECT_LT(took, c.below) << c.name;
    }
}

}  // namespace
}  // namespace kelvane::testing
