#include "charts/RecordChart.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "charts/AdjacentChannelChart.h"
#include "charts/ChartParts.h"
#include "charts/EmissionMaskChart.h"
#include "charts/OccupiedBandwidthChart.h"
#include "measurements/MeasurementCatalog.h"
#include "results/UtcTime.h"
#include "results/VerdictText.h"

namespace kelvane {

namespace {

// The measurements with a chart, by their batch names: what follows the catalog's caption in
// the title (the W-CDMA mask's system, as the three masks' log titles are alike), what draws
// it, and the limits it is judged against (a mask's: those its judgement names). Channel power
// and total power are single numbers, without a chart.
struct ChartedMeasurement {
    std::string_view measurement;
    std::string_view qualifier;
    ChartModel (*draw)(const MeasurementRecord&);
    std::string_view limits;
};
constexpr std::string_view kStandard = "TS 25.104";
constexpr ChartedMeasurement kCharted[] = {
    {"obw", "", &OccupiedBandwidthChart, kStandard}, {"acp", "", &AdjacentChannelChart, kStandard},
    {"sem", " (W-CDMA)", &EmissionMaskChart, ""},    {"sem-11a", "", &EmissionMaskChart, ""},
    {"sem-11b", "", &EmissionMaskChart, ""},
};

// Text from outside as a fact: a control character as "\xNN", as the log shows them, so that no
// picture or file format meets one.
std::string Printable(const std::string& text) {
    std::string printable;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            printable += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        printable += escaped;
    }
    return printable;
}

// The last part of a path, either separator: a table's file as the facts name it.
std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "path loss 30 dB", "path loss table loss.csv"; empty without a path loss.
std::string PathLossFact(const PathLoss& loss) {
    if (loss.IsNone()) return {};
    if (loss.IsTable()) return "path loss table " + Printable(FileName(loss.File()));
    return "path loss " + ShortNumber(loss.FixedDb(), kLevelDecimals) + " dB";
}

// "limits: TS 25.104", "limits: the mask sent", "limits: TS 25.104 base station mask, P = 35
// dBm"; empty for a mask without one.
std::string LimitsFact(const MeasurementRecord& record, const ChartedMeasurement& charted) {
    if (!charted.limits.empty()) return "limits: " + std::string(charted.limits);
    switch (record.judgement.maskLimits) {
    case MaskLimits::None:
        return {};
    case MaskLimits::Sent:
        return "limits: the mask sent";
    case MaskLimits::BsPower: {
        std::string fact = "limits: " + std::string(kStandard) + " base station mask";
        if (record.setup.bsPowerDbm)
            fact += ", P = " + ShortNumber(*record.setup.bsPowerDbm, kLevelDecimals) + " dBm";
        return fact;
    }
    }
    return {};
}

std::vector<std::string> Facts(const MeasurementRecord& record, const ChartedMeasurement& charted) {
    const MeasurementResult& result = record.result;
    std::vector<std::string> facts;
    facts.push_back(result.title.empty() ? record.measurement
                                         : record.measurement + " (" + result.title + ")");
    facts.push_back("carrier " + MegahertzNumber(result.centerHz) + " MHz");
    facts.push_back("reference level " +
                    ShortNumber(record.setup.referenceLevelDbm, kLevelDecimals) + " dBm");
    for (std::string fact : {PathLossFact(record.setup.pathLoss), LimitsFact(record, charted)})
        if (!fact.empty()) facts.push_back(std::move(fact));
    if (!record.origin.dut.empty()) facts.push_back("DUT " + Printable(record.origin.dut));
    facts.push_back(UtcSecondsText(record.started));
    facts.push_back("Kelvane " + record.version);
    if (!result.message.empty()) facts.push_back(result.message);
    return facts;
}

}  // namespace

std::optional<ChartModel> ChartFor(const MeasurementRecord& record) {
    if (record.judgement.values.empty()) return std::nullopt;
    const auto charted = std::find_if(
        std::begin(kCharted), std::end(kCharted),
        [&](const ChartedMeasurement& c) { return c.measurement == record.measurement; });
    const CatalogEntry* entry = FindMeasurement(record.measurement);
    if (charted == std::end(kCharted) || !entry) return std::nullopt;

    ChartModel model = charted->draw(record);
    model.title = std::string(entry->caption) + std::string(charted->qualifier);
    const std::string verdict = VerdictText(record.judgement);
    if (!verdict.empty()) model.title += ": " + verdict;
    model.facts = Facts(record, *charted);
    model.verdict = record.judgement.verdict;
    return model;
}

}  // namespace kelvane
