#include "simulator/SimulatedAnalyzer.h"

#include <algorithm>
#include <string_view>

#include "gpib/GpibCodes.h"
#include "simulator/instrument/AnalyzerCore.h"

namespace kelvane {

namespace {

using std::chrono::nanoseconds;

constexpr std::int32_t kMaxPrimaryAddress = 30;

}  // namespace

SimulatedAnalyzer::SimulatedAnalyzer(Clock& clock, std::uint32_t seed,
                                     const SimulatorOptions& options, const SimulatedBench* bench)
    : clock_(clock),
      follow_(bench),
      bench_(bench != nullptr ? *bench : SimulatedBench{}),
      core_(std::make_unique<AnalyzerCore>(options, seed, bench_)) {}

SimulatedAnalyzer::~SimulatedAnalyzer() = default;

const InstrumentState& SimulatedAnalyzer::State() const { return core_->State(); }

std::int32_t SimulatedAnalyzer::Finish(std::int32_t status, std::int32_t error,
                                       std::int32_t count) {
    registered_.Set(status, error, count);
    return status;
}

const SimulatedAnalyzer::Device* SimulatedAnalyzer::Find(std::int32_t descriptor) {
    const auto it = devices_.find(descriptor);
    if (it == devices_.end()) {
        Finish(kStatusErr, kErrorEdvr, 0);
        return nullptr;
    }
    if (it->second.primaryAddress != bench_.primaryAddress) {
        Finish(kStatusErr, kErrorEnol, 0);
        return nullptr;
    }
    return &it->second;
}

std::int32_t SimulatedAnalyzer::ibdev(std::int32_t boardIndex, std::int32_t primaryAddress,
                                      std::int32_t /*secondaryAddress*/, std::int32_t timeoutCode,
                                      std::int32_t /*eoiMode*/, std::int32_t /*eosMode*/) {
    if (follow_ != nullptr && !(*follow_ == bench_)) {
        bench_ = *follow_;
        core_->Retune(bench_);
    }
    if (boardIndex != bench_.board) {
        Finish(kStatusErr, kErrorEneb, 0);
        return -1;
    }
    const auto timeout = GpibTimeout(timeoutCode);
    if (primaryAddress < 0 || primaryAddress > kMaxPrimaryAddress || !timeout) {
        Finish(kStatusErr, kErrorEarg, 0);
        return -1;
    }
    // The lowest number that names neither an open device nor the board.
    std::int32_t descriptor = 1;
    while (devices_.contains(descriptor) || descriptor == bench_.board) ++descriptor;
    devices_[descriptor] = Device{primaryAddress, *timeout};
    Finish(kStatusCmpl, 0, 0);
    return descriptor;
}

std::int32_t SimulatedAnalyzer::ibonl(std::int32_t descriptor, std::int32_t value) {
    if (descriptor == bench_.board) return Finish(kStatusCmpl, 0, 0);
    const auto it = devices_.find(descriptor);
    if (it == devices_.end()) return Finish(kStatusErr, kErrorEdvr, 0);
    if (value == 0) devices_.erase(it);
    return Finish(kStatusCmpl, 0, 0);
}

std::int32_t SimulatedAnalyzer::ibwrt(std::int32_t descriptor, const char* bytes,
                                      std::int32_t count) {
    if (Find(descriptor) == nullptr) return kStatusErr;
    if (bytes == nullptr || count < 0) return Finish(kStatusErr, kErrorEarg, 0);
    core_->Execute(std::string_view(bytes, static_cast<std::size_t>(count)), clock_.Now());
    return Finish(kStatusCmpl, 0, count);
}

std::int32_t SimulatedAnalyzer::TimedOut(const Device& device) {
    clock_.Sleep(device.timeout);
    return Finish(kStatusErr | kStatusTimo, kErrorEabo, 0);
}

std::int32_t SimulatedAnalyzer::ibrd(std::int32_t descriptor, char* buffer, std::int32_t count) {
    const Device* device = Find(descriptor);
    if (device == nullptr) return kStatusErr;
    if (buffer == nullptr || count <= 0) return Finish(kStatusErr, kErrorEarg, 0);
    auto& replies = core_->Replies();
    if (replies.Empty()) {
        // Addressed to talk with nothing to say.
        core_->Status().SetEvent(StatusModel::kQueryError);
        return TimedOut(*device);
    }
    auto& reply = replies.Front();
    const nanoseconds now = clock_.Now();
    if (reply.readyAt > now) {
        if (reply.readyAt - now > device->timeout) return TimedOut(*device);
        clock_.Sleep(reply.readyAt - now);
    }
    const std::size_t remaining = reply.bytes.size() - reply.delivered;
    const std::size_t delivered = std::min(remaining, static_cast<std::size_t>(count));
    std::copy_n(reply.bytes.data() + reply.delivered, delivered, buffer);
    reply.delivered += delivered;
    std::int32_t status = kStatusCmpl;
    if (reply.delivered == reply.bytes.size()) {
        status |= kStatusEnd;
        replies.PopFront();
    }
    return Finish(status, 0, static_cast<std::int32_t>(delivered));
}

std::int32_t SimulatedAnalyzer::RegisterGpibGlobalsForThread(std::int32_t* status,
                                                             std::int32_t* error,
                                                             std::int32_t* count,
                                                             std::int32_t* countLong) {
    if (registered_.IsBound()) return 1;
    registered_.Bind(status, error, count, countLong);
    return 0;
}

std::int32_t SimulatedAnalyzer::UnregisterGpibGlobalsForThread() {
    registered_.Clear();
    return 0;
}

}  // namespace kelvane
