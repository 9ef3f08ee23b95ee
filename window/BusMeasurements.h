#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "app/bus/BusActivity.h"
#include "app/bus/BusThread.h"
#include "app/records/MeasurementRecorder.h"
#include "gpib/DriverLoad.h"
#include "measurements/MeasurementContext.h"
#include "platform/Clock.h"
#include "window/WindowLogSink.h"

namespace kelvane {

struct CatalogEntry;

// How a measurement started from the window ended.
struct FinishedMeasurement {
    bool registrationFailed = false;  // the driver could not be registered: the program must end
    MeasurementRecord record;         // what it gave, judged (not after a registration failure)
};

// The window program's bus: the binding, the analyzer session and the bus thread that makes
// every driver call. Measurements start from the window thread and run on the bus thread; their
// texts, their steps and their end come back to the window thread through queued signals, in
// the order they happened. The object itself lives on the window thread.
class BusMeasurements : public QObject {
    Q_OBJECT

public:
    // Called on the bus thread with the set-up of each measurement before it runs.
    using FollowSetup = std::function<void(const MeasurementSetup& setup)>;

    // `clock` must outlive this object; the driver is brought up by `factory` on the bus thread.
    // recordBus: the bus as the records name it.
    BusMeasurements(DriverFactory factory, Clock& clock, FollowSetup followSetup = {},
                    std::string recordBus = "gpib", QObject* parent = nullptr);
    // Waits for a running measurement to end.
    ~BusMeasurements() override;

    // Starts the measurement with this set-up unless one is running; returns whether it
    // started.
    bool Start(const CatalogEntry& measurement, const MeasurementSetup& setup = {});
    // After Finished: how the measurement ended. Everything the bus thread did for it is visible
    // to the caller afterwards.
    std::optional<FinishedMeasurement> TakeEnd();
    // The window has shown the registration failure message: the bus thread may go on.
    void MessageShown();

signals:
    // A text for the result log, as the measurement wrote it (8-bit text, CR LF line ends).
    void ResultText(const QString& text);
    // The measurement moved on to a new step; limitSeconds 0: no time limit.
    void StepStarted(const QString& description, int limitSeconds);
    // The driver could not be registered. The bus thread waits for MessageShown before it ends
    // the measurement, so the message comes first, as in the batch mode.
    void RegistrationMessage(const QString& message);
    // The measurement has ended and the bus takes the next one; see TakeEnd.
    void Finished();

private:
    FinishedMeasurement Run(const CatalogEntry& measurement, const MeasurementSetup& setup);
    void PresentMessage(const std::string& message);

    Clock& clock_;
    FollowSetup followSetup_;
    MeasurementRecorder recorder_;
    BusActivity activity_;
    WindowLogSink log_;
    GpibBinding binding_;
    AnalyzerSession session_;

    std::mutex messageMutex_;
    std::condition_variable messageShownChanged_;
    bool messageShown_ = false;
    bool stopping_ = false;

    std::unique_ptr<BusThread<FinishedMeasurement>> thread_;  // last: stopped before the rest goes
};

}  // namespace kelvane
