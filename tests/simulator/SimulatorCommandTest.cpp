#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "simulator/MeasurementSetupCommands.h"
#include "simulator/Quantity.h"
#include "tests/simulator/SimulatorFixture.h"

namespace kelvane::testing {
namespace {

constexpr int kCommandError = 0x20;
constexpr int kExecutionError = 0x10;

TEST(SimulatorCommands, NumbersTakeTheirUnitSuffixes) {
    struct Case {
        const char* text;
        QuantityKind kind;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"2000000000HZ", QuantityKind::Frequency, 2e9},
        {"10e6HZ", QuantityKind::Frequency, 10e6},
        {"3.84MZ", QuantityKind::Frequency, 3.84e6},
        {"  9MZ", QuantityKind::Frequency, 9e6},
        {"2.5GHZ", QuantityKind::Frequency, 2.5e9},
        {"-8.5DB", QuantityKind::Level, -8.5},
        {" -14DB", QuantityKind::Level, -14.0},
        {"500MS", QuantityKind::Time, 0.5},
        {"1SC", QuantityKind::Time, 1.0},
        {"30e3", QuantityKind::Frequency, 30e3},
        {"30KZZ", QuantityKind::Frequency, std::nullopt},
        {"5DB", QuantityKind::Frequency, std::nullopt},
        {"MZ", QuantityKind::Frequency, std::nullopt},
        {"inf", QuantityKind::Plain, std::nullopt},
        {"1e999", QuantityKind::Plain, std::nullopt},
        {"1.5.5MZ", QuantityKind::Frequency, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto value = Quantity::Parse(c.text, c.kind);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << c.text;
        }
    }
}

// The joined forms the measurements send, one message each.
TEST(SimulatorCommands, BandwidthAndSweepTimeMessagesSetEverySetting) {
    struct Case {
        const char* message;
        double rbwHz;
        double vbwHz;
        double sweepTimeS;  // 0: auto-coupled
    };
    const Case cases[] = {
        {"RB 30e3HZ; VB 30e3HZ", 30e3, 30e3, 0},
        {"RB 300e3HZ VB 300e3HZ", 300e3, 300e3, 0},
        {"RB 100KZ; VB 30KZ; SW 500MS", 100e3, 30e3, 0.5},
        {"RB 100KZ; VB 100KZ; SW 1SC", 100e3, 100e3, 1.0},
        {"RB 300KZ; VB 300KZ", 300e3, 300e3, 0},
        {"rb 1mz;vb 3kz", 1e6, 3e3, 0},
    };
    for (const auto& c : cases) {
        SimulatorFixture bench;
        bench.SendAll({"SI", c.message});
        const auto& state = bench.analyzer.State();
        EXPECT_EQ(state.EffectiveRbwHz(), c.rbwHz) << c.message;
        EXPECT_EQ(state.EffectiveVbwHz(), c.vbwHz) << c.message;
        EXPECT_EQ(state.sweepTimeAuto, c.sweepTimeS == 0) << c.message;
        if (c.sweepTimeS != 0) {
            EXPECT_EQ(state.EffectiveSweepTimeS(), c.sweepTimeS) << c.message;
        }
        EXPECT_EQ(bench.EventStatus(), 0) << c.message;
    }
}

TEST(SimulatorCommands, SweepTimeCouplesToSpanAndBandwidths) {
    SimulatorFixture bench;
    bench.SendAll({"SI", "SP 25e6HZ", "RB 30e3HZ; VB 30e3HZ", "AS"});
    EXPECT_NEAR(bench.analyzer.State().EffectiveSweepTimeS(), 2.5 * 25e6 / (30e3 * 30e3), 1e-9);
    bench.Send("VB 3KZ");  // a narrower video filter slows the sweep
    EXPECT_NEAR(bench.analyzer.State().EffectiveSweepTimeS(), 2.5 * 25e6 / (30e3 * 3e3), 1e-9);
    bench.Send("SW 2SC");
    EXPECT_EQ(bench.analyzer.State().EffectiveSweepTimeS(), 2.0);
    bench.Send("AS");
    EXPECT_NEAR(bench.analyzer.State().EffectiveSweepTimeS(), 2.5 * 25e6 / (30e3 * 3e3), 1e-9);
}

TEST(SimulatorCommands, MaskRowsAreReadFieldByField) {
    struct Case {
        const char* row;
        MaskSegment segment;
    };
    const Case cases[] = {
        {"2.515MZ,2.715MZ, 30KZ, -14DB, -14DB, 0DB, 0DB,ABS",
         {2.515e6, 2.715e6, 30e3, -14, -14, 0, 0, true}},
        {"4.0MZ,8.0MZ, 1MZ, -13DB, -13DB, 0DB, 0DB,ABS", {4e6, 8e6, 1e6, -13, -13, 0, 0, true}},
        {" 0MZ,  9MZ, 100KZ,-8.5DB,-8.5DB,0DB, 0DB, ABS", {0, 9e6, 100e3, -8.5, -8.5, 0, 0, true}},
        {"11MZ, 20MZ, 100KZ,-28.5DB,-36.5DB,0DB, 0DB, ABS",
         {11e6, 20e6, 100e3, -28.5, -36.5, 0, 0, true}},
        {"22MZ, 39MZ, 100KZ,5DB,5DB,1DB, 2DB, rel", {22e6, 39e6, 100e3, 5, 5, 1, 2, false}},
    };
    for (const auto& c : cases) {
        const auto segment = MeasurementSetupCommands::ParseMaskSegment(c.row);
        ASSERT_TRUE(segment) << c.row;
        EXPECT_DOUBLE_EQ(segment->startOffsetHz, c.segment.startOffsetHz) << c.row;
        EXPECT_DOUBLE_EQ(segment->stopOffsetHz, c.segment.stopOffsetHz) << c.row;
        EXPECT_DOUBLE_EQ(segment->rbwHz, c.segment.rbwHz) << c.row;
        EXPECT_DOUBLE_EQ(segment->startLevelDb, c.segment.startLevelDb) << c.row;
        EXPECT_DOUBLE_EQ(segment->stopLevelDb, c.segment.stopLevelDb) << c.row;
        EXPECT_DOUBLE_EQ(segment->extraLevel1Db, c.segment.extraLevel1Db) << c.row;
        EXPECT_DOUBLE_EQ(segment->extraLevel2Db, c.segment.extraLevel2Db) << c.row;
        EXPECT_EQ(segment->absolute, c.segment.absolute) << c.row;
    }
    for (const char* bad : {"1MZ,2MZ,30KZ,-1DB,-1DB,0DB,0DB", "1MZ,2MZ,30KZ,-1DB,-1DB,0DB,0DB,XYZ",
                            "1MZ,2MZ,30KZ,-1DB,-1MS,0DB,0DB,ABS", "1MZ,,30KZ,0DB,0DB,0DB,0DB,ABS",
                            "1MZ,2MZ,30KZ,0DB,0DB,0DB,0DB,ABS,9"})
        EXPECT_FALSE(MeasurementSetupCommands::ParseMaskSegment(bad)) << bad;
}

TEST(SimulatorCommands, TablesAreLoadedClearedAndKeptOverPreset) {
    SimulatorFixture bench;
    bench.SendAll(Mask3gppSetup());
    bench.SendAll({"CSBSDEL", "CSBSIN 5MZ,3.84MZ", "CSBSIN 10MZ,3.84MZ"});
    const auto& state = bench.analyzer.State();
    ASSERT_EQ(state.maskTable.size(), 4u);
    EXPECT_EQ(state.maskTable[2].stopOffsetHz, 4e6);
    ASSERT_EQ(state.adjacentChannels.size(), 2u);
    EXPECT_EQ(state.adjacentChannels[1].offsetHz, 10e6);
    EXPECT_EQ(state.adjacentChannels[1].bandwidthHz, 3.84e6);
    bench.Send("SI");
    EXPECT_EQ(state.maskTable.size(), 4u);
    EXPECT_FALSE(state.maskOn);
    bench.SendAll({"SEMTDEL", "CSBSDEL"});
    EXPECT_TRUE(state.maskTable.empty());
    EXPECT_TRUE(state.adjacentChannels.empty());
    EXPECT_EQ(bench.EventStatus(), 0);
}

TEST(SimulatorCommands, SwitchesFollowTheirWords) {
    SimulatorFixture bench;
    const auto& state = bench.analyzer.State();
    const std::pair<const char*, std::function<bool()>> cases[] = {
        {"SEMON", [&] { return state.maskOn; }},
        {"OBWON", [&] { return state.obwOn; }},
        {"ACP", [&] { return state.acpOn; }},
        {"PMEASAVG", [&] { return state.powerAveragingOn; }},
    };
    for (const auto& [header, isOn] : cases) {
        const std::string on =
            std::string(header) + (std::string(header) == "PMEASAVG" ? " ON" : "");
        bench.Send(on);
        EXPECT_TRUE(isOn()) << on;
        bench.Send(std::string(header) + " OFF");
        EXPECT_FALSE(isOn()) << header;
    }
    EXPECT_EQ(bench.EventStatus(), 0);
}

TEST(SimulatorCommands, FaultyCommandsFlagErrorsAndChangeNothing) {
    struct Case {
        std::string message;
        int eventStatus;
    };
    const Case cases[] = {
        {"FOO", kCommandError},
        {"CF", kCommandError},
        {"CF abc", kCommandError},
        {"CF 2GHZZ", kCommandError},
        {"CF 5DB", kCommandError},
        {"DET WIDE", kCommandError},
        {"DETAA MAYBE", kCommandError},
        {"SEMTIN 1MZ,2MZ", kCommandError},
        {"CSBSIN 5MZ", kCommandError},
        {"TS,", kCommandError},
        {",", kCommandError},
        {std::string("\x01\xff\0", 3), kCommandError},
        {"SEMTIN 2MZ,1MZ,30KZ,0DB,0DB,0DB,0DB,ABS", kExecutionError},
        {"SP -5MZ", kExecutionError},
        {"RB 0HZ", kExecutionError},
        {"AG 2.5", kExecutionError},
        {"OBWPER 150", kExecutionError},
        {"*SRE 300", kExecutionError},
        {"SEM?", kExecutionError},  // mask measurement off
        {"OBW?", kExecutionError},
        {"ACP?", kExecutionError},
        {"PWCH?", kExecutionError},
        {"ML?", kExecutionError},  // no marker
        {"", 0},
        {" ; ;", 0},
    };
    for (const auto& c : cases) {
        SimulatorFixture bench;
        const InstrumentState before = bench.analyzer.State();
        bench.Send(c.message);
        EXPECT_EQ(bench.EventStatus(), c.eventStatus) << c.message;
        EXPECT_EQ(bench.EventStatus(), 0) << "read clears: " << c.message;
        const auto& after = bench.analyzer.State();
        EXPECT_EQ(after.centerHz, before.centerHz) << c.message;
        EXPECT_EQ(after.spanHz, before.spanHz) << c.message;
        EXPECT_EQ(after.detector, before.detector) << c.message;
        EXPECT_EQ(after.maskTable.size(), before.maskTable.size()) << c.message;
    }
}

TEST(SimulatorCommands, CommandsBeforeAnErrorStand) {
    SimulatorFixture bench;
    bench.Send("SI");
    bench.Send("RB 10KZ; BOGUS 1; VB 10KZ");
    EXPECT_EQ(bench.analyzer.State().EffectiveRbwHz(), 10e3);
    EXPECT_TRUE(bench.analyzer.State().vbwAuto);
    EXPECT_EQ(bench.EventStatus(), kCommandError);
}

}  // namespace
}  // namespace kelvane::testing
