#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bus/AnalyzerSession.h"
#include "bus/EventPump.h"
#include "bus/GpibBinding.h"
#include "bus/VirtualClock.h"
#include "measurements/LogSink.h"
#include "measurements/MeasurementContext.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {

using Timeline = std::vector<std::string>;

// A log that remembers where each text arrived among the driver calls, so that tests see the
// order of commands, reads and log lines in one list.
class TimelineLog : public LogSink {
public:
    explicit TimelineLog(const ScriptedDriver& driver) : driver_(driver) {}

    void AppendResult(const std::string& text) override {
        text_ += text;
        appends_.emplace_back(driver_.calls.size(), text);
    }

    const std::string& Text() const { return text_; }

    // Driver calls as ScriptedDriver::Transcript writes them, log texts as "log: <text>".
    Timeline Merged() const {
        Timeline merged;
        std::size_t next = 0;
        for (std::size_t call = 0; call <= driver_.calls.size(); ++call) {
            for (; next < appends_.size() && appends_[next].first == call; ++next)
                merged.push_back("log: " + appends_[next].second);
            if (call < driver_.calls.size()) merged.push_back(driver_.calls[call].ToString());
        }
        return merged;
    }

private:
    const ScriptedDriver& driver_;
    std::string text_;
    std::vector<std::pair<std::size_t, std::string>> appends_;
};

// A measurement's surroundings: the program's binding over a scripted analyzer, its session, a
// timeline log and a virtual clock that unanswered reads advance by the driver's 10 s.
class MeasurementBench : public ::testing::Test {
protected:
    MeasurementBench() { driver.AttachClock(&clock); }

    // The end status arrives at the first poll.
    void EndAtOnce() { driver.Reply("*STB?", {"128"}); }
    // No end bit ever shows.
    void NeverEnd() { driver.ReplyAlways("*STB?", "0"); }
    // The end comes through the event summary bit, with an execution error flagged.
    void EndWithError() {
        driver.Reply("*STB?", {"32"});
        driver.Reply("*ESR?", {"16"});
    }

    Timeline Merged() const { return log.Merged(); }

private:
    std::unique_ptr<GpibBinding> MakeBinding() {
        auto holder = std::make_shared<std::unique_ptr<ScriptedDriver>>(std::move(ownedDriver_));
        return std::make_unique<GpibBinding>(
            [holder] { return DriverLoad{std::move(*holder), {}}; },
            [this](const std::string& message) { messages.push_back(message); });
    }

    // Handed to the binding at its first driver call.
    std::unique_ptr<ScriptedDriver> ownedDriver_ = std::make_unique<ScriptedDriver>();

protected:
    ScriptedDriver& driver = *ownedDriver_;
    VirtualClock clock;
    NoEventPump events;
    TimelineLog log{driver};
    std::vector<std::string> messages;  // shown by the binding

private:
    std::unique_ptr<GpibBinding> binding_ = MakeBinding();
    AnalyzerSession session_{*binding_};

protected:
    MeasurementContext context{session_, log, clock, events};
};

// What a run should do, built in the order it happens.
class Expected {
public:
    static constexpr std::int32_t kDevice = ScriptedDriver::kDescriptor;

    // Registration (the first driver call of the program's life), ibdev and the title.
    Expected& Open(const std::string& title) {
        timeline.push_back("RegisterGpibGlobalsForThread()");
        timeline.push_back("ibdev(0, 8, 0, 13, 1, 0)");
        return Log("\r\n" + title + "\r\n");
    }
    Expected& Write(const std::string& text) {
        const auto count = static_cast<std::int32_t>(text.size());
        timeline.push_back(DriverCall{"ibwrt", {kDevice, count}, text}.ToString());
        return *this;
    }
    Expected& Write(std::initializer_list<std::string> texts) {
        return Write(texts.begin(), texts.end());
    }
    Expected& Write(const std::vector<std::string>& texts) {
        return Write(texts.begin(), texts.end());
    }
    template <typename It>
    Expected& Write(It first, It last) {
        for (; first != last; ++first) Write(*first);
        return *this;
    }
    Expected& Read(std::int32_t count, const std::string& bytes) {
        timeline.push_back(DriverCall{"ibrd", {kDevice, count}, bytes}.ToString());
        return *this;
    }
    Expected& Log(const std::string& text) {
        timeline.push_back("log: " + text);
        log += text;
        return *this;
    }
    // The measurement-end wait, "OPR 16" or "OPR 256", as the bench's scripts make it end.
    Expected& QuickWait(const std::string& opr) {
        return Write({"*CLS", opr, "*SRE 160", "*STB?"}).Read(10, "128");
    }
    Expected& ErrorWait(const std::string& opr) {
        Write({"*CLS", opr, "*SRE 160", "*STB?"}).Read(10, "32");
        return Write("*ESR?").Read(10, "16");
    }
    // Polls every 10 ms; the first test after 10 s ends it.
    Expected& TimedOutWait(const std::string& opr) {
        Write({"*CLS", opr, "*SRE 160"});
        for (int poll = 0; poll < 1001; ++poll) Write("*STB?").Read(10, "0");
        return *this;
    }
    Expected& Close(std::int32_t device = kDevice) {
        timeline.push_back("ibonl(" + std::to_string(device) + ", 0)");
        timeline.push_back("ibonl(0, 0)");
        return *this;
    }

    Timeline timeline;
    std::string log;
};

inline const std::string kTimeOutWarning =
    "Warning: the analyzer did not report the end of the measurement within 10 s.\r\n";
inline const std::string kErrorWarning =
    "Warning: the analyzer reported an error during the measurement (event status 16).\r\n";

}  // namespace kelvane::testing
