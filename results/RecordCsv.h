#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "results/MeasurementRecord.h"

namespace kelvane {

// One CSV row of the fields, RFC 4180 quoting (a field holding a comma, a quote, CR or LF in
// quotes, its quotes doubled), ending with "\r\n".
std::string CsvRow(std::initializer_list<std::string_view> fields);

// The CSV header line, ending with "\r\n": started,run_id,dut,measurement,name,value,unit,limit,
// margin,verdict,analyzer_value,frequency_hz,start_hz,stop_hz,message
std::string CsvHeader();

// One row per value, then one row named "verdict" with the measurement's verdict and worst
// margin with its unit, and the failure or warning line of a run that did not complete in
// `message` (so that a run without values is in the file too, and says why). A value row holds
// the value (an absolute level at the DUT) and the analyzer's answer, a mask row its FREQ, START
// and STOP. RFC 4180 quoting, CR LF line ends; numbers in their shortest round-trip form
// ("-54.77", "4167031", "2000000000"); a cell without a value is empty.
std::string RecordCsvRows(const MeasurementRecord& record);

}  // namespace kelvane
