#include "results/UtcTime.h"

#include <cstdio>

namespace kelvane {

UtcTime UtcTimeOf(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto ms = floor<milliseconds>(time);
    const auto day = floor<days>(ms);
    const year_month_day date{day};
    const hh_mm_ss clock{ms - day};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<int>(clock.hours().count()),
            static_cast<int>(clock.minutes().count()),
            static_cast<int>(clock.seconds().count()),
            static_cast<int>(clock.subseconds().count())};
}

std::string UtcSecondsText(std::chrono::system_clock::time_point time) {
    const UtcTime t = UtcTimeOf(time);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

}  // namespace kelvane
