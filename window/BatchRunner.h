#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "bus/AnalyzerSession.h"
#include "bus/Clock.h"
#include "bus/DriverLoad.h"
#include "bus/EventPump.h"
#include "bus/GpibBinding.h"
#include "window/StreamLogSink.h"

namespace kelvane {

// Runs measurements without a window: the same core code as the buttons, the log written to
// `out`, the binding's messages to `err`. Owns the program's binding and analyzer session.
class BatchRunner {
public:
    // `clock` must outlive the runner.
    BatchRunner(DriverFactory factory, Clock& clock, std::ostream& out, std::ostream& err);

    // Runs the measurements with these batch names in order and returns the exit status:
    // 0 all completed, 1 any warning or failure, 2 an unknown name (nothing runs), 3 the driver
    // could not be loaded or registered (nothing runs after that).
    int Run(const std::vector<std::string>& names);

    GpibBinding& Binding() { return binding_; }

private:
    Clock& clock_;
    std::ostream& err_;
    GpibBinding binding_;
    AnalyzerSession session_;
    StreamLogSink log_;
    NoEventPump events_;
};

}  // namespace kelvane
