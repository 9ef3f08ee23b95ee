#include "fuzz/FuzzGpibDriver.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "bus/GpibCodes.h"

namespace kelvane::fuzz {

namespace {

constexpr std::int32_t kDone = kStatusCmpl;
constexpr std::int32_t kReadDone = kStatusEnd | kStatusCmpl;
constexpr std::int32_t kTimedOut = kStatusErr | kStatusTimo | kStatusCmpl;
constexpr auto kDriverTimeout = std::chrono::seconds(10);

}  // namespace

std::int32_t FuzzGpibDriver::Finish(DriverCall call, std::int32_t status, std::int32_t error,
                                    std::int32_t count) {
    if (status_ != nullptr) {
        *status_ = status;
        *error_ = error;
        *count_ = count;
        *countLong_ = count;
    }
    call.failed = (status & kStatusErr) != 0;
    const std::int32_t result = call.result;
    calls_.push_back(std::move(call));
    return result;
}

std::int32_t FuzzGpibDriver::RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                          std::int32_t* count,
                                                          std::int32_t* countLong) {
    status_ = status;
    error_ = error;
    count_ = count;
    countLong_ = countLong;
    const std::uint8_t choice = input_.Byte();
    std::int32_t result = 0;
    if (choice >= 0xFE) {
        result = choice == 0xFE ? -1 : 99;  // unknown codes
    } else if (choice >= 0xFA) {
        result = 3;
    } else if (choice >= 0xF8) {
        result = 2;
    } else if (choice >= 0xF0) {
        result = 1;
    }
    calls_.push_back({DriverCall::Entry::Register, {}, result, {}, false});
    return result;
}

std::int32_t FuzzGpibDriver::UnregisterGpibGlobalsForThread() {
    calls_.push_back({DriverCall::Entry::Unregister, {}, 0, {}, false});
    return 0;
}

std::int32_t FuzzGpibDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                   std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                   std::int32_t eoiMode, std::int32_t eosMode) {
    DriverCall call{DriverCall::Entry::Ibdev,
                    {boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode},
                    0,
                    {},
                    false};
    const std::uint8_t choice = input_.Byte();
    if (choice < 0xF0) {
        call.result = 1 + choice % 31;
        return Finish(std::move(call), kDone, 0, 0);
    }
    if (choice == 0xFE) {
        call.result = 0x2FFFF;  // no ERR, but the low 16 bits are -1
        return Finish(std::move(call), kDone, 0, 0);
    }
    if (choice == 0xFF) {
        call.result = 0x12345;  // no ERR; only the low 16 bits are the descriptor
        return Finish(std::move(call), kDone, 0, 0);
    }
    call.result = -1;
    return Finish(std::move(call), kStatusErr, choice & 0x07, 0);
}

std::int32_t FuzzGpibDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    DriverCall call{DriverCall::Entry::Ibonl, {descriptor, value}, 0, {}, false};
    const bool fails = input_.Byte() >= 0xF8;
    return Finish(std::move(call), fails ? kStatusErr : kDone, fails ? kErrorEdvr : 0, 0);
}

std::int32_t FuzzGpibDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    DriverCall call{DriverCall::Entry::Ibwrt,
                    {descriptor, count},
                    0,
                    std::string(bytes, static_cast<std::size_t>(std::max(count, 0))),
                    false};
    lastWrite_ = call.text;
    const std::uint8_t choice = input_.Byte();
    if (choice >= 0xF8) return Finish(std::move(call), kStatusErr, choice & 0x07, 0);
    return Finish(std::move(call), kDone, 0, count);
}

FuzzGpibDriver::ReadOutcome FuzzGpibDriver::NextRead() {
    const std::uint8_t mode = input_.Byte();
    if (mode < 0xC0) return {replies_.Answer(lastWrite_), kReadDone, 0};
    if (mode < 0xE0) {
        std::string raw = input_.Bytes(input_.Byte());
        return {std::move(raw), kReadDone, 0};
    }
    clock_.Advance(kDriverTimeout);
    if (mode < 0xF0) return {{}, kTimedOut, kErrorEabo};
    std::string part = replies_.Answer(lastWrite_);
    part.resize(std::min<std::size_t>(part.size(), input_.Byte() % 40));
    return {std::move(part), kTimedOut, kErrorEabo};
}

std::int32_t FuzzGpibDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    DriverCall call{DriverCall::Entry::Ibrd, {descriptor, count}, 0, {}, false};
    ReadOutcome outcome = NextRead();
    const auto delivered =
        std::min<std::size_t>(outcome.bytes.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::copy_n(outcome.bytes.begin(), delivered, buffer);
    call.text.assign(buffer, static_cast<std::size_t>(std::max(count, 0)));
    return Finish(std::move(call), outcome.status, outcome.error,
                  static_cast<std::int32_t>(delivered));
}

}  // namespace kelvane::fuzz
