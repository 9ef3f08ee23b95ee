#pragma once

namespace kelvane {

// Lets the window handle its pending events from inside a running measurement.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void ProcessPendingEvents() = 0;
};

}  // namespace kelvane
