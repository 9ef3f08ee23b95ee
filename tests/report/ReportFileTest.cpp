// The report's file: whole or not at all, in place of an older one only when complete, and what
// is refused before a run.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "report/ReportFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/ShortWrite.h"
#include "tests/support/TemporaryFolder.h"

namespace kelvane {
namespace {

using testing::TemporaryFolder;
namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(Utf8(entry.path().filename()));
    return names;
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

TEST(ReportFile, WholeOrNotAtAll) {
    TemporaryFolder folder;
    const fs::path report = folder.Path() / fs::path(u8"Pr\u00FCfbericht SN-1.html");
    const std::string page(100000, 'x');
    struct Case {
        const char* what;
        const char* older;  // in the report's name before; null: none
        FileWrite write;
        std::string left;     // in the report's name afterwards
        std::string failure;  // the line; empty when written
    };
    const std::string line = "cannot write the report \"" + Utf8(report) +
                             "\": No space left on device; the report was not written";
    const Case cases[] = {
        {"a new report", nullptr, WriteToFile, page, ""},
        {"an older report is replaced", "older", WriteToFile, page, ""},
        {"a disk that fills up keeps the older one", "older", testing::WriteStoppingAfter(4096),
         "older", line},
        {"nothing where there was nothing", nullptr, testing::WriteStoppingAfter(10), "", line},
    };
    for (const Case& c : cases) {
        fs::remove(report);
        if (c.older != nullptr) Put(report, c.older);
        EXPECT_EQ(ReportFile::Write(Utf8(report), page, c.write), c.failure) << c.what;
        EXPECT_EQ(testing::FileContents(report), c.left) << c.what;
        // No temporary file is left beside it.
        EXPECT_EQ(Names(folder.Path()).size(), c.left.empty() ? 0u : 1u) << c.what;
    }
}

TEST(ReportFile, RefusedBeforeTheRun) {
    TemporaryFolder folder;
    const fs::path results = folder.Path() / "r.jsonl";
    Put(results, "");
    fs::create_directory(folder.Path() / "sub");
    const auto cannot = [](const fs::path& report, const std::string& reason) {
        return "cannot write the report \"" + Utf8(report) + "\": " + reason;
    };
    const std::string results_ = "--report names a file that the run writes otherwise, \"";
    const std::string own = "\"; give the report a file of its own";
    const fs::path none = folder.Path() / "none" / "r.html";
    const fs::path spelled = folder.Path() / "sub" / ".." / "r.jsonl";
    const std::pair<fs::path, std::string> cases[] = {
        {folder.Path() / "r.html", ""},  // accepted
        {folder.Path() / "sub",
         cannot(folder.Path() / "sub", "it is not a regular file; name a file")},
        {none, cannot(none, "No such file or directory")},
        {results, results_ + Utf8(results) + own},
        {spelled, results_ + Utf8(spelled) + own},
#ifndef _WIN32
        {"/dev/null", cannot("/dev/null", "it is not a regular file; name a file")},
#endif
    };
    for (const auto& [report, refusal] : cases)
        EXPECT_EQ(ReportFile::Check(Utf8(report), {Utf8(results)}), refusal) << report;
    // The check leaves nothing behind.
    EXPECT_EQ(Names(folder.Path()).size(), 2u);
}

}  // namespace
}  // namespace kelvane
