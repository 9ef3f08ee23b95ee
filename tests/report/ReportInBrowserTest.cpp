// The report as a browser shows and prints it: headless Chromium renders the program's report of
// a simulated run to a picture and prints it to PDF; pdftoppm makes its pages pictures and
// pdftotext reads back every value, limit, margin and verdict of the run's records (--results) and
// the five charts. A page of hostile texts is parsed by the same browser: none of it is markup.
// Skipped where Chromium is not installed (a test dependency only: bash setup.sh test installs it).
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
#include "tests/report/ReportHtmlParts.h"
#include "tests/results/SampleRecords.h"
#include "tests/support/FileContents.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;

bool Installed(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; its exit status.
int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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

std::vector<double> Numbers(const std::string& line) {
    static const std::regex number("[-+]?[0-9]+(\\.[0-9]+)?");
    std::vector<double> numbers;
    for (auto it = std::sregex_iterator(line.begin(), line.end(), number);
         it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stod(it->str()));
    return numbers;
}

bool HasNumber(const std::string& line, double expected, double tolerance) {
    for (double number : Numbers(line))
        if (std::fabs(number - expected) <= tolerance) return true;
    return false;
}

// The lines of record `number`'s section in the printed text: from its heading ("3. ACP (acp)
// ✓ PASS", followed by the line that says when it started) to the next one.
std::vector<std::string> Section(const std::vector<std::string>& lines, int number,
                                 const std::string& name) {
    const auto heading = [&lines](std::size_t i, int n, const std::string& label) {
        return lines[i].starts_with(std::to_string(n) + ". ") &&
               lines[i].find("(" + label + ")") != std::string::npos && i + 1 < lines.size() &&
               lines[i + 1].find(" started ") != std::string::npos;
    };
    std::vector<std::string> section;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!heading(i, number, name)) continue;
        section.push_back(lines[i]);
        for (++i; i < lines.size() && !lines[i].starts_with(std::to_string(number + 1) + ". "); ++i)
            section.push_back(lines[i]);
        break;
    }
    return section;
}

// Where a value of the record is shown: its row in the section, starting with its name.
std::string RowOf(const std::vector<std::string>& section, const std::string& name) {
    for (const std::string& line : section)
        if (line.starts_with(name + " ")) return line;
    return {};
}

TEST(ReportInBrowser, TheProgramsReportRendersAndPrintsWhole) {
    for (const char* tool : {"chromium", "pdftotext", "pdftoppm"})
        if (!Installed(tool)) GTEST_SKIP() << tool << " is not installed: no browser test here";
    testing::TemporaryFolder temporary;
    const fs::path folder = temporary.Path();
    ASSERT_EQ(Shell("cd '" + folder.string() +
                    "' && '" KELVANE_PROGRAM
                    "' --simulate --measure all --dut SN-1 --operator X --station bench-7 "
                    "--report r.html --results r.jsonl >log.txt 2>err.txt"),
              0)
        << FileContents(folder / "err.txt");
    const std::string html = FileContents(folder / "r.html");
    std::size_t charts = 0;
    for (std::size_t at = html.find("<svg"); at != std::string::npos;
         at = html.find("<svg", at + 1))
        ++charts;
    EXPECT_EQ(charts, 5u);

    ASSERT_EQ(
        Chromium(folder,
                 "--screenshot='" + (folder / "shot.png").string() + "' --window-size=1280,2000",
                 folder / "r.html"),
        0)
        << FileContents(folder / "chromium.txt");
    EXPECT_TRUE(FileContents(folder / "shot.png").starts_with("\x89PNG"));
    EXPECT_GT(fs::file_size(folder / "shot.png"), 50000u) << "a page with text and charts";
    ASSERT_EQ(
        Chromium(folder,
                 "--no-pdf-header-footer --print-to-pdf='" + (folder / "r.pdf").string() + "'",
                 folder / "r.html"),
        0)
        << FileContents(folder / "chromium.txt");
    ASSERT_EQ(Shell("cd '" + folder.string() +
                    "' && pdftoppm -png -r 40 r.pdf page && "
                    "pdftotext -layout r.pdf r.txt"),
              0);
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        pages += entry.path().filename().string().starts_with("page-") ? 1 : 0;
    EXPECT_GE(pages, 4) << "seven measurements, a page for each one that has a chart at most";
    EXPECT_LE(pages, 8);

    const std::vector<std::string> lines = Lines(FileContents(folder / "r.txt"));
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
            for (const char* frequency : {"start_hz", "stop_hz", "frequency_hz"}) {
                if (!value.contains(frequency)) continue;
                EXPECT_TRUE(HasNumber(row, value[frequency].get<double>() / 1e6, 1e-6))
                    << frequency << ": " << row;
            }
            const std::string shown = !value.contains("verdict")   ? "no limit"
                                      : value["verdict"] == "pass" ? "PASS"
                                                                   : "FAIL";
            EXPECT_NE(row.find(shown), std::string::npos) << row;
        }
        // The charted measurements' pictures are in the print, with their axes' titles.
        const bool charted = name == "obw" || name == "acp" || name.starts_with("sem");
        std::string all;
        for (const std::string& l : section) all += l + "\n";
        EXPECT_EQ(all.find("Offset from") != std::string::npos, charted) << name;
    }
    EXPECT_EQ(number, 7);
}

// Before anything is sent: a report that could not be written where it is named is a usage
// error, said in one line, with nothing measured and no file left.
TEST(ReportProgram, RefusesAReportItCouldNotWrite) {
    testing::TemporaryFolder temporary;
    const fs::path folder = temporary.Path();
    fs::create_directory(folder / "sub");
    struct Case {
        const char* report;
        std::string said;
    };
    const Case cases[] = {
        {"none/r.html",
         "kelvane: cannot write the report \"none/r.html\": No such file or directory"},
        {"sub", "kelvane: cannot write the report \"sub\": it is not a regular file; name a file"},
        {"r.jsonl",
         "kelvane: --report names a file that the run writes otherwise, \"r.jsonl\"; "
         "give the report a file of its own"},
    };
    for (const Case& c : cases) {
        const int status = Shell("cd '" + folder.string() +
                                 "' && '" KELVANE_PROGRAM
                                 "' --simulate --results "
                                 "r.jsonl --measure obw --report '" +
                                 c.report + "' >log.txt 2>err.txt");
        EXPECT_EQ(status, 2) << c.report;
        EXPECT_EQ(FileContents(folder / "err.txt"), c.said + "\n") << c.report;
        EXPECT_EQ(FileContents(folder / "log.txt"), "") << c.report;
    }
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
    record.result.message = "ACP Measurement failed: answer <b>bold</b> \xB5";
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
    // The browser made no element of any of it, and no script changed the page.
    for (const char* element : {"<script", "<img", "<b>"})
        EXPECT_EQ(dom.find(element), std::string::npos) << element;
    EXPECT_EQ(dom.find("taken</title>"), std::string::npos);
    EXPECT_NE(dom.find("<title>Test report &lt;script&gt;document.title='taken'&lt;/script&gt;"),
              std::string::npos);
    // One log, which holds all of the run's log up to its end.
    const std::size_t pre = dom.find("<pre class=\"log\"");
    ASSERT_NE(pre, std::string::npos);
    const std::string log = dom.substr(pre, dom.find("</pre>", pre) - pre);
    EXPECT_NE(log.find("\\x01\nend of the log"), std::string::npos) << log;
    EXPECT_EQ(dom.find("<pre", pre + 1), std::string::npos);
    EXPECT_NE(dom.find("answer &lt;b&gt;bold&lt;/b&gt; \xC2\xB5"), std::string::npos);
    EXPECT_NE(dom.find("bench'7&lt;/pre&gt;\\xFF"), std::string::npos);
    // The chart is there, drawn with the escaped title.
    EXPECT_NE(dom.find("<figure class=\"chart\">"), std::string::npos);
}

}  // namespace
}  // namespace kelvane
