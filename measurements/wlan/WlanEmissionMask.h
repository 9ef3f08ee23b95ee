#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// Spectrum emission mask of the 802.11a signal at the set-up's carrier (5005 MHz by default;
// five segments, ten rows).
MeasurementResult WlanEmissionMask11a(MeasurementContext& context);
// Spectrum emission mask of the 802.11b signal at the set-up's carrier (2412 MHz by default;
// three segments, six rows).
MeasurementResult WlanEmissionMask11b(MeasurementContext& context);

}  // namespace kelvane
