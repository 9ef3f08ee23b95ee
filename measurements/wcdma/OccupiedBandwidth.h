#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// 99 % occupied bandwidth of a W-CDMA carrier, averaged over 10 sweeps.
// At the carrier centered on centerHz, with the analyzer's reference level at referenceLevelDbm.
MeasurementResult OccupiedBandwidth(MeasurementContext& context, double centerHz,
                                    double referenceLevelDbm);

}  // namespace kelvane
