#include "gpib/TracingDriver.h"

#include <cstdio>
#include <utility>

#include "gpib/EscapedText.h"
#include "gpib/GpibCodes.h"

namespace kelvane {

namespace {

std::string StatusBits(std::int32_t status) {
    static constexpr std::pair<std::int32_t, const char*> kBits[]{
        {kStatusErr, "ERR"}, {kStatusTimo, "TIMO"}, {kStatusEnd, "END"}, {kStatusCmpl, "CMPL"}};
    std::string names;
    for (const auto& [bit, name] : kBits)
        if ((status & bit) != 0) names += names.empty() ? name : std::string(" ") + name;
    return names;
}

std::string Quoted(const std::string& bytes) { return "\"" + EscapedText(bytes) + "\""; }

// " -> ibsta 0x2100 (END CMPL)  iberr 0  ibcnt 9", or the return value while no status
// variables are registered.
std::string Outcome(const GpibCall& call) {
    if (!call.status) return " -> " + std::to_string(call.result);
    const GpibCall::Status& s = *call.status;
    char status[16];
    std::snprintf(status, sizeof status, "0x%04X", static_cast<unsigned>(s.status) & 0xFFFFu);
    std::string text = std::string(" -> ibsta ") + status + " (" + StatusBits(s.status) + ")";
    text += (s.status & kStatusErr) != 0 ? "  iberr " + GpibErrorName(s.error) : "  iberr 0";
    return text + "  ibcnt " + std::to_string(s.countLong);
}

std::string Arguments(const std::vector<std::int32_t>& arguments) {
    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(arguments[i]);
    return text;
}

}  // namespace

std::string TraceLine(const GpibCall& call) {
    const auto& a = call.arguments;
    if (call.entry == "ibdev")
        return "ibdev(" + Arguments(a) + ") = " + std::to_string(call.result) + Outcome(call);
    if (call.entry == "ibwrt")
        return "ibwrt(" + std::to_string(a.at(0)) + ", " + Quoted(call.bytes) + ", " +
               std::to_string(a.at(1)) + ")" + Outcome(call);
    if (call.entry == "ibrd")
        return "ibrd(" + Arguments(a) + ")" + Outcome(call) +
               (call.status ? "  " + Quoted(call.bytes) : "");
    if (call.entry == "ibonl") return "ibonl(" + Arguments(a) + ")" + Outcome(call);
    // The registration entries: their result alone.
    return call.entry + "() -> " + std::to_string(call.result);
}

TracingDriver::TracingDriver(std::unique_ptr<GpibDriver> inner, TraceLog& log)
    : ReportingDriver(std::move(inner)), log_(log) {}

void TracingDriver::Called(const GpibCall& call) { log_.Line(TraceLine(call)); }

}  // namespace kelvane
