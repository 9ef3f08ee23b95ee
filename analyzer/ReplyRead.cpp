#include "analyzer/ReplyRead.h"

#include <algorithm>

#include "gpib/GpibCodes.h"

namespace kelvane {

namespace {

// A time-out that the driver did not flag as an error has no error code to name.
std::string ReadFailure(const ReplyRead& read) {
    if (!read.errorFlagged) return "time-out";
    std::string failure = "driver error " + GpibErrorName(read.error);
    if (!read.detail.empty()) failure += ": " + read.detail;
    return failure;
}

}  // namespace

ReplyRead ClassifyRead(std::int32_t status, std::int32_t error, std::int32_t count,
                       std::size_t bufferLength) {
    ReplyRead read;
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(bufferLength, 1 << 30));
    read.bytes = std::clamp(count, 0, length);
    const bool failed = (status & kStatusErr) != 0;
    read.errorFlagged = failed;
    read.error = failed ? error : 0;
    read.timedOut = (status & kStatusTimo) != 0 || (failed && error == kErrorEabo);
    if (failed || read.timedOut) {
        read.end = read.bytes > 0 ? ReplyRead::End::Cut : ReplyRead::End::Silent;
    } else if ((status & kStatusEnd) != 0) {
        read.end = ReplyRead::End::Complete;
    } else if (read.bytes == length) {
        read.end = ReplyRead::End::Overflow;
    } else {
        read.end = ReplyRead::End::Unterminated;
    }
    return read;
}

std::string DescribeBadRead(const ReplyRead& read, std::size_t bufferLength) {
    const std::string stopped =
        "stopped after " + std::to_string(read.bytes) + (read.bytes == 1 ? " byte" : " bytes");
    switch (read.end) {
    case ReplyRead::End::Complete:
        return "arrived";
    case ReplyRead::End::Overflow:
        return "was longer than " + std::to_string(bufferLength) + " bytes";
    case ReplyRead::End::Unterminated:
        return stopped + " without its end (EOI)";
    case ReplyRead::End::Cut:
        return stopped + " (" + ReadFailure(read) + ")";
    case ReplyRead::End::Silent:
        if (!read.detail.empty()) return "did not arrive (" + ReadFailure(read) + ")";
        return "did not arrive";
    case ReplyRead::End::Skipped:
        return "was not read: the analyzer stopped answering an earlier read";
    }
    return "did not arrive";
}

}  // namespace kelvane
