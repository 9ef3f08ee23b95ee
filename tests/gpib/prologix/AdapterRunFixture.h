#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "gpib/prologix/AdapterDriver.h"
#include "platform/SteadyClock.h"
#include "tests/measurements/ScriptedRuns.h"
#include "tests/support/EmulatedAdapterStream.h"
#include "tests/support/RecordingDriver.h"
#include "tests/support/StandInAdapter.h"
#include "transport/SerialPortStream.h"
#include "transport/TcpStream.h"

namespace kelvane::testing {

// The program's binding over an adapter driver, with the analyzer of a measurement script
// behind a stand-in adapter: on a virtual clock (Virtual), or behind a real TCP socket or
// pseudo-terminal. The timeline has the form of the scripted driver's fixture.
struct AdapterRunFixture : LogSink {
    // Closed: a TCP port on which nothing listens.
    enum class Link { Virtual, Tcp, Pty, Closed };

    AdapterRunFixture(const runs::Script& script, Link link, AdapterEmulator::Options options = {})
        : emulator(analyzer, WithKind(std::move(options), link)) {
        const ScriptedDriver::Read silent{"", kStatusErr | kStatusTimo, kErrorEabo};
        for (const auto& [query, reads] : script)
            for (const auto& read : reads)
                analyzer.ReplyRead(query,
                                   read == runs::kSilent ? silent : ScriptedDriver::Read{read});
        StreamOpener opener;
        Clock* driverClock = &steady;
        if (link == Link::Virtual) {
            opener = EmulatedAdapterStream::Opener(emulator, clock);
            driverClock = &clock;
        } else if (link == Link::Tcp || link == Link::Closed) {
            standIn = std::make_unique<StandInAdapter>(emulator, StandInAdapter::Transport::Tcp);
            port = standIn->Port();
            if (link == Link::Closed) standIn.reset();
            opener = [port = port](std::chrono::nanoseconds timeout) {
                return OpenTcpStream("127.0.0.1", static_cast<std::uint16_t>(port), timeout);
            };
        } else {
            standIn = std::make_unique<StandInAdapter>(emulator, StandInAdapter::Transport::Pty);
            opener = [device = standIn->Device()](std::chrono::nanoseconds) {
                return OpenSerialPortStream(device);
            };
        }
        auto driver = std::make_unique<AdapterDriver>(
            "stand-in", std::move(opener), *driverClock,
            [this](AdapterDriver::NoticeKind kind, const std::string& text) {
                if (kind == AdapterDriver::NoticeKind::Problem) problems.push_back(text);
            });
        owned = std::make_unique<RecordingDriver>(std::move(driver), [this](
                                                                         const DriverCall& call) {
            const bool onDevice = !call.args.empty() && call.args[0] == ScriptedDriver::kDescriptor;
            if (onDevice && call.name == "ibrd")
                timeline.push_back("<" + std::to_string(call.args.at(1)) + " " + call.bytes);
            else
                timeline.push_back(onDevice && call.name == "ibwrt" ? call.bytes : call.ToString());
        });
    }

    static AdapterEmulator::Options WithKind(AdapterEmulator::Options options, Link link) {
        if (link == Link::Pty) options.kind = AdapterKind::Usb;
        return options;
    }

    void AppendResult(const std::string& text) override { timeline.push_back("log: " + text); }

    MeasurementOutcome Run(const std::string& name) {
        for (const auto& entry : MeasurementCatalog())
            if (entry.name == name) return entry.run(context).outcome;
        throw std::invalid_argument("no measurement " + name);
    }
    // The emulator's findings, once the stand-in has stopped.
    std::vector<std::string> Violations() {
        if (standIn) standIn->Stop();
        return emulator.Violations();
    }

    ScriptedDriver analyzer;
    AdapterEmulator emulator;
    VirtualClock clock;
    SteadyClock steady;
    std::unique_ptr<StandInAdapter> standIn;
    int port = 0;
    runs::Lines timeline;
    std::vector<std::string> problems;
    std::unique_ptr<GpibDriver> owned;
    GpibBinding binding{[this] {
                            return DriverLoad{std::move(owned), {}};
                        },
                        [](const std::string&) {}};
    AnalyzerSession session{binding};
    MeasurementContext context{session, *this, clock};
};

}  // namespace kelvane::testing
