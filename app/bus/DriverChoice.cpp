#include "app/bus/DriverChoice.h"

#include <memory>
#include <utility>

#include "gpib/TracingDriver.h"
#include "gpib/prologix/AdapterDriver.h"
#include "gpib/system/SystemGpibDriver.h"
#include "platform/SystemFeatures.h"
#include "simulator/SimulatedAnalyzer.h"
#include "transport/SerialPortStream.h"
#include "transport/TcpStream.h"

namespace kelvane {

namespace {

DriverLoad LoadAdapterDriver(const DriverSetup& setup, Clock& clock) {
    const BusChoice bus = setup.bus;
    StreamOpener opener;
    if (bus.kind == BusChoice::Kind::Lan) {
        opener = [bus](std::chrono::nanoseconds timeout) {
            return OpenTcpStream(bus.host, bus.port, timeout);
        };
    } else {
        opener = [bus](std::chrono::nanoseconds) { return OpenSerialPortStream(bus.device); };
    }
    // The operator reads the problems in the failure lines (the driver's FailureDetail); the
    // trace gets everything the adapter said.
    TraceLog* trace = setup.trace;
    auto notice = [trace](AdapterDriver::NoticeKind, const std::string& text) {
        if (trace != nullptr) trace->Line("# " + text);
    };
    return DriverLoad{
        std::make_unique<AdapterDriver>(bus.Name(), std::move(opener), clock, std::move(notice)),
        {}};
}

// Without a GPIB library the operator learns what to do next, after what was missing.
DriverLoad LoadGpibLibrary() {
    DriverLoad load = LoadSystemGpibDriver();
    if (!load.driver) {
        load.failure +=
            std::string(
                "\nInstall and configure the GPIB driver (see the README), or use "
                "--simulate for the built-in simulated analyzer") +
            (kAdapterStreamsAvailable ? ", or --bus lan:HOST or --bus usb:DEVICE for a GPIB-LAN "
                                        "or GPIB-USB adapter."
                                      : ".");
    }
    return load;
}

DriverLoad Load(const DriverSetup& setup, Clock& clock) {
    if (setup.simulate) {
        return DriverLoad{
            std::make_unique<SimulatedAnalyzer>(clock, 1, SimulatorOptions{}, setup.simulatedBench),
            {}};
    }
    if (setup.bus.kind == BusChoice::Kind::Gpib) return LoadGpibLibrary();
    return LoadAdapterDriver(setup, clock);
}

}  // namespace

DriverFactory MakeDriverFactory(const DriverSetup& setup, Clock& clock) {
    return [setup, &clock] {
        DriverLoad load = Load(setup, clock);
        if (setup.trace != nullptr) {
            if (!load.driver) {
                setup.trace->Line("# driver not loaded: " + load.failure);
            } else {
                load.driver = std::make_unique<TracingDriver>(std::move(load.driver), *setup.trace);
            }
        }
        return load;
    };
}

}  // namespace kelvane
