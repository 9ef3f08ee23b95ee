#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// Total power of an 802.11b signal at 2412 MHz, in dBm.
MeasurementOutcome TotalPower11b(MeasurementContext& context);

}  // namespace kelvane
