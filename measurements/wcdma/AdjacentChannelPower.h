#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Adjacent channel power at +/-5 MHz and +/-10 MHz and the carrier power.
// At the carrier centered on centerHz, with the analyzer's reference level at referenceLevelDb.
MeasurementOutcome AdjacentChannelPower(MeasurementContext& context, double centerHz,
                                        double referenceLevelDb);

}  // namespace kelvane
