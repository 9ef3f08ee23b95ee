#include "tests/support/EmulatedAdapterStream.h"

#include <algorithm>
#include <memory>

namespace kelvane::testing {

using std::chrono::duration_cast;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

EmulatedAdapterStream::EmulatedAdapterStream(AdapterEmulator& adapter, VirtualClock& clock)
    : adapter_(adapter), clock_(clock), connectedAt_(clock.Now()) {
    adapter_.Connect();
}

StreamOpener EmulatedAdapterStream::Opener(AdapterEmulator& adapter, VirtualClock& clock) {
    return [&adapter, &clock](nanoseconds) {
        return StreamOpen{std::make_unique<EmulatedAdapterStream>(adapter, clock), {}};
    };
}

ByteStream::Result EmulatedAdapterStream::Send(std::string_view bytes, nanoseconds) {
    if (closed_) return Result::Failed;
    const nanoseconds now = clock_.Now();
    for (auto& output : adapter_.Feed(bytes, duration_cast<milliseconds>(now - connectedAt_))) {
        busyUntil_ = std::max(busyUntil_, now) + output.delay;
        arrivals_.push_back({busyUntil_, output.bytes, output.close});
        if (output.close) break;
    }
    return Result::Done;
}

ByteStream::Result EmulatedAdapterStream::Receive(std::string& received, nanoseconds timeout) {
    for (;;) {
        if (arrivals_.empty()) {
            if (closed_) return Result::Failed;
            clock_.Advance(timeout);
            return Result::TimedOut;
        }
        const Arrival next = arrivals_.front();
        if (next.at > clock_.Now() + timeout) {
            clock_.Advance(timeout);
            return Result::TimedOut;
        }
        if (next.at > clock_.Now()) {
            timeout -= next.at - clock_.Now();
            clock_.Advance(next.at - clock_.Now());
        }
        arrivals_.pop_front();
        if (next.close) {
            closed_ = true;
            arrivals_.clear();
            return Result::Failed;
        }
        if (!next.bytes.empty()) {
            received += next.bytes;
            return Result::Done;
        }
    }
}

}  // namespace kelvane::testing
