#include "window/WindowProgram.h"

#include <QApplication>
#include <QTimer>
#include <optional>
#include <utility>

#include "app/WindowCaption.h"
#include "app/bus/DriverChoice.h"
#include "platform/InterruptSignals.h"
#include "platform/SteadyClock.h"
#include "window/BusMeasurements.h"
#include "window/DisplayFailureGuard.h"
#include "window/MainWindow.h"

namespace kelvane {

namespace {

// How often the window looks for a signal to end: soon enough for a person, rare enough to cost
// nothing.
constexpr int kSignalWatchMs = 100;

}  // namespace

int WindowProgram::Run(int& argc, char** argv, const WindowStart& start) {
    std::optional<QApplication> application;
    {
        // Qt ends the process when its platform cannot be brought up; say why instead.
        const DisplayFailureGuard guard;
        application.emplace(argc, argv);
    }
    SteadyClock clock;
    RunnerOptions options;
    options.bus = start.recordBus;
    options.targets = start.targets;
    options.followSetup = start.followSetup;
    BusMeasurements bus(MakeDriverFactory(start.driver, clock), clock, std::move(options));
    const DriverSetup& driver = start.driver;
    const auto caption = [&driver](const MeasurementSetup& setup) {
        return QString::fromStdString(WindowCaption(driver.simulate, driver.bus.text, setup));
    };
    // An adapter is a board of its own: only the GPIB library and the simulator have boards.
    const bool adapter = !driver.simulate && driver.bus.kind != BusChoice::Kind::Gpib;
    MainWindow window(
        caption, bus,
        {start.setup,
         adapter ? MainWindow::BoardChoice::Fixed : MainWindow::BoardChoice::Selectable,
         start.origin});

    // Closing the window would otherwise let the event loop report 0.
    std::optional<int> exitStatus;
    window.SetExitAction([&exitStatus](int status) {
        exitStatus = status;
        QCoreApplication::exit(status);
    });
    // A signal to end (SIGTERM from the desktop session, Ctrl+C in its terminal) closes the
    // window as its close button does: at once, or after the running measurement.
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, &window, [&window] {
        if (InterruptSignals::Caught() != 0) window.close();
    });
    signalWatch.start(kSignalWatchMs);
    window.show();
    const int loopStatus = QApplication::exec();
    if (!exitStatus && InterruptSignals::Caught() != 0)
        return InterruptSignals::ExitStatus(InterruptSignals::Caught());
    return exitStatus.value_or(loopStatus);
}

}  // namespace kelvane
