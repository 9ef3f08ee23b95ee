#include "app/PathLossTable.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/SetupOptions.h"
#include "app/SetupText.h"

namespace kelvane {

namespace {

// A table has a few lines; a file much larger than that is not one (or a device that never ends).
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(Trimmed(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::string Megahertz(double hz) { return MegahertzText(hz) + " MHz"; }

PathLossTable::Parsed Refused(std::string problem) { return {{}, std::move(problem)}; }

}  // namespace

PathLossTable::Parsed PathLossTable::Parse(std::string_view text) {
    // Spreadsheets may begin their UTF-8 CSV with a byte order mark.
    if (text.starts_with("\xef\xbb\xbf")) text.remove_prefix(3);
    Parsed parsed;
    bool firstLine = true;
    int lineNumber = 0;
    int previousLine = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (Trimmed(line).empty()) continue;
        const std::vector<std::string_view> fields = Fields(line);
        const double hz = SetupOptions::FrequencyHz(fields[0]).value_or(-1.0);
        const bool frequency = hz >= 0;  // 0 Hz and up
        const bool header = firstLine && !frequency;
        firstLine = false;
        if (header) continue;
        const std::string at = "line " + std::to_string(lineNumber) + ": ";
        if (fields.size() != 2)
            return Refused(at + "a frequency and a loss expected, not " +
                           std::to_string(fields.size()) + " fields");
        if (!frequency)
            return Refused(at + "'" + SetupOptions::Shown(fields[0]) +
                           "' is not a frequency (e.g. 2140MHz, 2.14GHz, 2140e6)");
        const auto db = SetupOptions::NumberIn(fields[1], "db");
        if (!db || *db < SetupOptions::kMinPathLossDb || *db > SetupOptions::kMaxPathLossDb)
            return Refused(at + "'" + SetupOptions::Shown(fields[1]) +
                           "' is not a loss from -50 to +100 dB");
        if (!parsed.points.empty() && !(hz > parsed.points.back().frequencyHz))
            return Refused(at + Megahertz(hz) + " is not above the " +
                           Megahertz(parsed.points.back().frequencyHz) + " of line " +
                           std::to_string(previousLine) + "; the frequencies must rise");
        parsed.points.push_back({hz, *db + 0.0});
        previousLine = lineNumber;
    }
    if (parsed.points.size() < 2)
        return Refused(std::to_string(parsed.points.size()) +
                       (parsed.points.size() == 1 ? " row" : " rows") +
                       " of frequency and loss; a table needs at least 2");
    return parsed;
}

std::string PathLossTable::Read(const std::string& file, PathLoss& loss) {
    const std::string named = "--path-loss-table \"" + SetupOptions::ShownWhole(file) + "\"";
    // The name is UTF-8 on every system; the path turns it into the system's own.
    const std::filesystem::path path(std::u8string(file.begin(), file.end()));
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) return named + ": is a folder, not a file";
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return named + ": cannot open it: " +
               (errno != 0 ? std::strerror(errno) : "the system gives no reason");
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return named + ": cannot read it";
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) return named + ": larger than 1 MB, too large for a table";
    Parsed parsed = Parse(text);
    if (!parsed.problem.empty())
        return named + (parsed.problem.starts_with("line ") ? " " : ": ") + parsed.problem;
    loss = PathLoss::Table(std::move(parsed.points), file);
    return {};
}

PathLossTable::Carrier PathLossTable::CarrierOf(std::string_view measurementName) {
    // The WLAN measurements name their standard last: sem-11a, sem-11b, total-power-11b.
    if (measurementName.ends_with("-11a")) return Carrier::Wlan11a;
    if (measurementName.ends_with("-11b")) return Carrier::Wlan11b;
    return Carrier::Wcdma;
}

std::string PathLossTable::Uncovered(const MeasurementSetup& setup,
                                     const std::vector<Carrier>& carriers) {
    const PathLoss& loss = setup.pathLoss;
    if (!loss.IsTable()) return {};
    for (const Carrier carrier : carriers) {
        const bool wcdma = carrier == Carrier::Wcdma;
        const double center = wcdma                         ? setup.wcdmaCenterHz
                              : carrier == Carrier::Wlan11a ? setup.wlan11aCenterHz
                                                            : setup.wlan11bCenterHz;
        const double half = wcdma ? SetupOptions::kWcdmaHalfSpanHz : SetupOptions::kWlanHalfSpanHz;
        if (loss.Covers(center - half, center + half)) continue;
        return "covers " + Megahertz(loss.Points().front().frequencyHz) + " to " +
               Megahertz(loss.Points().back().frequencyHz) + ", not " + Megahertz(center - half) +
               " to " + Megahertz(center + half) + " around the " +
               (wcdma                         ? "W-CDMA"
                : carrier == Carrier::Wlan11a ? "802.11a"
                                              : "802.11b") +
               " carrier";
    }
    return {};
}

}  // namespace kelvane
