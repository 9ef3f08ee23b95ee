#include "fuzz/RunTrace.h"

#include <cstdio>

namespace kelvane::fuzz {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20 || byte >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

const char* EntryName(DriverCall::Entry entry) {
    switch (entry) {
    case DriverCall::Entry::Register:
        return "RegisterGpibGlobalsForThread";
    case DriverCall::Entry::Unregister:
        return "UnregisterGpibGlobalsForThread";
    case DriverCall::Entry::Ibdev:
        return "ibdev";
    case DriverCall::Entry::Ibonl:
        return "ibonl";
    case DriverCall::Entry::Ibwrt:
        return "ibwrt";
    case DriverCall::Entry::Ibrd:
        return "ibrd";
    }
    return "?";
}

}  // namespace

std::string RunTrace(const RunRecord& run) {
    std::string trace = "driver calls:\n";
    for (const auto& call : run.calls) {
        trace += std::string("  ") + EntryName(call.entry) + "(";
        for (std::size_t i = 0; i < call.args.size(); ++i)
            trace += (i > 0 ? ", " : "") + std::to_string(call.args[i]);
        trace += ") -> " + std::to_string(call.result);
        if (!call.text.empty()) trace += " \"" + Escaped(call.text) + "\"";
        if (call.failed) trace += " ERR";
        trace += "\n";
    }
    for (const auto& message : run.messages) trace += "message: " + Escaped(message) + "\n";
    trace += "log:\n";
    for (const auto& append : run.appends)
        trace += "  [after call " + std::to_string(append.callsBefore) + "] \"" +
                 Escaped(append.text) + "\"\n";
    return trace;
}

}  // namespace kelvane::fuzz
