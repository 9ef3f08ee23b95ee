// The path loss table: its text, its file, and the carriers it must cover on the command line.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/PathLossTable.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane {
namespace {

using Points = std::vector<PathLossPoint>;

TEST(PathLossTable, GoodTables) {
    const std::pair<std::string, Points> cases[]{
        {"frequency,loss\n2100MHz,1.8\n2200MHz,2.1\n", {{2100e6, 1.8}, {2200e6, 2.1}}},
        // CR LF, blank lines, blanks around the fields, units in any case, no last line end.
        {"Frequency (Hz), Loss (dB)\r\n\r\n 2.1GHz , 1.8 dB\r\n  \r\n2200e6,2.1DB",
         {{2100e6, 1.8}, {2200e6, 2.1}}},
        // Without a header; a gain is negative; a spreadsheet's byte order mark.
        {"\xef\xbb\xbf"
         "0,0\n1000000kHz,-3\n6GHz,100\n",
         {{0, 0}, {1e9, -3}, {6e9, 100}}},
    };
    for (const auto& [text, points] : cases) {
        const PathLossTable::Parsed parsed = PathLossTable::Parse(text);
        EXPECT_EQ(parsed.problem, "") << text;
        EXPECT_EQ(parsed.points, points) << text;
    }
    // Read between its rows: 2150 MHz lies half way from 1.8 dB to 2.1 dB.
    const auto table = PathLoss::Table(PathLossTable::Parse(cases[0].first).points, "t.csv");
    EXPECT_DOUBLE_EQ(table.At(2150e6), 1.95);
}

TEST(PathLossTable, BadTablesNameTheLine) {
    const std::pair<std::string, std::string> cases[]{
        {"f,l\n2100MHz,1.8\n2200MHz\n", "line 3: a frequency and a loss expected, not 1 fields"},
        {"f,l\n\n2100MHz,1.8\nabout 2.2GHz,2.1\n",
         "line 4: 'about 2.2GHz' is not a frequency (e.g. 2140MHz, 2.14GHz, 2140e6)"},
        {"2100MHz,1.8\r\n2200MHz,2.1dBm\x1b\r\n",
         "line 2: '2.1dBm\\x1b' is not a loss from -50 to +100 dB"},
        {"h\n2100MHz,1.8\n\n2.1GHz,2.1\n",
         "line 4: 2100 MHz is not above the 2100 MHz of line 2; the frequencies must rise"},
        {"frequency,loss\n2100MHz,1.8\n", "1 row of frequency and loss; a table needs at least 2"},
        {"", "0 rows of frequency and loss; a table needs at least 2"},
    };
    for (const auto& [text, problem] : cases) {
        const PathLossTable::Parsed parsed = PathLossTable::Parse(text);
        EXPECT_EQ(parsed.problem, problem) << text;
        EXPECT_TRUE(parsed.points.empty()) << text;
    }
}

// The command line with a table file: taken when it covers the carriers of what runs (in the
// window, all three), else refused in one line naming the file.
TEST(PathLossTable, OnTheCommandLine) {
    testing::TemporaryFolder folder;
    const std::string table = (folder.Path() / "loss.csv").string();
    std::ofstream(table, std::ios::binary) << "f,l\r\n1.9GHz,1\r\n2.5GHz,2\r\n2.2GHz,1\r\n";
    const auto parse = [&table](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "--path-loss-table=" + table);
        const CommandLine parsed(arguments);
        return parsed.Error().empty()
                   ? "rows " + std::to_string(parsed.Setup().pathLoss.Points().size())
                   : parsed.Error();
    };
    const std::string named = "--path-loss-table \"" + table + "\"";
    EXPECT_EQ(parse({}), named +
                             " line 4: 2200 MHz is not above the 2500 MHz of line 3; the "
                             "frequencies must rise");
    std::ofstream(table, std::ios::binary) << "f,l\r\n1.9GHz,1\r\n2.5GHz,2\r\n";
    const std::pair<std::vector<std::string>, std::string> cases[]{
        {{"--measure", "ch-power", "--measure", "total-power-11b"}, "rows 2"},
        {{"--measure", "acp", "--wcdma-center", "1912.5MHz"}, "rows 2"},
        {{"--measure", "acp", "--wcdma-center", "1912.4MHz"},
         named + " covers 1900 MHz to 2500 MHz, not 1899.9 MHz to 1924.9 MHz around the W-CDMA "
                 "carrier"},
        {{"--measure", "sem-11b", "--wlan-11b-center", "2462MHz"},
         named + " covers 1900 MHz to 2500 MHz, not 2422 MHz to 2502 MHz around the 802.11b "
                 "carrier"},
        {{},
         named + " covers 1900 MHz to 2500 MHz, not 4965 MHz to 5045 MHz around the 802.11a "
                 "carrier"},
        {{"--wlan-11a-center", "2300MHz"}, "rows 2"},
        {{"--path-loss", "3", "--measure", "obw"},
         "--path-loss and --path-loss-table exclude each other; give one of them"},
    };
    for (const auto& [arguments, parsed] : cases) EXPECT_EQ(parse(arguments), parsed) << parsed;
    for (const auto& [file, reason] :
         {std::pair{folder.Path() / "none.csv", ": cannot open it: No such file or directory"},
          {folder.Path(), ": is a folder, not a file"}}) {
        PathLoss loss = PathLoss::Fixed(7);
        EXPECT_EQ(PathLossTable::Read(file.string(), loss),
                  "--path-loss-table \"" + file.string() + "\"" + reason);
        EXPECT_EQ(loss, PathLoss::Fixed(7)) << "a refused table is not taken";
    }
}

}  // namespace
}  // namespace kelvane
