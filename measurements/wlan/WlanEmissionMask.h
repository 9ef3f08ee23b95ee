#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Spectrum emission mask of the 802.11a signal at the set-up's carrier (5005 MHz by default;
// five segments, ten rows).
MeasurementOutcome WlanEmissionMask11a(MeasurementContext& context);
// Spectrum emission mask of the 802.11b signal at the set-up's carrier (2412 MHz by default;
// three segments, six rows).
MeasurementOutcome WlanEmissionMask11b(MeasurementContext& context);

}  // namespace kelvane
