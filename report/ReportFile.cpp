#include "report/ReportFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace kelvane {

namespace {

constexpr int kTemporaryNames = 100;  // random temporary names tried before giving up

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string Failure(const std::string& path, const std::string& reason) {
    return "cannot write the report \"" + path + "\": " + reason;
}

// A new, empty file beside `path` under a temporary name, or none (errno) when none could be made.
SystemFile CreateTemporary(const std::string& path, std::string& temporary) {
    const std::filesystem::path target = PathOf(path);
    std::random_device seed;
    std::mt19937 random(seed());
    SystemFile file;
    for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(random()));
        temporary = Utf8Of(target.parent_path() / PathOf("." + Utf8Of(target.filename()) + suffix));
        errno = 0;
        file = SystemFile::CreateNew(temporary);
        if (file.IsOpen() || errno != EEXIST) break;
    }
    return file;
}

std::string ReasonOf(int error) { return SystemFile::Reason(error != 0 ? error : EIO); }

}  // namespace

std::string ReportFile::Check(const std::string& path, const std::vector<std::string>& otherFiles) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(PathOf(path), error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return Failure(path, "it is not a regular file; name a file");
    for (const std::string& other : otherFiles) {
        if (std::filesystem::equivalent(PathOf(path), PathOf(other), error)) {
            return "--report names a file that the run writes otherwise, \"" + path +
                   "\"; give the report a file of its own";
        }
    }
    std::string temporary;
    SystemFile probe = CreateTemporary(path, temporary);
    if (!probe.IsOpen()) return Failure(path, ReasonOf(errno));
    probe.Close();
    SystemFile::Remove(temporary);
    return {};
}

std::string ReportFile::Write(const std::string& path, std::string_view page,
                              const FileWrite& write) {
    std::string temporary;
    SystemFile file = CreateTemporary(path, temporary);
    if (!file.IsOpen()) return Failure(path, ReasonOf(errno)) + "; the report was not written";
    errno = 0;
    if (write(file, page) != page.size() || !file.Close()) {
        const std::string reason = ReasonOf(errno);
        file.Close();
        SystemFile::Remove(temporary);
        return Failure(path, reason) + "; the report was not written";
    }
    if (SystemFile::Place(temporary, path, true) != SystemFile::Placed::Yes) {
        const std::string reason = ReasonOf(errno);
        SystemFile::Remove(temporary);
        return Failure(path, reason) + "; the report was not written";
    }
    return {};
}

}  // namespace kelvane
