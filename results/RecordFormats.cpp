#include "results/RecordFormats.h"

#include <algorithm>

namespace kelvane {

RecordFormat RecordFormatFor(std::string_view fileName) {
    constexpr std::string_view kCsv = ".csv";
    if (fileName.size() < kCsv.size()) return RecordFormat::JsonLines;
    const std::string_view ending = fileName.substr(fileName.size() - kCsv.size());
    const bool csv = std::equal(ending.begin(), ending.end(), kCsv.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
    return csv ? RecordFormat::Csv : RecordFormat::JsonLines;
}

std::string RecordText(const MeasurementRecord& record, RecordFormat format) {
    return format == RecordFormat::Csv ? RecordCsvRows(record) : RecordJsonLine(record);
}

}  // namespace kelvane
