#include "analyzer/MeasurementEndWait.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "analyzer/ReplyText.h"

namespace kelvane {

namespace {

constexpr std::size_t kStatusBufferLength = 10;
constexpr std::int16_t kEndBits =
    0xA0;  // bit 7: the selected operation ended; bit 5: event summary
constexpr std::int16_t kSummaryBit = 0x20;
constexpr std::int16_t kErrorBits = 0x18;  // device-dependent error, execution error
constexpr auto kPollInterval = std::chrono::milliseconds(10);

// The status that one read delivered: the lenient number of its bytes, rounded half to even.
// Both registers are eight bits wide: a value outside 0 to 255 (40000, -1) is no status at all
// and shows neither an end nor an error; -1 would otherwise show every bit. Nor is a read that
// did not end properly, or a number that runs into other characters ("12x").
//
// Only the bytes of this read count. The buffer is shared by all reads of a wait and never
// refilled, so a reply shorter than the one before it ("0" after "160", with no terminator)
// would otherwise read as a number the analyzer never sent ("060"): a false end or a false
// error.
std::optional<std::int16_t> ConvertStatus(const std::string& buffer, const ReplyRead& read) {
    if (!read.Good()) return std::nullopt;
    const auto reply = std::string_view(buffer).substr(0, static_cast<std::size_t>(read.bytes));
    const auto number = DelimitedLeadingNumber(reply);
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (!(rounded >= 0.0 && rounded <= 255.0)) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace

WaitResult MeasurementEndWait::WaitForEndStatus(std::chrono::seconds limit) {
    // One buffer for the whole wait: each read overwrites its start and leaves the rest.
    std::string statusBuffer(kStatusBufferLength, '\0');
    session_.SendCommand(std::string(kEnableEnd));
    WaitResult result;
    const auto start = clock_.Now();
    std::int16_t status = 0;
    while (true) {
        if (session_.Fault() || (stopRequested_ && stopRequested_())) {
            result.end = WaitResult::End::NotSeen;
            return result;
        }
        clock_.Sleep(kPollInterval);
        session_.SendCommand(std::string(kStatusQuery));
        const ReplyRead read = session_.ReadReply(statusBuffer);
        const auto converted = ConvertStatus(statusBuffer, read);
        // The limit is tested before the bits: a late answer counts as a time-out.
        const bool silent = read.timedOut || read.end == ReplyRead::End::Skipped;
        if (clock_.Now() - start > limit || silent || session_.Fault()) {
            result.end = WaitResult::End::NotSeen;
            return result;
        }
        if (converted && (*converted & kEndBits) != 0) {
            status = *converted;
            break;
        }
    }
    if ((status & kSummaryBit) == 0) return result;
    session_.SendCommand(std::string(kEventStatusQuery));
    const auto eventStatus = ConvertStatus(statusBuffer, session_.ReadReply(statusBuffer));
    if (session_.Fault()) {
        result.end = WaitResult::End::NotSeen;
    } else if (!eventStatus) {
        // An event was flagged: without its status the end cannot be called clean.
        result.end = WaitResult::End::EventStatusUnreadable;
    } else {
        result.eventStatus = *eventStatus;
        if ((*eventStatus & kErrorBits) != 0) result.end = WaitResult::End::ErrorFlagged;
    }
    return result;
}

WaitResult MeasurementEndWait::WaitForOperation(const char* selectOperation) {
    session_.SendCommand("*CLS");
    session_.SendCommand(selectOperation);
    return WaitForEndStatus(kTimeLimit);
}

WaitResult MeasurementEndWait::WaitForAveragedChannelPower() { return WaitForOperation("OPR 16"); }

WaitResult MeasurementEndWait::WaitForAveragedSweeps() { return WaitForOperation("OPR 256"); }

}  // namespace kelvane
