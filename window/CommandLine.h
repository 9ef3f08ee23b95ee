#pragma once

#include <string>
#include <vector>

namespace kelvane {

struct CatalogEntry;

// The program's arguments:
//   kelvane [--simulate] [--measure NAME]...   the window, or the named measurements in batch
//   kelvane --help | --version
// NAME is a measurement's batch name or "all" (the seven in the window's order).
class CommandLine {
public:
    enum class Action {
        Window,      // open the window
        Batch,       // run Measurements() without a window
        Help,        // print HelpText()
        Version,     // print the version
        UsageError,  // print Error() and UsageLine(), exit with status 2
    };

    // arguments: without the program name.
    explicit CommandLine(const std::vector<std::string>& arguments);

    Action WhatToDo() const { return action_; }
    // Use the simulated analyzer instead of the system's GPIB driver.
    bool Simulate() const { return simulate_; }
    // The measurements in the order to run, "all" expanded; entries of MeasurementCatalog().
    const std::vector<const CatalogEntry*>& Measurements() const { return measurements_; }
    // What was wrong, for a usage error.
    const std::string& Error() const { return error_; }

    // One line, without a line end.
    static std::string UsageLine();
    // Several lines, each ending with "\n".
    static std::string HelpText();

private:
    void AddMeasurement(const std::string& name);
    void SetError(std::string error);

    Action action_ = Action::Window;
    bool simulate_ = false;
    std::vector<const CatalogEntry*> measurements_;
    std::string error_;
};

}  // namespace kelvane
