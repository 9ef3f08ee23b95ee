#include "window/BusMeasurements.h"

#include <exception>
#include <utility>

#include "analyzer/GpibRegistrationFailure.h"
#include "gpib/ObservedGpibDriver.h"
#include "measurements/MeasurementCatalog.h"

namespace kelvane {

BusMeasurements::BusMeasurements(DriverFactory factory, Clock& clock, FollowSetup followSetup,
                                 std::string recordBus, QObject* parent)
    : QObject(parent),
      clock_(clock),
      followSetup_(std::move(followSetup)),
      recorder_(clock, std::move(recordBus)),
      activity_([this](const BusStep& step) {
          emit StepStarted(QString::fromStdString(step.description), step.limitSeconds);
      }),
      log_([this](const QString& text) { emit ResultText(text); }),
      binding_(Observed(std::move(factory), activity_),
               [this](const std::string& message) { PresentMessage(message); }),
      session_(binding_),
      thread_(std::make_unique<BusThread<FinishedMeasurement>>([this] { emit Finished(); })) {}

BusMeasurements::~BusMeasurements() {
    {
        const std::lock_guard lock(messageMutex_);
        stopping_ = true;
    }
    messageShownChanged_.notify_all();
    thread_.reset();
}

bool BusMeasurements::Start(const CatalogEntry& measurement, const MeasurementSetup& setup) {
    return thread_->Post([this, &measurement, setup] { return Run(measurement, setup); });
}

std::optional<FinishedMeasurement> BusMeasurements::TakeEnd() { return thread_->TakeResult(); }

void BusMeasurements::MessageShown() {
    {
        const std::lock_guard lock(messageMutex_);
        messageShown_ = true;
    }
    messageShownChanged_.notify_all();
}

// On the bus thread.
FinishedMeasurement BusMeasurements::Run(const CatalogEntry& measurement,
                                         const MeasurementSetup& setup) {
    if (followSetup_) followSetup_(setup);
    MeasurementContext context{session_, log_, clock_, setup};
    FinishedMeasurement finished;
    MeasurementRecord& record = finished.record;
    record = recorder_.Start(measurement, setup);
    std::string aborted;
    try {
        recorder_.Complete(record, measurement, context);
        return finished;
    } catch (const GpibRegistrationFailure&) {
        finished.registrationFailed = true;
        return finished;
    } catch (const std::exception& error) {
        aborted = std::string("Measurement aborted: ") + error.what();
    } catch (...) {
        aborted = "Measurement aborted.";
    }
    log_.AppendResult("\r\n" + aborted + "\r\n");
    // What is known of it: a failed run of this measurement, which nothing could judge.
    record.result.message = aborted;
    record.result.log = "\r\n" + aborted + "\r\n";
    record.judgement.verdict = Verdict::Incomplete;
    return finished;
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
