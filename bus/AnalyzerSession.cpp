#include "bus/AnalyzerSession.h"

#include <algorithm>

#include "bus/GpibCodes.h"

namespace kelvane {

std::string BlankBuffer(std::size_t n) { return std::string(n, ' '); }

std::string NulBuffer(std::size_t n) { return std::string(n, '\0'); }

bool AnalyzerSession::CallFailed() const {
    return (static_cast<std::uint16_t>(binding_.GpibStatus) & kStatusErr) != 0;
}

void AnalyzerSession::OpenAnalyzer() {
    fault_.reset();
    DevHandle = binding_.ibdev(kBoardIndex, kPrimaryAddress, kSecondaryAddress, kTimeoutCode,
                               kEoiMode, kEosMode);
    if (CallFailed() || DevHandle < 0) fault_ = BusFault{"ibdev", binding_.GpibError};
}

void AnalyzerSession::SendCommand(const std::string& text) {
    if (fault_) return;
    binding_.ibwrt(DevHandle, text);
    if (CallFailed()) fault_ = BusFault{text, binding_.GpibError};
}

int AnalyzerSession::ReadReply(std::string& buffer) {
    if (fault_) return 0;
    binding_.ibrd(DevHandle, buffer);
    return std::clamp(binding_.RegCountLong, 0, static_cast<std::int32_t>(buffer.size()));
}

void AnalyzerSession::CloseAnalyzer() {
    binding_.ibonl(DevHandle, 0);
    binding_.ibonl(0, 0);
}

}  // namespace kelvane
