#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bus/VirtualClock.h"
#include "simulator/SimulatedAnalyzer.h"

namespace kelvane::testing {

// The simulated analyzer on its own, driven through the driver entries with a virtual clock.
class SimulatorFixture {
public:
    explicit SimulatorFixture(SimulatorOptions options = {}, std::uint32_t seed = 1)
        : analyzer(clock, seed, options) {
        analyzer.RegisterGpibGlobalsForThread(&status, &error, &count, &countLong);
        device = analyzer.ibdev(0, 8, 0, 13, 1, 0);
    }

    void Send(const std::string& text) {
        analyzer.ibwrt(device, text.data(), static_cast<std::int32_t>(text.size()));
    }
    void SendAll(const std::vector<std::string>& texts) {
        for (const auto& text : texts) Send(text);
    }
    // One read of at most maxBytes; the bytes that arrived.
    std::string Read(std::int32_t maxBytes = 200) {
        std::string buffer(static_cast<std::size_t>(maxBytes), '\0');
        analyzer.ibrd(device, buffer.data(), maxBytes);
        return buffer.substr(0, static_cast<std::size_t>(count));
    }
    std::string Query(const std::string& text) {
        Send(text);
        return Read();
    }
    double QueryNumber(const std::string& text) { return std::stod(Query(text)); }
    int StatusByte() { return std::stoi(Query("*STB?")); }
    int EventStatus() { return std::stoi(Query("*ESR?")); }
    // Polls the status byte every 10 ms, as the measurement-end wait does, until one of the bits
    // shows or 10 s have passed; the virtual time the wait took.
    std::chrono::nanoseconds WaitForStatus(int bits) {
        const auto start = clock.Now();
        while (clock.Now() - start <= std::chrono::seconds(10)) {
            clock.Sleep(std::chrono::milliseconds(10));
            if ((StatusByte() & bits) != 0) break;
        }
        return clock.Now() - start;
    }
    std::vector<std::string> ReadAll(int reads) {
        std::vector<std::string> replies;
        for (int i = 0; i < reads; ++i) replies.push_back(Read());
        return replies;
    }

    VirtualClock clock;
    SimulatedAnalyzer analyzer;
    std::int32_t status = 0;
    std::int32_t error = 0;
    std::int32_t count = 0;
    std::int32_t countLong = 0;
    std::int32_t device = 0;
};

// Fields of a reply split at ','.
std::vector<std::string> Fields(const std::string& reply);

// The set-up commands of the measurements, up to their start ("TS" or "CONTS").
const std::vector<std::string>& ObwSetup();
const std::vector<std::string>& AcpSetup();
const std::vector<std::string>& ChannelPowerSetup();
const std::vector<std::string>& Mask3gppSetup();
// The 802.11a/b mask measurement from its peak reading to "TS": mask table built on the level
// read with "ML?" (raised by 2 dB), as the measurements do.
std::vector<std::string> WlanMaskSetup(bool is11a, double peakDbm);

}  // namespace kelvane::testing
