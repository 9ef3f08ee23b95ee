#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// 99 % occupied bandwidth of a W-CDMA carrier, averaged over 10 sweeps.
// measF: center frequency in Hz; measRef: reference level in dB.
MeasurementOutcome OccupiedBandwidth(MeasurementContext& context, const double& measF,
                                     const double& measRef);

}  // namespace kelvane
