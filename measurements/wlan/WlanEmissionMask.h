#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Spectrum emission mask of an 802.11a signal at 5005 MHz (five segments, ten rows).
MeasurementOutcome WlanEmissionMask11a(MeasurementContext& context);
// Spectrum emission mask of an 802.11b signal at 2412 MHz (three segments, six rows).
MeasurementOutcome WlanEmissionMask11b(MeasurementContext& context);

}  // namespace kelvane
