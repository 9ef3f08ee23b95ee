#include "report/ReportScope.h"

namespace kelvane {

std::vector<MeasurementRecord> RecordsOfNewestDut(const std::vector<MeasurementRecord>& records) {
    if (records.empty()) return {};
    const std::string& dut = records.back().origin.dut;
    std::size_t first = records.size() - 1;
    while (first > 0 && records[first - 1].origin.dut == dut) --first;
    return {records.begin() + static_cast<std::ptrdiff_t>(first), records.end()};
}

}  // namespace kelvane
