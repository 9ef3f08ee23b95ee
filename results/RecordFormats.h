#pragma once

#include <string>
#include <string_view>

#include "results/MeasurementRecord.h"
#include "results/RecordCsv.h"
#include "results/RecordJson.h"

namespace kelvane {

// How records are written: JSON Lines (one object a line, RecordJson.h) or CSV (one row a
// value, RecordCsv.h).
enum class RecordFormat { JsonLines, Csv };

// CSV for a file name ending in ".csv" (in any case), else JSON Lines.
RecordFormat RecordFormatFor(std::string_view fileName);

// The record in the format, without a header.
std::string RecordText(const MeasurementRecord& record, RecordFormat format);

}  // namespace kelvane
