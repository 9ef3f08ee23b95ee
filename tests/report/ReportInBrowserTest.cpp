// The report as a browser prints it: headless Chromium prints the program's report of a simulated
// run to PDF and pdftotext reads back every value, limit, margin and verdict of the run's records
// (--results) and the charts. A page of hostile texts is parsed by the same browser: none of it is
// markup. Skipped where Chromium is not installed (bash setup.sh test installs it).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "charts/drawing/output/ChartSvg.h"
#include "report/ReportPage.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;

// Runs a shell command; its exit status.
int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Installed(const std::string& tool) { return Shell("command -v " + tool + " >/dev/null") == 0; }

// Chromium without a window, a sandbox, a GPU or any network use of its own, on a page file.
int Chromium(const fs::path& folder, const std::string& what, const fs::path& page) {
    return Shell(
        "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic "
        "--no-first-run --disable-background-networking --disable-component-update "
        "--disable-sync --user-data-dir='" +
        (folder / "profile").string() + "' " + what + " 'file://" + page.string() + "' 2>'" +
        (folder / "chromium.txt").string() + "'");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        // A new page starts with a form feed; runs of spaces are the columns' layout.
        std::string plain;
        for (char c : line) {
            if (c == '\f') continue;
            if (c != ' ' || (!plain.empty() && plain.back() != ' ')) plain += c;
        }
        lines.push_back(plain);
    }
    return lines;
}

// Whether a number of the line is `expected`, give or take `tolerance`.
bool HasNumber(const std::string& line, double expected, double tolerance) {
    static const std::regex number("[-+]?[0-9]+(\\.[0-9]+)?");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), number);
         it != std::sregex_iterator(); ++it)
        if (std::fabs(std::stod(it->str()) - expected) <= tolerance) return true;
    return false;
}

// The lines of record `number`'s section in the printed text: from its heading ("3. ACP (acp)
// ✓ PASS", followed by the line that says when it started; the summary's rows are not) to the
// next one.
std::vector<std::string> Section(const std::vector<std::string>& lines, int number,
                                 const std::string& name) {
    std::size_t i = 0;
    while (i + 1 < lines.size() && !(lines[i].starts_with(std::to_string(number) + ". ") &&
                                     lines[i].find("(" + name + ")") != std::string::npos &&
                                     lines[i + 1].find(" started ") != std::string::npos))
        ++i;
    std::size_t end = i + 1;
    while (end < lines.size() && !lines[end].starts_with(std::to_string(number + 1) + ". ")) ++end;
    if (i + 1 >= lines.size()) return {};
    return {lines.begin() + i, lines.begin() + end};
}

// Where a value of the record is shown: its row in the section, starting with its name.
std::string RowOf(const std::vector<std::string>& section, const std::string& name) {
    for (const std::string& line : section)
        if (line.starts_with(name + " ")) return line;
    return {};
}

TEST(ReportInBrowser, TheProgramsReportPrintsWhole) {
    for (const char* tool : {"chromium", "pdftotext"})
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed: no browser test here";
    testing::TemporaryFolder temporary;
    const fs::path folder = temporary.Path();
    ASSERT_EQ(Shell("cd '" + folder.string() +
                    "' && '" KELVANE_PROGRAM
                    "' --simulate --measure all --dut SN-1 --operator X --station bench-7 "
                    "--report r.html --results r.jsonl >log.txt 2>err.txt"),
              0)
        << FileContents(folder / "err.txt");
    ASSERT_EQ(
        Chromium(folder,
                 "--no-pdf-header-footer --print-to-pdf='" + (folder / "r.pdf").string() + "'",
                 folder / "r.html"),
        0)
        << FileContents(folder / "chromium.txt");
    ASSERT_EQ(Shell("cd '" + folder.string() + "' && pdftotext -layout r.pdf r.txt"), 0);
    const std::string text = FileContents(folder / "r.txt");
    const auto pages = std::count(text.begin(), text.end(), '\f');
    EXPECT_GE(pages, 4) << "seven measurements, a page for each one that has a chart at most";
    EXPECT_LE(pages, 8);

    const std::vector<std::string> lines = Lines(text);
    for (const char* fact : {"DUT SN-1", "Operator X", "Station bench-7", "Overall: \u2713 PASS"})
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [fact](const std::string& line) {
            return line.starts_with(fact);
        })) << fact;
    std::ifstream records(folder / "r.jsonl");
    int number = 0;
    for (std::string line; std::getline(records, line);) {
        const nlohmann::json record = nlohmann::json::parse(line);
        const std::string name = record["measurement"];
        const std::vector<std::string> section = Section(lines, ++number, name);
        ASSERT_FALSE(section.empty()) << name << " has no section";
        const std::string verdict = record["verdict"];
        const std::string word = verdict == "none" ? "no limit" : verdict == "pass" ? "PASS" : "?";
        EXPECT_NE(section[0].find(word), std::string::npos) << section[0];
        for (const nlohmann::json& value : record["values"]) {
            const std::string row = RowOf(section, value["name"]);
            ASSERT_FALSE(row.empty()) << name << " " << value["name"];
            const bool hertz = value["unit"] == "Hz";
            const double scale = hertz ? 1e6 : 1;
            const double value_ = value["value"].get<double>() / scale;
            EXPECT_TRUE(HasNumber(row, value_, 1e-6 * std::max(1.0, std::fabs(value_)))) << row;
            for (const char* bound : {"limit", "margin"}) {
                if (!value.contains(bound)) continue;
                EXPECT_TRUE(HasNumber(row, value[bound].get<double>() / scale, hertz ? 6e-4 : 6e-3))
                    << bound << ": " << row;
            }
            const std::string shown = !value.contains("verdict")   ? "no limit"
                                      : value["verdict"] == "pass" ? "PASS"
                                                                   : "FAIL";
            EXPECT_NE(row.find(shown), std::string::npos) << row;
        }
        // The charted measurements' pictures are in the print, with their axes' titles.
        const bool charted = name == "obw" || name == "acp" || name.starts_with("sem");
        EXPECT_EQ(std::any_of(section.begin(), section.end(),
                              [](const auto& l) { return l.find("Offset from") != l.npos; }),
                  charted)
            << name;
    }
    EXPECT_EQ(number, 7);
}

// Before anything is sent: a report that could not be written where it is named is a usage
// error, said in one line, with nothing measured and no file left.
TEST(ReportProgram, RefusesAReportItCouldNotWrite) {
    testing::TemporaryFolder temporary;
    const fs::path folder = temporary.Path();
    const int status = Shell("cd '" + folder.string() +
                             "' && '" KELVANE_PROGRAM
                             "' --simulate --results r.jsonl --measure obw --report none/r.html "
                             ">log.txt 2>err.txt");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(FileContents(folder / "err.txt"),
              "kelvane: cannot write the report \"none/r.html\": No such file or directory\n");
    EXPECT_EQ(FileContents(folder / "log.txt"), "");
    EXPECT_FALSE(fs::exists(folder / "none"));
}

TEST(ReportInBrowser, NothingFromOutsideBecomesMarkup) {
    if (!Installed("chromium")) GTEST_SKIP() << "chromium is not installed: no browser test here";
    testing::TemporaryFolder temporary;
    const fs::path folder = temporary.Path();
    MeasurementRecord record = testing::Record("acp", testing::AcpResult());
    record.origin = {"<script>document.title='taken'</script>",
                     "\"><img src=x onerror=\"document.title='taken'\">", "bench'7</pre>\xFF"};
    record.result.outcome = MeasurementOutcome::Failed;
    record.result.message = "ACP Measurement failed: answer <b>bold</b>";
    record.result.title = "ACP <Measurement>...";
    record.result.log =
        "ACP Measurement...\r\n</pre><script>document.title='taken'</script>"
        "\x01\r\nend of the log\r\n";
    record.judgement = Judge(record.result, record.setup);
    ChartSvg svg;
    const std::string page =
        ReportHtml({record}, {}, [&svg](const ChartModel& m) { return svg(m); });
    std::ofstream(folder / "hostile.html", std::ios::binary) << page;
    ASSERT_EQ(Chromium(folder, "--dump-dom > '" + (folder / "dom.html").string() + "'",
                       folder / "hostile.html"),
              0);
    const std::string dom = FileContents(folder / "dom.html");
    ASSERT_NE(dom.find("</html>"), std::string::npos) << FileContents(folder / "chromium.txt");
    // The browser made no element of any of it, and no script changed the page's title.
    for (const char* element : {"<script", "<img", "<b>"})
        EXPECT_EQ(dom.find(element), std::string::npos) << element;
    EXPECT_NE(dom.find("<title>Test report &lt;script&gt;document.title='taken'&lt;/script&gt;"),
              std::string::npos);
    // One log, which holds all of the run's log up to its end.
    const std::size_t pre = dom.find("<pre class=\"log\"");
    ASSERT_NE(pre, std::string::npos);
    const std::string log = dom.substr(pre, dom.find("</pre>", pre) - pre);
    EXPECT_NE(log.find("\\x01\nend of the log"), std::string::npos) << log;
    EXPECT_EQ(dom.find("<pre", pre + 1), std::string::npos);
    // The chart is there, drawn with the escaped title.
    EXPECT_NE(dom.find("<figure class=\"chart\">"), std::string::npos);
}

}  // namespace
}  // namespace kelvane
