#pragma once

#include <QString>
#include <functional>
#include <string>

#include "measurements/LogSink.h"

namespace kelvane {

// Hands the measurements' texts on as Qt text, for the window's result log.
class WindowLogSink : public LogSink {
public:
    using Deliver = std::function<void(const QString& text)>;

    explicit WindowLogSink(Deliver deliver) : deliver_(std::move(deliver)) {}

    void AppendResult(const std::string& text) override;

private:
    Deliver deliver_;
};

}  // namespace kelvane
