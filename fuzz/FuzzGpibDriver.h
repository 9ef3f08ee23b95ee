#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "gpib/GpibCodes.h"
#include "gpib/GpibDriver.h"
#include "gpib/RegisteredStatus.h"
#include "tests/support/VirtualClock.h"

namespace kelvane::fuzz {

// One call that reached the fuzz-driven driver.
struct DriverCall {
    enum class Entry { Register, Unregister, Ibdev, Ibonl, Ibwrt, Ibrd };

    Entry entry = Entry::Register;
    std::vector<std::int32_t> args;  // integer arguments in order (ibwrt, ibrd: descriptor, count)
    std::int32_t result = 0;
    std::string text;     // ibwrt: the bytes sent; ibrd: the whole buffer afterwards
    bool failed = false;  // ERR was set in the status word
    bool ended = false;   // END was set and ERR was not: a whole answer arrived
};

// A GPIB driver whose every outcome comes from the fuzz input: the registration result, ibdev's
// descriptor or failure, refused writes and ibonl calls, and for each read a well-formed answer
// to the last query (numbers, number forms, verdicts and line ends from the input), raw bytes, a
// time-out with nothing, or a time-out part way through an answer. Time-outs take the driver's
// 10 s on the virtual clock. A zero byte is always the ordinary case. Every call goes to `calls`.
class FuzzGpibDriver : public GpibDriver {
public:
    using Entry = DriverCall::Entry;

    FuzzGpibDriver(FuzzInput& input, VirtualClock& clock, std::vector<DriverCall>& calls)
        : input_(input), clock_(clock), calls_(calls) {}

    std::int32_t RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                              std::int32_t* count,
                                              std::int32_t* countLong) override {
        registered_.Bind(status, error, count, countLong);
        const std::uint8_t c = input_.Byte();
        // 0xF0-0xF7: registered already (1); from 0xF8 on: 2, 3 and unknown codes.
        static constexpr std::int32_t kFailures[] = {2, 2, 3, 3, 3, 3, -1, 99};
        const std::int32_t result = c < 0xF0 ? 0 : c < 0xF8 ? 1 : kFailures[c - 0xF8];
        return Record({.entry = Entry::Register, .result = result}, kStatusCmpl);
    }

    std::int32_t UnregisterGpibGlobalsForThread() override {
        return Record({.entry = Entry::Unregister}, kStatusCmpl);
    }

    std::int32_t ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                       std::int32_t secondaryAddress, std::int32_t timeoutCode,
                       std::int32_t eoiMode, std::int32_t eosMode) override {
        DriverCall call{
            .entry = Entry::Ibdev,
            .args = {boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode}};
        const std::uint8_t c = input_.Byte();
        if (c >= 0xF0 && c < 0xFE) {
            call.result = -1;
            return Record(std::move(call), kStatusErr, c & 0x07);
        }
        // 0xFE: no ERR, but the low 16 bits are -1; 0xFF: only the low 16 bits are the descriptor.
        call.result = c < 0xF0 ? 1 + c % 31 : c == 0xFE ? 0x2FFFF : 0x12345;
        return Record(std::move(call), kStatusCmpl);
    }

    std::int32_t ibonl(std::int32_t descriptor, std::int32_t value) override {
        const bool fails = input_.Byte() >= 0xF8;
        return Record({.entry = Entry::Ibonl, .args = {descriptor, value}},
                      fails ? kStatusErr : kStatusCmpl);
    }

    std::int32_t ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) override {
        lastWrite_.assign(bytes, static_cast<std::size_t>(std::max(count, 0)));
        const std::uint8_t c = input_.Byte();
        const bool fails = c >= 0xF8;
        return Record({.entry = Entry::Ibwrt, .args = {descriptor, count}, .text = lastWrite_},
                      fails ? kStatusErr : kStatusCmpl, fails ? c & 0x07 : 0, fails ? 0 : count);
    }

    std::int32_t ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) override {
        // Below 0xC0 an answer, then raw bytes, a time-out with nothing, a time-out part way.
        const std::uint8_t mode = input_.Byte();
        const bool timedOut = mode >= 0xE0;
        if (timedOut) clock_.Advance(std::chrono::seconds(10));
        std::string bytes(mode >= 0xC0 && mode < 0xE0 ? input_.Byte() : 0, '\0');
        for (char& c : bytes) c = static_cast<char>(input_.Byte());
        if (mode < 0xC0) bytes = Answer();
        if (mode >= 0xF0) bytes = Answer().substr(0, input_.Byte() % 40);
        const auto size = static_cast<std::size_t>(std::max(count, 0));
        const std::size_t delivered = std::min(bytes.size(), size);
        std::copy_n(bytes.begin(), delivered, buffer);
        // As on the bus: an answer longer than the read ends without END.
        const std::int32_t status = timedOut ? kStatusErr | kStatusTimo | kStatusCmpl
                                    : delivered < bytes.size() ? kStatusCmpl
                                                               : kStatusEnd | kStatusCmpl;
        return Record(
            {.entry = Entry::Ibrd, .args = {descriptor, count}, .text = std::string(buffer, size)},
            status, timedOut ? kErrorEabo : 0, static_cast<std::int32_t>(delivered));
    }

private:
    // Sets the registered status variables and keeps the call.
    std::int32_t Record(DriverCall call, std::int32_t status, std::int32_t error = 0,
                        std::int32_t count = 0) {
        registered_.Set(status, error, count);
        call.failed = (status & kStatusErr) != 0;
        call.ended = !call.failed && (status & kStatusEnd) != 0;
        calls_.push_back(std::move(call));
        return calls_.back().result;
    }

    // The analyzer's answer to the last text written; empty after a text that is no query.
    std::string Answer() {
        const std::string& query = lastWrite_;
        std::string text;
        if (query == "*STB?") {
            text = Choice({"128", "32", "160", "0", "16", "64", "40000", "-1"});  // 128: done
        } else if (query == "*ESR?") {
            text = Choice({"0", "8", "16", "24", "4", "32", "nan", "-1", "1e309", "300"});
        } else if (query == "SEM?") {
            text = "0," + Numbers({2132487000, 1e3, 2132687000, 1e3, 2132590000, 1e3, -52.314, 0.01,
                                   -95.766, 0.01});
            text += std::string(",") + Choice({"PASS", "FAIL", "", " P A S S ", "MAYBE", "pass",
                                               "FAIL\r\nChPower = 0.00dBm\r\nPASS", "PA\x07SS"});
        } else if (query == "OBW?") {
            text = Numbers({2000000000, 100, 4150000, 100});
        } else if (query == "ACP?") {
            text = Numbers({1995000000, 1e3, -45.678, 0.01, 2005000000, 1e3, -46.012, 0.01});
        } else if (query == "ACPREF?" || query == "PWCH?" || query == "PWTOTAL?" ||
                   query == "ML?") {
            text = Numbers({-10.5, 0.01}) + Choice({"", "", "", ",0", "x10", ".3", "e"});
        } else {
            return {};
        }
        return text + Choice({"\r\n", "\n", "", "\r"});
    }

    // For each pair of base and step a number some steps off the base, in a form the input picks;
    // joined by ','.
    std::string Numbers(std::initializer_list<double> basesAndSteps) {
        static constexpr const char* kForms[] = {"%.3f", "%.6E", "  %.2f ", "%+.1f", "%.0f"};
        std::string text;
        for (const double* pair = basesAndSteps.begin(); pair != basesAndSteps.end(); pair += 2) {
            const double value = pair[0] + input_.Int16() * pair[1];
            char number[64];
            std::snprintf(number, sizeof number, kForms[input_.Byte() % 5], value);
            text += (text.empty() ? "" : ",") + std::string(number);
        }
        return text;
    }

    const char* Choice(std::initializer_list<const char*> texts) {
        return texts.begin()[input_.Byte() % texts.size()];
    }

    FuzzInput& input_;
    VirtualClock& clock_;
    std::vector<DriverCall>& calls_;
    std::string lastWrite_;
    RegisteredStatus registered_;
};

}  // namespace kelvane::fuzz
