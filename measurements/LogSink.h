#pragma once

#include <string>

namespace kelvane {

// Where a measurement writes its title and result lines: the window's result log, standard
// output in batch mode, a string in tests. Texts arrive exactly as they go into the log,
// each line with its own CR LF.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void AppendResult(const std::string& text) = 0;
};

}  // namespace kelvane
