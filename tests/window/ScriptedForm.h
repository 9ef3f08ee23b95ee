#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bus/AnalyzerSession.h"
#include "bus/GpibBinding.h"
#include "bus/VirtualClock.h"
#include "tests/support/ScriptedDriver.h"
#include "tests/window/ForwardingDriver.h"
#include "window/Form1.h"

namespace kelvane::testing {

// Form1 on a virtual clock and a scripted driver (or the driver that `factory` brings up), with
// the binding's messages and the exit action recorded instead of shown and carried out.
struct ScriptedForm {
    explicit ScriptedForm(DriverFactory factory = {})
        : binding(factory ? std::move(factory) : ForwardingDriver::FactoryFor(driver),
                  [this](const std::string& message) { messages.push_back(message); }),
          session(binding),
          form(session, clock, false) {
        driver.AttachClock(&clock);
        form.SetExitAction([this](int status) { exitStatus = status; });
    }

    std::size_t SessionsOpened() const {
        std::size_t n = 0;
        for (const auto& call : driver.calls) n += call.name == "ibdev" ? 1 : 0;
        return n;
    }

    VirtualClock clock;
    ScriptedDriver driver;
    std::vector<std::string> messages;
    std::optional<int> exitStatus;
    GpibBinding binding;
    AnalyzerSession session;
    Form1 form;
};

}  // namespace kelvane::testing
