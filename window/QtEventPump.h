#pragma once

#include <QCoreApplication>

#include "bus/EventPump.h"

namespace kelvane {

// Lets the window repaint, scroll, edit its log and receive clicks while a measurement waits
// for the analyzer.
class QtEventPump : public EventPump {
public:
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace kelvane
