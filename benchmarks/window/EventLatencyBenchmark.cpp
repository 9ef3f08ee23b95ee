// The window's event latency while a measurement blocks in a read: another thread posts an
// event every 2 ms, stamped with the time of posting, and the window thread records how long
// each one waited until it was handled. The read is held for 1 s.
//   WindowBusThread: the program as it is, the measurement on the bus thread.
//   WindowThreadItself: the same measurement run on the window thread, as a click used to.
#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPushButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "measurements/MeasurementCatalog.h"
#include "tests/support/LatchedDriver.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/support/VirtualClock.h"
#include "window/BusMeasurements.h"
#include "window/MainWindow.h"

namespace {

using namespace kelvane;
using Steady = std::chrono::steady_clock;

constexpr auto kHeldFor = std::chrono::seconds(1);
constexpr auto kPostEvery = std::chrono::milliseconds(2);

class StampedEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }
    StampedEvent() : QEvent(Kind()), posted(Steady::now()) {}
    const Steady::time_point posted;
};

// Records the wait of every stamped event it handles, in milliseconds.
class LatencyRecorder : public QObject {
public:
    std::vector<double> waits;

protected:
    bool event(QEvent* event) override {
        if (event->type() != StampedEvent::Kind()) return QObject::event(event);
        const auto posted = static_cast<StampedEvent*>(event)->posted;
        waits.push_back(std::chrono::duration<double, std::milli>(Steady::now() - posted).count());
        return true;
    }
};

// Posts stamped events from its own thread until it goes.
class EventPoster {
public:
    explicit EventPoster(QObject& receiver)
        : thread_([this, &receiver] {
              while (!stop_) {
                  QCoreApplication::postEvent(&receiver, new StampedEvent);
                  std::this_thread::sleep_for(kPostEvery);
              }
          }) {}
    ~EventPoster() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::unique_ptr<testing::LatchedDriver> ChannelPowerDriver() {
    auto scripted = std::make_unique<testing::ScriptedDriver>();
    scripted->Reply("*STB?", {"128"});
    scripted->Reply("PWCH?", {"-10.2"});
    return std::make_unique<testing::LatchedDriver>(std::move(scripted), "PWCH?");
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values[index];
}

void Report(benchmark::State& state, const std::vector<double>& waits) {
    state.counters["events"] = static_cast<double>(waits.size());
    state.counters["median_ms"] = Percentile(waits, 0.5);
    state.counters["p99_ms"] = Percentile(waits, 0.99);
    state.counters["max_ms"] = Percentile(waits, 1.0);
}

// Opens the latch kHeldFor after the read arrived there.
std::thread OpenLater(testing::LatchedDriver& latch) {
    return std::thread([&latch] {
        latch.WaitUntilHeld(std::chrono::seconds(10));
        std::this_thread::sleep_for(kHeldFor);
        latch.Open();
    });
}

void WindowBusThread(benchmark::State& state) {
    for (auto _ : state) {
        VirtualClock clock;
        auto owned = ChannelPowerDriver();
        testing::LatchedDriver& latch = *owned;
        BusMeasurements bus(testing::HandOver(std::move(owned)), clock);
        MainWindow window(QStringLiteral("Kelvane (V1.2)"), bus);
        window.show();
        LatencyRecorder recorder;
        QEventLoop loop;  // as the program's own event loop
        QObject::connect(&window, &MainWindow::MeasurementEnded, &loop, &QEventLoop::quit);
        std::thread opener = OpenLater(latch);
        {
            const EventPoster poster(recorder);
            window.Button(MainWindow::kChPowerButton)->click();
            loop.exec();
        }
        opener.join();
        QCoreApplication::processEvents();
        Report(state, recorder.waits);
    }
}

void WindowThreadItself(benchmark::State& state) {
    for (auto _ : state) {
        VirtualClock clock;
        auto owned = ChannelPowerDriver();
        testing::LatchedDriver& latch = *owned;
        GpibBinding binding(testing::HandOver(std::move(owned)), nullptr);
        AnalyzerSession session(binding);
        struct : LogSink {
            void AppendResult(const std::string&) override {}
        } log;
        MeasurementContext context{session, log, clock};
        LatencyRecorder recorder;
        std::thread opener = OpenLater(latch);
        {
            const EventPoster poster(recorder);
            FindMeasurement("ch-power")->run(context);
            QCoreApplication::processEvents();
        }
        opener.join();
        QCoreApplication::processEvents();
        Report(state, recorder.waits);
    }
}

BENCHMARK(WindowBusThread)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WindowThreadItself)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
