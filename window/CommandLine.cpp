#include "window/CommandLine.h"

#include <utility>

#include "measurements/MeasurementCatalog.h"

namespace kelvane {

namespace {

constexpr const char* kMeasureOption = "--measure";
constexpr const char* kMeasureAll = "all";

}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& arguments) {
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string measurePrefix = std::string(kMeasureOption) + "=";
        if (argument == "--simulate") {
            simulate_ = true;
        } else if (argument == kMeasureOption) {
            if (i + 1 == arguments.size()) {
                SetError("--measure needs a measurement name");
            } else {
                AddMeasurement(arguments[++i]);
            }
        } else if (argument.starts_with(measurePrefix)) {
            AddMeasurement(argument.substr(measurePrefix.size()));
        } else if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument.starts_with("-")) {
            SetError("unknown option '" + argument + "'");
        } else {
            SetError("unexpected argument '" + argument + "'");
        }
    }
    if (!error_.empty()) {
        action_ = Action::UsageError;
        measurements_.clear();
    } else if (help) {
        action_ = Action::Help;
    } else if (version) {
        action_ = Action::Version;
    } else if (!measurements_.empty()) {
        action_ = Action::Batch;
    }
}

void CommandLine::AddMeasurement(const std::string& name) {
    if (name == kMeasureAll) {
        for (const auto& entry : MeasurementCatalog()) measurements_.push_back(&entry);
    } else if (const CatalogEntry* entry = FindMeasurement(name)) {
        measurements_.push_back(entry);
    } else {
        SetError("unknown measurement '" + name + "'");
    }
}

// The first mistake is the one reported.
void CommandLine::SetError(std::string error) {
    if (error_.empty()) error_ = std::move(error);
}

std::string CommandLine::UsageLine() {
    return "usage: kelvane [--simulate] [--measure NAME]... | --help | --version";
}

std::string CommandLine::HelpText() {
    std::string names;
    for (const auto& entry : MeasurementCatalog()) names += std::string(entry.name) + ", ";
    names += kMeasureAll;
    return UsageLine() +
           "\n"
           "\n"
           "Without --measure, opens the measurement window.\n"
           "\n"
           "  --simulate        talk to the built-in simulated analyzer instead of the GPIB "
           "driver\n"
           "  --measure NAME    run a measurement without a window and write its log to standard\n"
           "                    output; repeat it to run several, in the order given\n"
           "  --help            print this help\n"
           "  --version         print the version\n"
           "\n"
           "NAME: " +
           names +
           " (all seven, in this order).\n"
           "\n"
           "Exit status of a batch run: 0 every measurement completed, 1 a measurement logged a\n"
           "failure or a warning, 2 usage error, 3 the GPIB driver could not be loaded or\n"
           "registered, 4 the log could not be written.\n";
}

}  // namespace kelvane
