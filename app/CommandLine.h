#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Usage.h"
#include "app/bus/BusChoice.h"
#include "app/databases/DatabaseOptions.h"
#include "measurements/MeasurementSetup.h"
#include "results/RecordOrigin.h"

namespace kelvane {

struct CatalogEntry;

// The program's arguments:
//   kelvane [--simulate | --bus WHERE] [--trace FILE] [--results FILE]... [SET-UP]...
//           [--repeat N] [--charts FOLDER [--charts-png]] [--report FILE] [--measure NAME]...
//       the window, or the named measurements in batch (N times over)
//   kelvane --sync URL [--journal FILE]
//   kelvane --history TARGET [--since DATE] [--station NAME] [--measurement NAME]
//           [--history-by station] [--history-format text|csv]
//   kelvane --help | --version
// SET-UP: the options of SetupOptions (carrier frequencies, reference level, board, address,
// path loss, base station power; DUT, operator, station), and --path-loss-table FILE
// (PathLossTable), each at most once. A table is read here, and must cover the carriers of the
// named measurements (in the window: all three). NAME is a measurement's batch name or "all" (the
// seven in the window's order). WHERE is a BusChoice; without --bus it comes from the environment
// variable KELVANE_BUS, else "gpib". The database actions and options: DatabaseOptions.
class CommandLine {
public:
    enum class Action {
        Window,      // open the window
        Batch,       // run Measurements() without a window
        Help,        // print HelpText()
        Version,     // print the version
        UsageError,  // print Error() and UsageLine(), exit with status 2
        Sync,        // upload what waits in the journal (Databases())
        History,     // print the line's history (Databases())
    };

    // arguments: without the program name. busVariable: the value of KELVANE_BUS, or null.
    explicit CommandLine(const std::vector<std::string>& arguments,
                         const char* busVariable = nullptr);

    Action WhatToDo() const { return action_; }
    // Use the simulated analyzer instead of the system's GPIB driver.
    bool Simulate() const { return simulate_; }
    // The bus, when not simulated.
    const BusChoice& Bus() const { return bus_; }
    // The file that gets the bus trace; empty: no trace.
    const std::string& TracePath() const { return tracePath_; }
    // The targets that get a record of each measurement (--results, any number), in order.
    const std::vector<std::string>& ResultsPaths() const { return resultsPaths_; }
    // The folder that gets a chart of each charted measurement of a batch run; empty: none.
    const std::string& ChartsFolder() const { return chartsFolder_; }
    // A PNG picture beside each SVG chart.
    bool ChartsPng() const { return chartsPng_; }
    // The file that gets the batch run's HTML report at its end; empty: none.
    const std::string& ReportPath() const { return reportPath_; }
    // How many times the batch runs its measurements (--repeat), 1 to kMaxRepeat (Usage.h).
    int Repeat() const { return repeat_; }
    // The measurements in the order to run, "all" expanded; entries of MeasurementCatalog().
    const std::vector<const CatalogEntry*>& Measurements() const { return measurements_; }
    // The bench's set-up: the defaults unless set-up options were given.
    const MeasurementSetup& Setup() const { return setup_; }
    // Whose measurements they are: --dut and --operator (empty unless given), --station (this
    // computer's name unless given).
    const RecordOrigin& Origin() const { return origin_; }
    // --journal, --sync, --history and the history's selection.
    const DatabaseOptions& Databases() const { return databases_; }
    // What was wrong, for a usage error, and whether the usage line should follow it (a set-up
    // value's reason names its option and range already).
    const std::string& Error() const { return error_; }
    bool ErrorWantsUsage() const { return errorWantsUsage_; }

private:
    void AddMeasurement(const std::string& name);
    void SetError(std::string error, bool withUsage = true);
    // A set-up option at argument i ("--board 3" or "--board=3"), advancing i past its value.
    void SetSetupValue(const std::vector<std::string>& arguments, std::size_t& i,
                       const std::string& option);
    // The checks between set-up options, once all are read.
    void CheckSetup(bool checkTable);
    void SetBus(const std::string& where, const std::string& origin);
    void SetRepeat(const std::string& count);
    // The value of `option` ("--bus VALUE" or "--bus=VALUE"), advancing i past it; nullopt
    // when argument i is not that option.
    std::optional<std::string> OptionValue(const std::vector<std::string>& arguments,
                                           std::size_t& i, const std::string& option);

    Action action_ = Action::Window;
    bool simulate_ = false;
    BusChoice bus_;
    std::string tracePath_;
    std::vector<std::string> resultsPaths_;
    std::string chartsFolder_;
    bool chartsPng_ = false;
    std::string reportPath_;
    int repeat_ = 1;
    MeasurementSetup setup_;
    RecordOrigin origin_;
    DatabaseOptions databases_;
    std::map<std::string, std::string> setupGiven_;  // each set-up option given, with its value
    std::vector<const CatalogEntry*> measurements_;
    std::string error_;
    bool errorWantsUsage_ = true;
};

}  // namespace kelvane
