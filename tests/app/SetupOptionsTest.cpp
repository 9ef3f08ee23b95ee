// The set-up options: what each accepts, what it refuses with which line, and the command line
// that carries them.
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/SetupOptions.h"
#include "app/SetupText.h"
#include "app/WindowCaption.h"

namespace kelvane {
namespace {

TEST(SetupOptions, FrequenciesWithAndWithoutAUnit) {
    const std::pair<std::string, std::optional<double>> cases[]{
        {"2140MHz", 2140e6},       {"2.14GHz", 2.14e9},     {"2140e6", 2140e6},
        {"2140000000", 2140e6},    {"2140mhz", 2140e6},     {"2140 MHz", 2140e6},
        {"5180MHZ", 5180e6},       {"800kHz", 800e3},       {"12Hz", 12.0},
        {"+2.4GHz", 2.4e9},        {".5GHz", 0.5e9},        {"1e9hz", 1e9},
        {"MHz", std::nullopt},     {"", std::nullopt},      {"2140M", std::nullopt},
        {"2,14GHz", std::nullopt}, {"inf", std::nullopt},   {"nanHz", std::nullopt},
        {"0x10", std::nullopt},    {"1e", std::nullopt},    {"2140MHzz", std::nullopt},
        {"+-5", std::nullopt},     {"1e999", std::nullopt},
    };
    for (const auto& [text, hz] : cases) EXPECT_EQ(SetupOptions::FrequencyHz(text), hz) << text;
}

// Each option: a value and what the set-up holds after it, or the line that refuses it.
TEST(SetupOptions, RangesAndTheirLines) {
    struct Case {
        const char* option;
        const char* value;
        std::string refusal;  // empty: accepted
    };
    const std::string frequency =
        "is not a frequency above 0 Hz and up to 50 GHz (e.g. 2140MHz, 2.14GHz, 2140e6)";
    const std::vector<Case> cases{
        {"--wcdma-center", "2110MHz", ""},
        {"--wcdma-center", "50GHz", ""},
        {"--wcdma-center", "50.000001GHz", "--wcdma-center: '50.000001GHz' " + frequency},
        {"--wcdma-center", "0", "--wcdma-center: '0' " + frequency},
        {"--wcdma-center", "-2140MHz", "--wcdma-center: '-2140MHz' " + frequency},
        {"--wlan-11a-center", "5.18GHz", ""},
        {"--wlan-11b-center", "2462e6", ""},
        {"--ref-level", "-150", ""},
        {"--ref-level", "60", ""},
        {"--ref-level", "-10.5", ""},
        {"--ref-level", "60.01",
         "--ref-level: '60.01' is not a reference level from -150 to +60 dB"},
        {"--ref-level", "-151", "--ref-level: '-151' is not a reference level from -150 to +60 dB"},
        {"--ref-level", "nan", "--ref-level: 'nan' is not a reference level from -150 to +60 dB"},
        {"--ref-level", "10dB", "--ref-level: '10dB' is not a reference level from -150 to +60 dB"},
        {"--board", "15", ""},
        {"--board", "16", "--board: '16' is not a GPIB board index from 0 to 15"},
        {"--board", "-1", "--board: '-1' is not a GPIB board index from 0 to 15"},
        {"--address", "0", ""},
        {"--address", "30", ""},
        {"--address", "31", "--address: '31' is not a primary address from 0 to 30"},
        {"--address", "8.0", "--address: '8.0' is not a primary address from 0 to 30"},
        {"--address", "99999999999",
         "--address: '99999999999' is not a primary address from 0 to 30"},
    };
    for (const auto& c : cases) {
        MeasurementSetup setup;
        EXPECT_EQ(SetupOptions::Apply(c.option, c.value, setup), c.refusal)
            << c.option << " " << c.value;
        if (!c.refusal.empty()) {
            EXPECT_EQ(setup, MeasurementSetup{}) << "a refused value is kept";
        }
    }
    MeasurementSetup setup;
    for (const auto& [option, value] : {std::pair{"--wcdma-center", "2.14GHz"},
                                        {"--wlan-11a-center", "5180MHz"},
                                        {"--wlan-11b-center", "2462MHz"},
                                        {"--ref-level", "-10"},
                                        {"--board", "1"},
                                        {"--address", "18"}})
        ASSERT_EQ(SetupOptions::Apply(option, value, setup), "");
    EXPECT_EQ(setup, (MeasurementSetup{2140e6, 5180e6, 2462e6, -10.0, {1, 18}, {}, std::nullopt}));
}

// The arguments split at blanks: the set-up, or the error and whether the usage line follows.
std::string Parse(const std::string& arguments) {
    std::istringstream in(arguments);
    std::vector<std::string> split;
    for (std::string argument; in >> argument;) split.push_back(argument);
    const CommandLine parsed(split);
    if (!parsed.Error().empty())
        return parsed.Error() + (parsed.ErrorWantsUsage() ? " +usage" : "");
    return SetupDescription(parsed.Setup());
}

TEST(SetupOptions, OnTheCommandLine) {
    const std::string standard =
        "W-CDMA 2000 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz, reference level 0 dB, GPIB board "
        "0, address 8";
    const std::pair<std::string, std::string> cases[]{
        {"", standard},
        {"--measure acp --wcdma-center 2140MHz --ref-level -10 --board 1 --address 18",
         "W-CDMA 2140 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz, reference level -10 dB, GPIB "
         "board 1, address 18"},
        {"--wlan-11a-center=5.18GHz --wlan-11b-center=2462e6",
         "W-CDMA 2000 MHz, 802.11a 5180 MHz, 802.11b 2462 MHz, reference level 0 dB, GPIB board "
         "0, address 8"},
        {"--board 2 --board 3",
         standard.substr(0, standard.find("GPIB")) + "GPIB board 3, address 8"},
        {"--board", "--board needs a GPIB board index from 0 to 15"},
        {"--ref-level --measure obw", "--ref-level needs a reference level from -150 to +60 dB"},
        {"--address=", "--address: '' is not a primary address from 0 to 30"},
        {"--board 16 --bogus", "--board: '16' is not a GPIB board index from 0 to 15"},
        {"--bogus --board 16", "unknown option '--bogus' +usage"},
        {"--bus lan:192.0.2.7 --board 1",
         "--board: an adapter (--bus lan:192.0.2.7) has no board index; leave it 0"},
        {"--simulate --board 1 --address 18",
         standard.substr(0, standard.find("GPIB")) + "GPIB board 1, address 18"},
    };
    for (const auto& [arguments, parse] : cases) EXPECT_EQ(Parse(arguments), parse) << arguments;
}

TEST(SetupOptions, TheCaptionShowsWhatDiffersFromTheDefaults) {
    EXPECT_EQ(WindowCaption(false, "gpib", {}), "Kelvane (V1.2)");
    EXPECT_EQ(WindowCaption(true, "gpib", {2140e6, 5005e6, 2412e6, -10.0, {0, 18}, {}, std::nullopt}),
              "Kelvane (V1.2) [simulated analyzer] - W-CDMA 2140 MHz, reference level -10 dB, "
              "address 18");
    EXPECT_EQ(WindowCaption(false, "usb:/dev/ttyUSB0", {2000e6, 5180e6, 2412.5e6, 0.0, {1, 8}, {}, std::nullopt}),
              "Kelvane (V1.2) [usb:/dev/ttyUSB0] - 802.11a 5180 MHz, 802.11b 2412.5 MHz, GPIB "
              "board 1");
}

}  // namespace
}  // namespace kelvane
