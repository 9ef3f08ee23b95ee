#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "measurements/MeasurementResult.h"

namespace kelvane {

// The seven measurements by their batch names, in the window's order: ch-power, obw, acp, sem,
// sem-11a, sem-11b, total-power-11b. Each runs at the carrier and reference level of the
// context's set-up.
struct CatalogEntry {
    std::string_view name;
    // The window's button caption, by which the window and the charts name the measurement:
    // "CH Power", "OBW", "ACP", "S.E.M.", "SEM (11a)", "SEM (11b)", "Total Power (11b)".
    std::string_view caption;
    std::function<MeasurementResult(MeasurementContext&)> run;
};

const std::vector<CatalogEntry>& MeasurementCatalog();

// The catalog entry with this batch name, or nullptr when there is none.
const CatalogEntry* FindMeasurement(std::string_view name);

}  // namespace kelvane
