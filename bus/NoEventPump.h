#pragma once

#include "bus/EventPump.h"

namespace kelvane {

// For runs without a window: there are no events to handle.
class NoEventPump : public EventPump {
public:
    void ProcessPendingEvents() override {}
};

}  // namespace kelvane
