#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "analyzer/MeasurementEndWait.h"
#include "gpib/GpibCallObserver.h"

namespace kelvane {

// What the bus is doing, for the window's status line: a description such as
// `reading the answer to "ACP?"` and the time limit of that step in seconds (0: none).
struct BusStep {
    std::string description;
    int limitSeconds = 0;

    bool operator==(const BusStep&) const = default;
};

// Turns the driver calls of a measurement into the steps the operator sees. Each call starts a
// new step, except inside the measurement-end wait: from the command that enables its end
// request (MeasurementEndWait::kEnableEnd) to the first command after its status queries, the
// whole wait is one step.
class BusActivity : public GpibCallObserver {
public:
    using Report = std::function<void(const BusStep& step)>;

    // The wait and every transfer end after these at the latest.
    static constexpr int kWaitLimitSeconds =
        static_cast<int>(MeasurementEndWait::kTimeLimit.count());
    static constexpr int kTransferLimitSeconds = AnalyzerSession::kTransferTimeoutSeconds;

    explicit BusActivity(Report report) : report_(std::move(report)) {}

    void OpeningDevice() override;
    void Writing(std::string_view bytes) override;
    void Reading() override;
    void TakingOffline() override;

private:
    Report report_;
    std::string lastWritten_;
    bool waiting_ = false;
};

}  // namespace kelvane
