#include "charts/ChartFileName.h"

#include <cstdio>

#include "results/UtcTime.h"

namespace kelvane {

namespace {

// A file name stays plain whatever the measurement's name: anything but ASCII letters, digits,
// '-', '_' and '.' becomes '_'.
std::string PlainName(std::string name) {
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!plain) c = '_';
    }
    return name;
}

}  // namespace

std::string ChartFileStem(const MeasurementRecord& record) {
    const UtcTime t = UtcTimeOf(record.started);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02u%02uT%02d%02d%02dZ", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return PlainName(record.measurement) + "-" + stamp;
}

}  // namespace kelvane
