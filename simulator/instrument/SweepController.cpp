#include "simulator/instrument/SweepController.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

// at + sweeps x sweep, held at the largest time instead of overflowing.
std::chrono::nanoseconds EndAfter(std::chrono::nanoseconds at, long long sweeps,
                                  std::chrono::nanoseconds sweep) {
    using Nanoseconds = std::chrono::nanoseconds;
    const auto max = Nanoseconds::max().count();
    const long long perSweep = sweep.count();
    if (sweeps > 0 && perSweep > max / sweeps) return Nanoseconds::max();
    const long long total = sweeps * perSweep;
    if (at.count() > max - total) return Nanoseconds::max();
    return at + Nanoseconds(total);
}

}  // namespace

void SweepController::StartRun(Nanoseconds at, bool continuous) {
    ++runId_;
    start_ = at;
    continuous_ = continuous;
    sweep_ = Nanoseconds(static_cast<long long>(std::llround(state_.EffectiveSweepTimeS() * 1e9)));
    sweep_ = std::max(sweep_, Nanoseconds(1));
    const std::int64_t count = state_.averagingOn ? state_.averageCount : 1;
    if (continuous) {
        sweepsInRun_ = state_.averagingOn && state_.averagingSingle ? count : 0;
    } else {
        sweepsInRun_ = count;
        busyUntil_ = std::max<Nanoseconds>(busyUntil_, EndAfter(at, count, sweep_));
    }
    if (state_.averagingOn)
        status_.ScheduleOperationEnd(StatusModel::kSweepAveraged, EndAfter(at, count, sweep_));
    else
        status_.CancelOperationEnd(StatusModel::kSweepAveraged);
    if (state_.power != PowerFunction::Off && state_.powerAveragingOn)
        status_.ScheduleOperationEnd(StatusModel::kChannelPowerAveraged,
                                     EndAfter(at, state_.powerAverageCount, sweep_));
    else
        status_.CancelOperationEnd(StatusModel::kChannelPowerAveraged);
}

SweepData SweepController::DataAt(Nanoseconds at, bool powerQuery) const {
    SweepData data;
    data.runId = runId_;
    data.readyAt = at;
    long long done = at >= start_ ? (at - start_) / sweep_ : 0;
    if (sweepsInRun_ > 0) done = std::min(done, sweepsInRun_);
    if (done < 1) {
        // Nothing swept yet in this run: the answer waits for the first sweep.
        data.readyAt = start_ + sweep_;
        done = 1;
    }
    data.sweepIndex = done;
    const auto cap = [done](int count) {
        return static_cast<int>(std::min<long long>(done, count));
    };
    data.averaged = state_.averagingOn ? cap(state_.averageCount) : 1;
    if (powerQuery && state_.powerAveragingOn) data.averaged = cap(state_.powerAverageCount);
    return data;
}

}  // namespace kelvane
