#include "report/ReportHeader.h"

#include <cstdio>

#include "measurements/NumberForms.h"
#include "report/HtmlEscape.h"
#include "results/UtcTime.h"

namespace kelvane {

namespace {

std::string Megahertz(double hz) { return GeneralNumber(hz / 1e6) + " MHz"; }

// One line of the facts list; `html` is markup already.
std::string Fact(const char* term, const std::string& html) {
    return std::string("<dt>") + term + "</dt><dd>" + html + "</dd>\n";
}

// Text from outside, or a note that it was not given.
std::string Given(const std::string& text) {
    return text.empty() ? "<span class=\"note\">not given</span>" : HtmlEscaped(text);
}

}  // namespace

std::string CarriersText(const MeasurementSetup& setup) {
    return "W-CDMA " + Megahertz(setup.wcdmaCenterHz) + ", 802.11a " +
           Megahertz(setup.wlan11aCenterHz) + ", 802.11b " + Megahertz(setup.wlan11bCenterHz);
}

std::string PathLossHtml(const MeasurementSetup& setup) {
    const PathLoss& loss = setup.pathLoss;
    if (loss.IsNone()) return "none (levels as the analyzer saw them)";
    if (loss.IsTable())
        return "table <code>" + HtmlEscaped(loss.File()) + "</code> (" +
               std::to_string(loss.Points().size()) +
               " frequencies, read linearly); levels at the DUT";
    return GeneralNumber(loss.FixedDb()) + " dB; levels at the DUT";
}

std::string LimitSetText(const MeasurementSetup& setup) {
    const std::string mask = setup.bsPowerDbm ? "the mask for a base station of " +
                                                    GeneralNumber(*setup.bsPowerDbm) + " dBm"
                                              : "the mask sent to the analyzer";
    return "OBW below 5 MHz; ACP -45 dB at \u00B15 MHz, -50 dB at \u00B110 MHz; W-CDMA emission "
           "mask: " +
           mask + "; WLAN masks: from the measured peak";
}

std::string AnalyzerHtml(const std::string& bus, const MeasurementSetup& setup) {
    const std::string board = "board " + std::to_string(setup.address.board);
    const std::string address = "address " + std::to_string(setup.address.primaryAddress);
    if (bus == "gpib" || bus.empty()) return "GPIB " + board + ", " + address;
    if (bus == "simulated") return "simulated analyzer (" + board + ", " + address + ")";
    return "<code>" + HtmlEscaped(bus) + "</code>, GPIB " + address;
}

std::string ReportHeaderHtml(const ReportFacts& facts, const std::string& runId) {
    const RecordOrigin origin = facts.origin.value_or(RecordOrigin{});
    const MeasurementSetup setup = facts.setup.value_or(MeasurementSetup{});
    std::string html = "<header>\n<p class=\"kicker\">Kelvane test report</p>\n<h1>";
    html += origin.dut.empty() ? std::string("DUT not named") : "DUT " + HtmlEscaped(origin.dut);
    html += "</h1>\n<dl class=\"facts\">\n";
    html += Fact("DUT", Given(origin.dut));
    html += Fact("Operator", Given(origin.operatorName));
    html += Fact("Station", Given(origin.station));
    std::string when = facts.started ? UtcSecondsText(*facts.started) : std::string("-");
    if (facts.ended) when += " to " + UtcSecondsText(*facts.ended);
    html += Fact("Run", when);
    html += Fact("Kelvane", facts.version.empty() ? std::string("-") : HtmlEscaped(facts.version));
    html += Fact("Analyzer", AnalyzerHtml(facts.bus, setup));
    html += Fact("Carriers", CarriersText(setup));
    html += Fact("Reference level", GeneralNumber(setup.referenceLevelDbm) + " dBm");
    html += Fact("Path loss", PathLossHtml(setup));
    html += Fact("Limits", HtmlEscaped(LimitSetText(setup)));
    if (!runId.empty()) html += Fact("Run id", "<code>" + HtmlEscaped(runId) + "</code>");
    return html + "</dl>\n</header>\n";
}

}  // namespace kelvane
