#pragma once

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "measurements/LogSink.h"

namespace kelvane {

// The batch mode's log: every text goes to the stream byte for byte (CR LF as they are) and is
// flushed at once, so that a reader sees each line as the measurement writes it.
//
// A write that fails (a full disk, a pipe whose reader has gone) is remembered with its reason,
// and the texts after it are dropped: a log with a hole in it must not pass for a whole one.
class StreamLogSink : public LogSink {
public:
    explicit StreamLogSink(std::ostream& out) : out_(out) {}

    void AppendResult(const std::string& text) override {
        if (!failure_.empty()) return;
        errno = 0;
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        out_.flush();
        if (!out_) failure_ = errno != 0 ? std::strerror(errno) : "the output stream failed";
    }

    // Why the log could not be written; empty while every write has gone through.
    const std::string& Failure() const { return failure_; }

private:
    std::ostream& out_;
    std::string failure_;
};

}  // namespace kelvane
