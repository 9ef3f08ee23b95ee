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
// the title (the W-CDMA mask's system, as the three masks' log titles are alike) and what draws
// it. Channel power and total power are single numbers, without a chart.
struct ChartedMeasurement {
    std::string_view measurement;
    std::string_view qualifier;
    ChartModel (*draw)(const MeasurementRecord&);
};
constexpr ChartedMeasurement kCharted[] = {
    {"obw", "", &OccupiedBandwidthChart},     {"acp", "", &AdjacentChannelChart},
    {"sem", " (W-CDMA)", &EmissionMaskChart}, {"sem-11a", "", &EmissionMaskChart},
    {"sem-11b", "", &EmissionMaskChart},
};

// "2026-12-09 14:19:50 UTC".
std::string UtcText(std::chrono::system_clock::time_point time) {
    const UtcTime t = UtcTimeOf(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::vector<std::string> Facts(const MeasurementRecord& record) {
    const MeasurementResult& result = record.result;
    std::vector<std::string> facts;
    facts.push_back(result.title.empty() ? record.measurement
                                         : record.measurement + " (" + result.title + ")");
    facts.push_back("carrier " + MegahertzNumber(result.centerHz) + " MHz");
    facts.push_back(UtcText(record.started));
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
    model.facts = Facts(record);
    model.verdict = record.judgement.verdict;
    return model;
}

}  // namespace kelvane
