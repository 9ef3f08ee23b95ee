#pragma once

#include "measurements/MeasurementResult.h"

namespace kelvane {

// Total power of the 802.11b signal at the set-up's carrier (2412 MHz by default), in dBm.
MeasurementResult TotalPower11b(MeasurementContext& context);

}  // namespace kelvane
