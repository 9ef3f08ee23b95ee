#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fuzz/DriverCall.h"
#include "measurements/LogSink.h"

namespace kelvane::fuzz {

// One text that went into the log, and how many driver calls had been made by then.
struct LogAppend {
    std::string text;
    std::size_t callsBefore = 0;
};

// A result log that keeps each append apart, so that the checks see the log's growth step by
// step and where it stood on the bus.
class RecordingLog : public LogSink {
public:
    RecordingLog(const std::vector<DriverCall>& calls, std::vector<LogAppend>& appends)
        : calls_(calls), appends_(appends) {}

    void AppendResult(const std::string& text) override {
        appends_.push_back({text, calls_.size()});
    }

private:
    const std::vector<DriverCall>& calls_;
    std::vector<LogAppend>& appends_;
};

}  // namespace kelvane::fuzz
