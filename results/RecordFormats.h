#pragma once

#include <string>
#include <string_view>

#include "results/MeasurementRecord.h"

namespace kelvane {

// How records are written: JSON Lines (one object a line) or CSV (one row a value).
enum class RecordFormat { JsonLines, Csv };

// CSV for a file name ending in ".csv" (in any case), else JSON Lines.
RecordFormat RecordFormatFor(std::string_view fileName);

// One record as a JSON object on one line, ending with "\n":
//   {"measurement", "title", "started" (UTC, "2026-12-09T14:19:50.123Z"), "duration_s", "bus",
//    "setup": {"center_hz", "reference_level_db", "board", "address"}, "outcome" ("completed",
//    "warning", "failed", "interrupted"), "message", "verdict", "worst_margin" (null without a limit),
//    "margin_unit" ("dB" or "Hz", null without a limit), "kelvane", "log", "values": [{"name",
//    "value", "unit", and with a limit "limit", "margin", "verdict" ("pass" or "fail"; a WLAN
//    row has a verdict also without a limit); a mask row also "start_hz", "stop_hz",
//    "frequency_hz", "relative_db", and for WLAN "analyzer_verdict" ("PASS" or "FAIL")}]}
// Numbers are written in the shortest form that reads back as the same double (a number that is
// not finite as null). Text is UTF-8 with control characters escaped; bytes that are not UTF-8
// are replaced by U+FFFD.
std::string RecordJsonLine(const MeasurementRecord& record);

// The CSV header line, ending with "\r\n": started,measurement,name,value,unit,limit,margin,verdict
std::string CsvHeader();
// One row per value, then one row named "verdict" with the measurement's verdict and worst
// margin (so that a run without values is in the file too); RFC 4180 quoting, CR LF line ends.
// Numbers in their shortest round-trip form ("-54.77", "4167031", "2000000000"); a cell without a
// limit, margin or verdict is empty.
std::string RecordCsvRows(const MeasurementRecord& record);

// The record in the format, without a header.
std::string RecordText(const MeasurementRecord& record, RecordFormat format);

}  // namespace kelvane
