#pragma once

#include <string>

#include "measurements/LogSink.h"

namespace kelvane {

class Form1;

// Hands the measurements' texts to the window's result log.
class WindowLogSink : public LogSink {
public:
    explicit WindowLogSink(Form1& window) : window_(window) {}

    void AppendResult(const std::string& text) override;

private:
    Form1& window_;
};

}  // namespace kelvane
