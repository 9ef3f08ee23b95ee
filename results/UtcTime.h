#pragma once

#include <chrono>
#include <string>

namespace kelvane {

// A time's UTC date and clock, cut off to the millisecond: what records, charts and their file
// names show of a measurement's start.
struct UtcTime {
    int year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
    int hour;
    int minute;
    int second;
    int millisecond;
};

UtcTime UtcTimeOf(std::chrono::system_clock::time_point time);

// To the second, as charts and reports show it: "2026-12-09 14:19:50 UTC".
std::string UtcSecondsText(std::chrono::system_clock::time_point time);

}  // namespace kelvane
