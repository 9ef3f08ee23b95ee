#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "gpib/prologix/AdapterDriver.h"
#include "tests/gpib/prologix/AdapterRunFixture.h"
#include "tests/support/EmulatedAdapterStream.h"

namespace kelvane::testing {

// The adapter driver alone over the emulated adapter, with the status of each call.
struct AdapterDriverFixture {
    using Adjust = std::function<void(AdapterEmulator::Options&)>;
    static AdapterEmulator::Options Adjusted(const Adjust& adjust) {
        AdapterEmulator::Options options;
        if (adjust) adjust(options);
        return options;
    }
    explicit AdapterDriverFixture(const Adjust& adjust = {})
        : emulator(analyzer, Adjusted(adjust)),
          driver(
              "lan:test:1234", EmulatedAdapterStream::Opener(emulator, clock), clock,
              [this](AdapterDriver::NoticeKind kind, const std::string& text) {
                  (kind == AdapterDriver::NoticeKind::Problem ? problems : details).push_back(text);
              }) {
        driver.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
    }
    std::int32_t Open(std::int32_t timeoutCode = 13) {
        return driver.ibdev(0, 8, 0, timeoutCode, 1, 0);
    }
    void Write(const std::string& text) {
        driver.ibwrt(AdapterDriver::kDeviceDescriptor, text.data(),
                     static_cast<std::int32_t>(text.size()));
    }
    std::string Read(std::int32_t size) {
        std::string buffer(static_cast<std::size_t>(size), '.');
        driver.ibrd(AdapterDriver::kDeviceDescriptor, buffer.data(), size);
        return buffer.substr(0, static_cast<std::size_t>(std::max(countLong, 0)));
    }
    double Seconds() { return std::chrono::duration<double>(clock.Now()).count(); }

    ScriptedDriver analyzer;
    VirtualClock clock;
    AdapterEmulator emulator;
    std::vector<std::string> problems;
    std::vector<std::string> details;  // for the bus trace
    AdapterDriver driver;
    std::int32_t status = 0, error = 0, count = 0, countLong = 0;
};

}  // namespace kelvane::testing
