#include "app/CommandLine.h"

#include <utility>

#include "app/PathLossTable.h"
#include "app/SetupOptions.h"
#include "measurements/MeasurementCatalog.h"
#include "platform/HostName.h"
#include "platform/SystemFeatures.h"

namespace kelvane {

namespace {

constexpr const char* kMeasureOption = "--measure";
constexpr const char* kMeasureAll = "all";
constexpr const char* kPathLossTable = "--path-loss-table";

}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& arguments, const char* busVariable) {
    bool help = false;
    bool version = false;
    bool busGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--simulate") {
            simulate_ = true;
        } else if (databases_.Take(arguments, i)) {
            continue;
        } else if (const auto name = OptionValue(arguments, i, kMeasureOption)) {
            AddMeasurement(*name);
        } else if (const auto where = OptionValue(arguments, i, "--bus")) {
            SetBus(*where, "--bus");
            busGiven = true;
        } else if (const auto path = OptionValue(arguments, i, "--trace")) {
            if (path->empty()) SetError("--trace needs a file name");
            tracePath_ = *path;
        } else if (const auto results = OptionValue(arguments, i, "--results")) {
            if (results->empty()) SetError("--results needs a file name");
            resultsPaths_.push_back(*results);
        } else if (const auto count = OptionValue(arguments, i, "--repeat")) {
            SetRepeat(*count);
        } else if (const auto folder = OptionValue(arguments, i, "--charts")) {
            if (folder->empty()) SetError("--charts needs a folder");
            chartsFolder_ = *folder;
        } else if (argument == "--charts-png") {
            chartsPng_ = true;
        } else if (const auto report = OptionValue(arguments, i, "--report")) {
            if (report->empty()) SetError("--report needs a file name");
            reportPath_ = *report;
        } else if (const std::string option = argument.substr(0, argument.find('='));
                   SetupOptions::Names(option) || SetupOptions::NamesOrigin(option) ||
                   option == kPathLossTable) {
            SetSetupValue(arguments, i, option);
        } else if (argument == "--help" || argument == "-h") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument.starts_with("-")) {
            SetError("unknown option '" + SetupOptions::Shown(argument) + "'");
        } else {
            SetError("unexpected argument '" + SetupOptions::Shown(argument) + "'");
        }
    }
    const auto station = setupGiven_.find("--station");
    databases_.Check(
        !measurements_.empty(), resultsPaths_,
        station == setupGiven_.end() ? std::nullopt : std::optional<std::string>(station->second));
    if (!databases_.Error().empty()) SetError(databases_.Error(), false);
    CheckSetup(!help && !version && !databases_.Sync() && !databases_.History());
    if (simulate_ && busGiven && bus_.kind != BusChoice::Kind::Gpib) {
        SetError("--simulate and --bus " + bus_.text + " exclude each other");
    } else if (!busGiven && !simulate_ && busVariable != nullptr && *busVariable != '\0') {
        // The variable serves desktop launchers; an option on the command line wins over it.
        SetBus(busVariable, "KELVANE_BUS");
    }
    if (!simulate_ && bus_.kind != BusChoice::Kind::Gpib && setup_.address.board != 0) {
        // An adapter is an interface of its own: it has no board index to choose.
        SetError("--board: an adapter (--bus " + bus_.text + ") has no board index; leave it 0",
                 false);
    }
    if (!simulate_ && bus_.kind != BusChoice::Kind::Gpib && !kAdapterStreamsAvailable) {
        // Better said now than as a failure line for every measurement.
        SetError("bus '" + bus_.text + "': adapters are not available in this build; use gpib");
    }
    if (chartsPng_ && chartsFolder_.empty()) {
        SetError("--charts-png adds PNG pictures to --charts FOLDER; name the folder", false);
    }
    if (!chartsFolder_.empty() && measurements_.empty() && !help && !version) {
        SetError("--charts writes the charts of a batch run; name the measurements with --measure",
                 false);
    }
    if (!reportPath_.empty() && measurements_.empty() && !help && !version) {
        SetError("--report writes the report of a batch run; name the measurements with --measure",
                 false);
    }
    if (repeat_ > 1 && measurements_.empty() && !help && !version) {
        SetError("--repeat runs the measurements named with --measure; name at least one", false);
    }
    if (!error_.empty()) {
        action_ = Action::UsageError;
        measurements_.clear();
    } else if (help) {
        action_ = Action::Help;
    } else if (version) {
        action_ = Action::Version;
    } else if (databases_.Sync()) {
        action_ = Action::Sync;
    } else if (databases_.History()) {
        action_ = Action::History;
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
        SetError("unknown measurement '" + SetupOptions::Shown(name) + "'");
    }
}

std::optional<std::string> CommandLine::OptionValue(const std::vector<std::string>& arguments,
                                                    std::size_t& i, const std::string& option) {
    const std::string& argument = arguments[i];
    if (argument.starts_with(option + "=")) return argument.substr(option.size() + 1);
    if (argument != option) return std::nullopt;
    // The next option is no value ("--results --help" names no file "--help"); a value that
    // starts with "--" is given as "--results=--help".
    if (i + 1 == arguments.size() || arguments[i + 1].starts_with("--")) {
        SetError(option + (option == kMeasureOption ? " needs a measurement name"
                           : option == "--bus"      ? " needs a bus"
                           : option == "--repeat"
                               ? " needs a number of runs from 1 to " + std::to_string(kMaxRepeat)
                           : option == "--charts" ? " needs a folder"
                                                  : " needs a file name"),
                 option != "--repeat");
        return std::nullopt;
    }
    return arguments[++i];
}

void CommandLine::SetSetupValue(const std::vector<std::string>& arguments, std::size_t& i,
                                const std::string& option) {
    const std::optional<std::string> value = SetupOptions::OptionValue(arguments, i, option);
    // Each reason names the option and what it takes: the usage line would add nothing.
    const bool table = option == kPathLossTable;
    if (!value || (table && value->empty())) {
        SetError(table ? option + " needs a file name" : SetupOptions::MissingValue(option), false);
        return;
    }
    // A value given twice is a mistake in a script or desktop entry: neither is taken silently.
    if (const auto earlier = setupGiven_.find(option); earlier != setupGiven_.end()) {
        const auto shown = table ? &SetupOptions::ShownWhole : &SetupOptions::Shown;
        SetError(option + ": given twice ('" + shown(earlier->second) + "' and '" + shown(*value) +
                     "'); give it once",
                 false);
        return;
    }
    setupGiven_.emplace(option, *value);
    const std::string reason = table ? PathLossTable::Read(*value, setup_.pathLoss)
                               : SetupOptions::NamesOrigin(option)
                                   ? SetupOptions::ApplyOrigin(option, *value, origin_)
                                   : SetupOptions::Apply(option, *value, setup_);
    if (!reason.empty()) SetError(reason, false);
}

void CommandLine::CheckSetup(bool checkTable) {
    if (setupGiven_.contains("--path-loss") && setupGiven_.contains(kPathLossTable))
        SetError("--path-loss and --path-loss-table exclude each other; give one of them", false);
    if (!setupGiven_.contains("--station")) origin_.station = HostName();
    if (!checkTable || !setup_.pathLoss.IsTable()) return;
    // The window may run any measurement: its table must cover all three carriers.
    using Carrier = PathLossTable::Carrier;
    std::vector<Carrier> carriers{Carrier::Wcdma, Carrier::Wlan11a, Carrier::Wlan11b};
    if (!measurements_.empty()) carriers.clear();
    for (const CatalogEntry* entry : measurements_)
        carriers.push_back(PathLossTable::CarrierOf(entry->name));
    const std::string uncovered = PathLossTable::Uncovered(setup_, carriers);
    if (!uncovered.empty())
        SetError(std::string(kPathLossTable) + " \"" +
                     SetupOptions::ShownWhole(setup_.pathLoss.File()) + "\" " + uncovered,
                 false);
}

void CommandLine::SetRepeat(const std::string& count) {
    const auto runs = SetupOptions::WholeNumber(count);
    if (!runs || *runs < 1 || *runs > kMaxRepeat) {
        SetError("--repeat: '" + count + "' is not a number of runs from 1 to " +
                     std::to_string(kMaxRepeat),
                 false);
        return;
    }
    repeat_ = *runs;
}

void CommandLine::SetBus(const std::string& where, const std::string& origin) {
    if (const auto bus = ParseBus(where)) {
        bus_ = *bus;
    } else {
        SetError("bad bus '" + where + "' (" + origin + "); use " + BusForms());
    }
}

// The first mistake is the one reported.
void CommandLine::SetError(std::string error, bool withUsage) {
    if (!error_.empty()) return;
    error_ = std::move(error);
    errorWantsUsage_ = withUsage;
}

}  // namespace kelvane
