#pragma once

#include <memory>
#include <string>

#include "gpib/ReportingDriver.h"
#include "gpib/TraceLog.h"

namespace kelvane {

// A driver that passes every call on to another one and writes it to the bus trace, one line
// each: the call and its arguments (data as escaped text), then what it returned: the status
// word with its bits named, the error code when ERR is set, the byte count, and for a read the
// bytes that arrived. Works over every driver, the simulated analyzer included.
class TracingDriver : public ReportingDriver {
public:
    // `log` must outlive the driver.
    TracingDriver(std::unique_ptr<GpibDriver> inner, TraceLog& log);

protected:
    void Called(const GpibCall& call) override;

private:
    TraceLog& log_;
};

// The trace line of a call, e.g. `ibrd(16, 50) -> ibsta 0x2100 (END CMPL)  iberr 0  ibcnt 9
// "-23.456\r\n"`.
std::string TraceLine(const GpibCall& call);

}  // namespace kelvane
