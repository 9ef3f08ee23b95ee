#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// W-CDMA spectrum emission mask: four fixed segments, one sweep, eight result rows.
// At the carrier centered on centerHz, with the analyzer's reference level at referenceLevelDbm.
MeasurementResult WcdmaEmissionMask(MeasurementContext& context, double centerHz,
                                    double referenceLevelDbm);

}  // namespace kelvane
