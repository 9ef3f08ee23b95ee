// A stand-in GPIB-ETHERNET adapter for the program's own tests: it plays the analyzer of the
// seven measurements' good runs on 127.0.0.1, prints its port, and serves until its standard
// input closes. Beforehand it writes to EXPECTED the log that a batch run of all seven gives
// over the scripted driver. Exit status 1 when the program broke the adapter protocol. With
// --silent it plays an analyzer that takes every command and answers no read.
//   standin_adapter EXPECTED | --silent

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchRunner.h"
#include "measurements/MeasurementCatalog.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/StandInAdapter.h"
#include "tests/support/VirtualClock.h"

namespace {

using namespace kelvane;

void LoadAllScripts(testing::ScriptedDriver& analyzer) {
    for (const auto& golden : testing::runs::GoldenRuns())
        for (const auto& [query, reads] : golden.script) analyzer.Reply(query, reads);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: standin_adapter EXPECTED | --silent\n";
        return 2;
    }
    const bool silent = std::string(argv[1]) == "--silent";
    if (!silent) {
        VirtualClock clock;
        auto scripted = std::make_unique<testing::ScriptedDriver>();
        LoadAllScripts(*scripted);
        std::ostringstream out, err;
        BatchRunner runner(testing::HandOver(std::move(scripted)), clock, out, err);
        std::vector<const CatalogEntry*> all;
        for (const auto& entry : MeasurementCatalog()) all.push_back(&entry);
        runner.Run(all);
        std::ofstream(argv[1], std::ios::binary) << out.str();
    }
    testing::ScriptedDriver analyzer;
    if (!silent) LoadAllScripts(analyzer);
    testing::AdapterEmulator emulator(analyzer, {});
    testing::StandInAdapter standIn(emulator, testing::StandInAdapter::Transport::Tcp);
    std::cout << standIn.Port() << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
    }
    standIn.Stop();
    for (const auto& violation : emulator.Violations()) std::cerr << violation << '\n';
    return emulator.Violations().empty() ? 0 : 1;
}
