#include "gpib/TracingDriver.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "gpib/EscapedText.h"
#include "gpib/GpibCodes.h"

namespace kelvane {

namespace {

std::string StatusBits(std::int32_t status) {
    static constexpr std::pair<std::int32_t, const char*> kBits[]{
        {kStatusErr, "ERR"}, {kStatusTimo, "TIMO"}, {kStatusEnd, "END"}, {kStatusCmpl, "CMPL"}};
    std::string names;
    for (const auto& [bit, name] : kBits)
        if ((status & bit) != 0) names += names.empty() ? name : std::string(" ") + name;
    return names;
}

std::string Quoted(const char* bytes, std::int32_t count) {
    return "\"" +
           EscapedText(std::string_view(bytes, static_cast<std::size_t>(std::max(count, 0)))) +
           "\"";
}

}  // namespace

TracingDriver::TracingDriver(std::unique_ptr<GpibDriver> inner, TraceLog& log)
    : ForwardingDriver(std::move(inner)), log_(log) {}

std::string TracingDriver::Outcome(std::int32_t result) const {
    if (status_ == nullptr) return " -> " + std::to_string(result);
    char status[16];
    std::snprintf(status, sizeof status, "0x%04X", static_cast<unsigned>(*status_) & 0xFFFFu);
    std::string text = std::string(" -> ibsta ") + status + " (" + StatusBits(*status_) + ")";
    text += (*status_ & kStatusErr) != 0 ? "  iberr " + GpibErrorName(*error_) : "  iberr 0";
    return text + "  ibcnt " + std::to_string(*countLong_);
}

std::int32_t TracingDriver::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                  std::int32_t secondaryAddress, std::int32_t timeoutCode,
                                  std::int32_t eoiMode, std::int32_t eosMode) {
    const std::int32_t descriptor = ForwardingDriver::ibdev(
        boardIndex, primaryAddress, secondaryAddress, timeoutCode, eoiMode, eosMode);
    log_.Line("ibdev(" + std::to_string(boardIndex) + ", " + std::to_string(primaryAddress) + ", " +
              std::to_string(secondaryAddress) + ", " + std::to_string(timeoutCode) + ", " +
              std::to_string(eoiMode) + ", " + std::to_string(eosMode) +
              ") = " + std::to_string(descriptor) + Outcome(descriptor));
    return descriptor;
}

std::int32_t TracingDriver::ibonl(std::int32_t descriptor, std::int32_t value) {
    const std::int32_t result = ForwardingDriver::ibonl(descriptor, value);
    log_.Line("ibonl(" + std::to_string(descriptor) + ", " + std::to_string(value) + ")" +
              Outcome(result));
    return result;
}

std::int32_t TracingDriver::ibwrt(std::int32_t descriptor, const char* bytes, std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibwrt(descriptor, bytes, count);
    log_.Line("ibwrt(" + std::to_string(descriptor) + ", " + Quoted(bytes, count) + ", " +
              std::to_string(count) + ")" + Outcome(result));
    return result;
}

std::int32_t TracingDriver::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    const std::int32_t result = ForwardingDriver::ibrd(descriptor, buffer, count);
    std::string text =
        "ibrd(" + std::to_string(descriptor) + ", " + std::to_string(count) + ")" + Outcome(result);
    if (countLong_ != nullptr) text += "  " + Quoted(buffer, std::min(*countLong_, count));
    log_.Line(text);
    return result;
}

std::int32_t TracingDriver::RegisterGpibGlobalsForThread(std::int32_t* status, std::int32_t* error,
                                                         std::int32_t* count,
                                                         std::int32_t* countLong) {
    status_ = status;
    error_ = error;
    countLong_ = countLong;
    const std::int32_t result =
        ForwardingDriver::RegisterGpibGlobalsForThread(status, error, count, countLong);
    log_.Line("RegisterGpibGlobalsForThread() -> " + std::to_string(result));
    return result;
}

std::int32_t TracingDriver::UnregisterGpibGlobalsForThread() {
    const std::int32_t result = ForwardingDriver::UnregisterGpibGlobalsForThread();
    log_.Line("UnregisterGpibGlobalsForThread() -> " + std::to_string(result));
    return result;
}

}  // namespace kelvane
