#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// Power in the 3.84 MHz channel centered on the carrier, in dBm.
// At the carrier centered on centerHz, with the analyzer's reference level at referenceLevelDbm.
MeasurementResult ChannelPower(MeasurementContext& context, double centerHz,
                               double referenceLevelDbm);

}  // namespace kelvane
