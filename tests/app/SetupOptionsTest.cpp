// The set-up options: what each accepts, what it refuses with which line, and the command line
// that carries them.
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
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
        "is not a frequency from 12.5 MHz to 50 GHz (e.g. 2140MHz, 2.14GHz, 2140e6)";
    const std::string level = "is not a reference level from -150 to +60 dBm";
    const std::vector<Case> cases{
        {"--wcdma-center", "50GHz", ""},
        {"--wcdma-center", "50.000001GHz", "--wcdma-center: '50.000001GHz' " + frequency},
        {"--wcdma-center", "0", "--wcdma-center: '0' " + frequency},
        {"--wcdma-center", "-2140MHz", "--wcdma-center: '-2140MHz' " + frequency},
        // The analyzer would sweep below 0 Hz: ACP spans 25 MHz, the WLAN masks 80 MHz.
        {"--wcdma-center", "2140", "--wcdma-center: '2140' " + frequency},
        {"--wcdma-center", "12.5MHz", ""},
        {"--wlan-11a-center", "5.18GHz", ""},
        {"--wlan-11a-center", "40MHz", ""},
        {"--wlan-11a-center", "39.99MHz",
         "--wlan-11a-center: '39.99MHz' is not a frequency from 40 MHz to 50 GHz (e.g. 5180MHz, "
         "5.18GHz, 5180e6)"},
        {"--wlan-11b-center", "2462e6", ""},
        // A control character is shown, not obeyed: the line stays one line.
        {"--wcdma-center", "2140\nMHz\x7f", "--wcdma-center: '2140\\x0aMHz\\x7f' " + frequency},
        {"--ref-level", "-150", ""},
        {"--ref-level", "60", ""},
        {"--ref-level", "-10.5", ""},
        {"--ref-level", "10dBm", ""},
        {"--ref-level", "-20.5 DBM", ""},
        {"--ref-level", "60.01", "--ref-level: '60.01' " + level},
        {"--ref-level", "-151", "--ref-level: '-151' " + level},
        {"--ref-level", "nan", "--ref-level: 'nan' " + level},
        {"--ref-level", "10dB", "--ref-level: '10dB' " + level},
        {"--path-loss", "100dB", ""},
        {"--path-loss", "-50.5db",
         "--path-loss: '-50.5db' is not a path loss from -50 to +100 dB (a gain is negative)"},
        {"--path-loss", "30dBm",
         "--path-loss: '30dBm' is not a path loss from -50 to +100 dB (a gain is negative)"},
        {"--bs-power", "80dBm", ""},
        {"--bs-power", "-20.1",
         "--bs-power: '-20.1' is not a base station power from -20 to +80 dBm"},
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

// DUT, operator and station: any text of at most 200 bytes without control characters, shown
// escaped (and cut) when refused; the station not empty.
TEST(SetupOptions, TheOriginIsText) {
    const std::string longest(200, 'x');
    const std::string text =
        "is not a serial number of at most 200 bytes without control characters";
    const std::pair<std::pair<std::string, std::string>, std::string> cases[]{
        {{"--dut", ""}, ""},
        {{"--dut", longest}, ""},
        {{"--dut", longest + "y"}, "--dut: '" + std::string(60, 'x') + "...' " + text},
        {{"--dut", "SN\t42"}, "--dut: 'SN\\x0942' " + text},
        {{"--operator", "A. N. \xc3\x96ther \"x\" \\"}, ""},
        {{"--operator", "Ann\r\n"},
         "--operator: 'Ann\\x0d\\x0a' is not a name of at most 200 bytes without control "
         "characters"},
        {{"--station", ""},
         "--station: '' is not a station name of 1 to 200 bytes without control characters"},
    };
    for (const auto& [given, refusal] : cases) {
        const auto& [option, value] = given;
        RecordOrigin origin{"old", "old", "old"};
        EXPECT_EQ(SetupOptions::ApplyOrigin(option, value, origin), refusal) << option << value;
        const std::string& kept = option == "--dut"        ? origin.dut
                                  : option == "--operator" ? origin.operatorName
                                                           : origin.station;
        EXPECT_EQ(kept, refusal.empty() ? value : "old") << option << value;
    }
    // A long text is cut before a character, not inside one.
    EXPECT_EQ(SetupOptions::Shown(std::string(59, 'x') + "\xce\xa9"), std::string(59, 'x') + "...");
    // A file's name is never cut (a Windows temporary folder is longer than 60 bytes).
    const std::string file =
        "C:\\Users\\engineer\\Documents\\bench 7\\loss tables\\2140MHz\x01.csv";
    EXPECT_EQ(SetupOptions::ShownWhole(file),
              "C:\\Users\\engineer\\Documents\\bench 7\\loss tables\\2140MHz\\x01.csv");
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
        "W-CDMA 2000 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz, reference level 0 dBm, GPIB board "
        "0, address 8";
    const std::pair<std::string, std::string> cases[]{
        {"", standard},
        {"--measure acp --wcdma-center 2140MHz --ref-level -10 --board 1 --address 18",
         "W-CDMA 2140 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz, reference level -10 dBm, GPIB "
         "board 1, address 18"},
        {"--wlan-11a-center=5.18GHz --wlan-11b-center=2462e6",
         "W-CDMA 2000 MHz, 802.11a 5180 MHz, 802.11b 2462 MHz, reference level 0 dBm, GPIB board "
         "0, address 8"},
        {"--ref-level 10dBm --path-loss=30dB --bs-power 43 --measure sem",
         "W-CDMA 2000 MHz, 802.11a 5005 MHz, 802.11b 2412 MHz, reference level 10 dBm, levels at "
         "the DUT, path loss 30 dB, base station 43 dBm, GPIB board 0, address 8"},
        // Given twice, even with the same value, is a mistake: neither value is taken.
        {"--address 5 --address=5", "--address: given twice ('5' and '5'); give it once"},
        {"--dut A --measure sem --dut B", "--dut: given twice ('A' and 'B'); give it once"},
        {"--board", "--board needs a GPIB board index from 0 to 15"},
        {"--ref-level --measure obw", "--ref-level needs a reference level from -150 to +60 dBm"},
        {"--path-loss-table=", "--path-loss-table needs a file name"},
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
    EXPECT_EQ(
        WindowCaption(true, "gpib", {2140e6, 5005e6, 2412e6, -10.0, {0, 18}, {}, std::nullopt}),
        "Kelvane (V1.2) [simulated analyzer] - W-CDMA 2140 MHz, reference level -10 dBm, "
        "address 18");
    const std::vector<PathLossPoint> points{{1e9, 1}, {6e9, 3}};
    const std::tuple<PathLoss, std::optional<double>, std::string> cases[]{
        {PathLoss::Fixed(-2.5), 35.0, "levels at the DUT, path loss -2.5 dB, base station 35 dBm"},
        {PathLoss::Table(points, "/cal/3/loss.csv"),
         {},
         "levels at the DUT, path loss table loss.csv"},
        {PathLoss::Table(points, "C:\\cal\\l\n.csv"),
         {},
         "levels at the DUT, path loss table l\\x0a.csv"},
        {PathLoss::Fixed(0), 46.0, "base station 46 dBm"},
    };
    for (const auto& [loss, power, changes] : cases) {
        MeasurementSetup setup;
        setup.pathLoss = loss;
        setup.bsPowerDbm = power;
        EXPECT_EQ(WindowCaption(false, "gpib", setup), "Kelvane (V1.2) - " + changes);
    }
    EXPECT_EQ(WindowCaption(false, "usb:/dev/ttyUSB0",
                            {2000e6, 5180e6, 2412.5e6, 0.0, {1, 8}, {}, std::nullopt}),
              "Kelvane (V1.2) [usb:/dev/ttyUSB0] - 802.11a 5180 MHz, 802.11b 2412.5 MHz, GPIB "
              "board 1");
}

}  // namespace
}  // namespace kelvane
