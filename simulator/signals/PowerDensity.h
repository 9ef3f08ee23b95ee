#pragma once

namespace kelvane {

// A power spectrum as the analyzer's input sees it.
class PowerDensity {
public:
    virtual ~PowerDensity() = default;
    // Power density at an absolute frequency, in mW/Hz.
    virtual double MwPerHz(double frequencyHz) const = 0;
};

}  // namespace kelvane
