#pragma once

#include <QtTest>
#include <QtWidgets>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WindowCaption.h"
#include "app/bus/DriverChoice.h"
#include "results/ResultsFile.h"
#include "tests/support/LatchedDriver.h"
#include "tests/support/ScriptedDriver.h"
#include "window/BusMeasurements.h"
#include "window/MainMenu.h"
#include "window/MainWindow.h"
#include "window/VerdictMark.h"
#include "window/log/StatusLine.h"

namespace kelvane::testing {

inline constexpr int kEndTimeoutMs = 10000;

inline QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    for (const auto& text : texts) list << QString::fromStdString(text);
    return list;
}

inline RunnerOptions WithResults(ResultsFile* results) {
    RunnerOptions options;
    if (results) options.targets = {results};
    return options;
}

// The main window on a virtual clock and a scripted driver (whose reads after "PWCH?" wait for
// the latch when `latched`), or on the simulated analyzer, with the messages and the exit action
// recorded. The test reads the driver's record only while a read is held or after a measurement
// ended.
struct WindowFixture {
    explicit WindowFixture(bool simulated, bool latched = false, ResultsFile* results = nullptr)
        : bus(simulated ? MakeDriverFactory(DriverSetup{true, {}, nullptr}, clock)
                        : HandOver(std::move(owned)),
              clock, WithResults(results)),
          window(
              [simulated](const MeasurementSetup& setup) {
                  return QString::fromStdString(WindowCaption(simulated, "gpib", setup));
              },
              bus, {{}, MainWindowOptions::BoardChoice::Selectable}) {
        driver.AttachClock(&clock);
        if (!latched) latch.Open();
        window.SetExitAction([this](int status) { exitStatus = status; });
        window.SetMessagePresenter([this](QWidget* parent, const QString& message) {
            onWindowThread &= QThread::currentThread() == qApp->thread() && parent == &window;
            messages << message;
        });
        window.show();
        window.activateWindow();
    }
    ~WindowFixture() { latch.Open(); }

    QList<QPushButton*> Buttons() const {
        QList<QPushButton*> buttons;
        for (std::size_t i = 0; i < MainWindow::kButtonCount; ++i) {
            buttons << window.Button(static_cast<MainWindow::ButtonId>(i));
        }
        return buttons;
    }
    QPushButton* Button(MainWindow::ButtonId id) const { return window.Button(id); }
    QStringList Transcript() const { return ToQt(driver.Transcript()); }
    QString Log() const { return window.Log()->toPlainText(); }
    QString Status() const { return window.StatusText()->Text(); }

    // Clicks and waits for the measurement's end.
    bool RunToEnd(QPushButton* button) {
        QSignalSpy ended(&window, &MainWindow::MeasurementEnded);
        QTest::mouseClick(button, Qt::LeftButton);
        return ended.wait(kEndTimeoutMs);
    }
    bool WaitForEnd() {
        QSignalSpy ended(&window, &MainWindow::MeasurementEnded);
        return ended.wait(kEndTimeoutMs);
    }
    bool WaitUntilHeld() { return latch.WaitUntilHeld(std::chrono::milliseconds(kEndTimeoutMs)); }

    VirtualClock clock;
    std::unique_ptr<ScriptedDriver> scripted = std::make_unique<ScriptedDriver>();
    ScriptedDriver& driver = *scripted;
    std::unique_ptr<LatchedDriver> owned =
        std::make_unique<LatchedDriver>(std::move(scripted), "PWCH?");
    LatchedDriver& latch = *owned;
    QStringList messages;
    bool onWindowThread = true;
    std::optional<int> exitStatus;
    BusMeasurements bus;
    MainWindow window;
};

}  // namespace kelvane::testing
