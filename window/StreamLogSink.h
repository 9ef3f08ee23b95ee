#pragma once

#include <ostream>
#include <string>

#include "measurements/LogSink.h"

namespace kelvane {

// The batch mode's log: every text goes to the stream byte for byte (CR LF as they are) and is
// flushed at once, so that a reader sees each line as the measurement writes it.
class StreamLogSink : public LogSink {
public:
    explicit StreamLogSink(std::ostream& out) : out_(out) {}

    void AppendResult(const std::string& text) override {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        out_.flush();
    }

private:
    std::ostream& out_;
};

}  // namespace kelvane
