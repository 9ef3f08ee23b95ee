#pragma once

#include "measurements/MeasurementContext.h"

namespace kelvane {

// W-CDMA spectrum emission mask: four fixed segments, one sweep, eight result rows.
// measF: center frequency in Hz; measRef: reference level in dB.
MeasurementOutcome EmissionMask3gpp(MeasurementContext& context, const double& measF,
                                    const double& measRef);

}  // namespace kelvane
