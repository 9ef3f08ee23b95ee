#include "window/BusMeasurements.h"

#include <utility>

#include "measurements/MeasurementCatalog.h"

namespace kelvane {

BusMeasurements::BusMeasurements(DriverFactory factory, Clock& clock, RunnerOptions options,
                                 QObject* parent)
    : QObject(parent),
      log_([this](const QString& text) { emit ResultText(text); }),
      runner_(std::move(factory), clock, log_, WindowOptions(std::move(options))),
      thread_(std::make_unique<BusThread<RunEnd>>([this] { emit Finished(); })) {}

BusMeasurements::~BusMeasurements() {
    {
        const std::lock_guard lock(messageMutex_);
        stopping_ = true;
    }
    messageShownChanged_.notify_all();
    thread_.reset();
}

RunnerOptions BusMeasurements::WindowOptions(RunnerOptions options) {
    options.keepLogs = true;  // "Save results as..." writes them
    options.step = [this](const BusStep& step) {
        emit StepStarted(QString::fromStdString(step.description), step.limitSeconds);
    };
    options.presentMessage = [this](const std::string& message) { PresentMessage(message); };
    return options;
}

bool BusMeasurements::Start(const CatalogEntry& measurement, const MeasurementSetup& setup,
                            const RecordOrigin& origin) {
    return thread_->Post(
        [this, &measurement, setup, origin] { return runner_.Run(measurement, setup, origin); });
}

std::optional<RunEnd> BusMeasurements::TakeEnd() { return thread_->TakeResult(); }

void BusMeasurements::MessageShown() {
    {
        const std::lock_guard lock(messageMutex_);
        messageShown_ = true;
    }
    messageShownChanged_.notify_all();
}

// On the bus thread, inside the binding's registration: the message box belongs to the window
// thread, and the binding goes on (unregisters, ends the measurement) only once it was seen.
void BusMeasurements::PresentMessage(const std::string& message) {
    std::unique_lock lock(messageMutex_);
    messageShown_ = false;
    emit RegistrationMessage(QString::fromLocal8Bit(message));
    messageShownChanged_.wait(lock, [this] { return messageShown_ || stopping_; });
}

}  // namespace kelvane
