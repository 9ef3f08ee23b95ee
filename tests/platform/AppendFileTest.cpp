#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/AppendFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/InTemporaryFolder.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path FromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

class AppendFileTest : public InTemporaryFolder {};

TEST_F(AppendFileTest, AppendsBytesUnchangedUnderANonAsciiName) {
    // "trace Ω µs 測定.log" spelled in UTF-8: Greek, Latin-1 and CJK letters, outside any one
    // Windows ANSI code page.
    const std::string name = "trace \xCE\xA9 \xC2\xB5s \xE6\xB8\xAC\xE5\xAE\x9A.log";
    const std::string path = Utf8(folder_ / FromUtf8(name));
    for (const char* text : {"one\r\n", "two\n"}) {
        FileHandle file = OpenForAppend(path);
        ASSERT_TRUE(file) << path;
        std::fputs(text, file.get());
    }

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
        names.push_back(Utf8(entry.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{name});
    EXPECT_EQ(FileContents(FromUtf8(path)), "one\r\ntwo\n");
}

TEST_F(AppendFileTest, NothingInAMissingFolder) {
    EXPECT_FALSE(OpenForAppend(Utf8(folder_ / "missing" / "trace.log")));
    EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
}  // namespace kelvane::testing
