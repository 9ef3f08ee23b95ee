#include "app/HelpText.h"

#include "app/Usage.h"
#include "app/databases/DatabaseOptions.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/SystemFeatures.h"

namespace kelvane {

namespace {

// The database targets, --journal, --sync and --history; empty in a build without them.
std::string DatabaseHelp() {
    if (!DatabaseOptions::kAvailable) return {};
    return "                    FILE.sqlite or FILE.db: a station's SQLite database;\n"
           "                    postgresql://USER@HOST[:PORT]/DB: the line's database (password\n"
           "                    from PGPASSWORD or ~/.pgpass), each record kept first in the\n"
           "                    journal, then uploaded\n"
           "  --journal FILE    the journal of postgresql:// targets and --sync\n"
           "                    [$XDG_DATA_HOME/kelvane/journal.sqlite]\n"
           "  --sync URL        upload the records that wait in the journal for URL\n"
           "  --history TARGET  print the history kept in an SQLite file or postgresql:// URL:\n"
           "                    per measurement runs, DUTs, pass, fail, first-pass yield, and\n"
           "                    per value min, mean, max, std dev, worst margin and Cpk\n";
}

std::string HistorySelection() {
    if (!DatabaseOptions::kAvailable) return {};
    return "\n"
           "SELECTION, for --history:\n"
           "  --since DATE            records started from DATE on, YYYY-MM-DD[THH:MM[:SS]] UTC\n"
           "  --station NAME          of this station only\n"
           "  --measurement NAME      of this measurement only\n"
           "  --history-by station    a section per measurement and station\n"
           "  --history-format csv    CSV instead of aligned text\n";
}

}  // namespace

std::string HelpText(bool windowAvailable, bool chartsAvailable) {
    std::string names;
    for (const auto& entry : MeasurementCatalog()) names += std::string(entry.name) + ", ";
    names += "all";
    // Only what this build offers: a build without Qt has no window, one without the adapter
    // streams reaches the analyzer through the GPIB library only.
    const std::string adapters =
        kAdapterStreamsAvailable
            ? "                      lan:HOST[:PORT]  a GPIB-ETHERNET adapter (port 1234)\n"
              "                      usb:DEVICE       a GPIB-USB adapter, e.g. usb:/dev/ttyUSB0\n"
            : "";
    return UsageLine() + "\n\n" +
           (windowAvailable ? "Without --measure, opens the measurement window.\n"
                            : "This build has no window: name the measurements with --measure.\n") +
           "\n"
           "  --simulate        talk to the built-in simulated analyzer instead of the GPIB "
           "driver\n"
           "  --bus WHERE       how the analyzer is reached (default: KELVANE_BUS, else gpib):\n"
           "                      gpib             the system's GPIB library\n" +
           adapters +
           "  --trace FILE      append every driver call of the run to FILE\n"
           "  --results FILE    append a record of each measurement to FILE: JSON Lines, or CSV\n"
           "                    when FILE ends in .csv; with limits, margins and verdicts\n" +
           DatabaseHelp() +
           "  --measure NAME    run a measurement without a window and write its log to standard\n"
           "                    output; repeat it to run several, in the order given\n"
           "  --repeat N        run the named measurements N times (1 to " +
           std::to_string(kMaxRepeat) + "), then a summary\n" +
           std::string(chartsAvailable
                           ? "  --charts FOLDER   write a chart of each mask, ACP and OBW run into "
                             "FOLDER as\n"
                             "                    SVG, named <measurement>-<UTC time>.svg\n"
                             "  --charts-png      a PNG picture beside each SVG chart\n"
                           : "") +
           "  --report FILE     write one HTML test report of the run into FILE at its end: the\n"
           "                    DUT, set-up, verdicts, values with limits and margins, logs" +
           (chartsAvailable ? ",\n                    charts\n" : "\n") +
           "  --help            print this help\n"
           "  --version         print the version\n"
           "\n"
           "NAME: " +
           names +
           " (all seven, in this order).\n"
           "\n"
           "SET-UP (defaults in brackets; FREQ: a number in Hz, or with kHz, MHz or GHz: "
           "2140MHz;\n"
           "DBM and DB: a number with an optional dBm or dB: 10dBm, -3dB):\n"
           "  --wcdma-center FREQ     the W-CDMA carrier, 12.5MHz to 50GHz [2000MHz]\n"
           "  --wlan-11a-center FREQ  the 802.11a carrier, 40MHz to 50GHz [5005MHz]\n"
           "  --wlan-11b-center FREQ  the 802.11b carrier, 40MHz to 50GHz [2412MHz]\n"
           "  --ref-level DBM         the analyzer's reference level, -150 to 60 dBm [0]\n"
           "  --board N               the PC's GPIB board, 0 to 15 [0]\n"
           "  --address N             the analyzer's primary address, 0 to 30 [8]\n"
           "  --path-loss DB          the loss from the DUT to the analyzer, -50 to 100 dB, a\n"
           "                          gain negative; levels are then judged at the DUT [none]\n"
           "  --path-loss-table FILE  the loss by frequency instead: CSV lines of FREQ,DB, at\n"
           "                          least two, in rising frequency (a header line may lead),\n"
           "                          covering each carrier measured +/- 12.5 or 40 MHz\n"
           "  --bs-power DBM          the base station's rated power, -20 to 80 dBm [none]\n"
           "Each may be given once. Whose measurements they are, for the records (at most 200\n"
           "bytes, no control characters):\n"
           "  --dut SERIAL            the DUT's serial number [none]\n"
           "  --operator NAME         who measures [none]\n"
           "  --station NAME          the test station [this computer's name]\n" +
           HistorySelection() +
           "\n"
           "Exit status of a batch run: 0 every measurement completed, 1 a measurement logged a\n"
           "failure or a warning, 2 usage error, 3 the GPIB driver could not be loaded or\n"
           "registered, 4 the log, the trace, a record, a chart or the report could not be\n"
           "written.\n" +
           std::string(DatabaseOptions::kAvailable
                           ? "--sync: 0 nothing waits, 1 records still wait (the server could not "
                             "be reached\nor refused some); --history: 0 printed, 1 the server "
                             "could not be reached.\n"
                           : "");
}

}  // namespace kelvane
