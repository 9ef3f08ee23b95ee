#pragma once

#include <memory>
#include <string>
#include <vector>

#include "analyzer/AnalyzerSession.h"
#include "analyzer/GpibBinding.h"
#include "tests/support/ScriptedDriver.h"

namespace kelvane::testing {

// A binding over a scripted driver, with the messages it shows collected.
struct BindingFixture {
    BindingFixture() {
        auto owned = std::make_unique<ScriptedDriver>();
        driver = owned.get();
        binding = std::make_unique<GpibBinding>(HandOver(std::move(owned)),
                                                [this](const std::string& message) {
                                                    messages.push_back(message);
                                                    callsAtMessage = driver->calls.size();
                                                });
        session = std::make_unique<AnalyzerSession>(*binding);
    }

    ScriptedDriver* driver = nullptr;  // owned by the binding
    std::unique_ptr<GpibBinding> binding;
    std::unique_ptr<AnalyzerSession> session;
    std::vector<std::string> messages;
    std::size_t callsAtMessage = 0;
};

}  // namespace kelvane::testing
