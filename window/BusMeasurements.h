#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/MeasurementRunner.h"
#include "app/bus/BusThread.h"
#include "window/log/WindowLogSink.h"

namespace kelvane {

struct CatalogEntry;

// The window program's bus: the bus thread that makes every driver call, and the measurement
// runner whose binding and analyzer session live on it. Measurements start from the window
// thread and run on the bus thread; their texts, their steps and their end come back to the
// window thread through queued signals, in the order they happened. The object itself lives on
// the window thread.
class BusMeasurements : public QObject {
    Q_OBJECT

public:
    // `clock` must outlive this object; the driver is brought up by `factory` on the bus thread.
    // `options` say where the records go and which set-up the bench follows; the steps, the
    // registration message and the log are this object's.
    BusMeasurements(DriverFactory factory, Clock& clock, RunnerOptions options = {},
                    QObject* parent = nullptr);
    // Waits for a running measurement to end.
    ~BusMeasurements() override;

    // Starts the measurement with this set-up unless one is running; returns whether it
    // started.
    bool Start(const CatalogEntry& measurement, const MeasurementSetup& setup = {},
               const RecordOrigin& origin = {});
    // After Finished: how the measurement ended. Everything the bus thread did for it is visible
    // to the caller afterwards.
    std::optional<RunEnd> TakeEnd();
    // The window has shown the registration failure message: the bus thread may go on.
    void MessageShown();

    // The records of the measurements so far, in the order they ended.
    std::vector<MeasurementRecord> Records() const { return runner_.Records(); }

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
    RunnerOptions WindowOptions(RunnerOptions options);
    void PresentMessage(const std::string& message);

    WindowLogSink log_;
    MeasurementRunner runner_;

    std::mutex messageMutex_;
    std::condition_variable messageShownChanged_;
    bool messageShown_ = false;
    bool stopping_ = false;

    std::unique_ptr<BusThread<RunEnd>> thread_;  // last: stopped before the rest goes
};

}  // namespace kelvane
