// --report on the command line: a file for a batch run's report, and what is refused.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace kelvane {
namespace {

TEST(ReportOption, AFileForTheBatchsReport) {
    struct Case {
        std::vector<std::string> arguments;
        std::string report;  // the file; empty: none
        std::string error;   // empty: accepted
    };
    const Case cases[] = {
        {{"--measure", "all", "--report", "r.html"}, "r.html", ""},
        {{"--report=SN 1/r.html", "--measure", "acp"}, "SN 1/r.html", ""},
        {{"--measure", "acp"}, "", ""},
        {{"--report", "r.html"},
         "",
         "--report writes the report of a batch run; name the measurements with --measure"},
        {{"--measure", "acp", "--report"}, "", "--report needs a file name"},
        {{"--measure", "acp", "--report", "--simulate"}, "", "--report needs a file name"},
        {{"--measure", "acp", "--report="}, "", "--report needs a file name"},
    };
    for (const Case& c : cases) {
        const CommandLine parsed(c.arguments);
        EXPECT_EQ(parsed.Error(), c.error) << c.arguments.front();
        if (c.error.empty()) {
            EXPECT_EQ(parsed.WhatToDo(), CommandLine::Action::Batch);
            EXPECT_EQ(parsed.ReportPath(), c.report);
        }
    }
}

}  // namespace
}  // namespace kelvane
