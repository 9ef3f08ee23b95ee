#pragma once

namespace kelvane {

// The bench behind the simulated analyzer: the carriers of its three transmitters and where the
// analyzer listens on the bus. The defaults are the bench Kelvane expects by default.
struct SimulatedBench {
    double wcdmaCarrierHz = 2.0e9;   // the W-CDMA base station
    double ofdmCarrierHz = 5.005e9;  // the 802.11a transmitter
    double dsssCarrierHz = 2.412e9;  // the 802.11b transmitter
    int board = 0;
    int primaryAddress = 8;

    bool operator==(const SimulatedBench&) const = default;
};

}  // namespace kelvane
