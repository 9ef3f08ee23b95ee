#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// Adjacent channel power at +/-5 MHz and +/-10 MHz and the carrier power.
// At the carrier centered on centerHz, with the analyzer's reference level at referenceLevelDbm.
MeasurementResult AdjacentChannelPower(MeasurementContext& context, double centerHz,
                                       double referenceLevelDbm);

}  // namespace kelvane
