#pragma once

#include <string>

namespace kelvane {

// Whose measurement a record is: the DUT's serial number, the operator and the station (test
// place) as they were given (--dut, --operator, --station, or the window's set-up). Text from
// outside: it is data, escaped wherever it is written, never interpreted.
struct RecordOrigin {
    std::string dut;
    std::string operatorName;
    std::string station;

    bool operator==(const RecordOrigin&) const = default;
};

}  // namespace kelvane
