#include "app/records/RecordTargets.h"

#include <filesystem>
#include <system_error>

#include "results/ResultsFile.h"

namespace kelvane {

namespace {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// Whether the two paths name one file (also through links or other spellings), which the trace's
// lines and the records, or two targets, would share. A device such as /dev/null may take both.
bool OneFile(const std::string& first, const std::string& second) {
    std::error_code error;
    if (std::filesystem::status(PathOf(first), error).type() ==
        std::filesystem::file_type::character)
        return false;
    return std::filesystem::equivalent(PathOf(first), PathOf(second), error);
}

}  // namespace

RecordTargets::RecordTargets(const std::vector<std::string>& paths, const std::string& tracePath) {
    for (const std::string& path : paths) {
        Open(path, tracePath);
        if (!error_.empty()) {
            targets_.clear();
            return;
        }
    }
}

void RecordTargets::Open(const std::string& path, const std::string& tracePath) {
    auto file = std::make_unique<ResultsFile>(path);
    if (file->OtherHeader()) {
        error_ = "the results file \"" + path +
                 "\" has another header than Kelvane writes; name a new file";
        return;
    }
    if (!file->IsOpen()) {
        error_ = "cannot open the results file \"" + path + "\": " + file->Failure();
        return;
    }
    if (!tracePath.empty() && OneFile(tracePath, path)) {
        error_ =
            "--trace and --results name one file, \"" + path + "\"; give each a file of its own";
        return;
    }
    for (const std::string& earlier : paths_) {
        if (OneFile(earlier, path)) {
            error_ = "--results names one file twice, \"" + path +
                     "\"; each record would be written twice";
            return;
        }
    }
    paths_.push_back(path);
    targets_.push_back(std::move(file));
}

std::vector<RecordTarget*> RecordTargets::Targets() const {
    std::vector<RecordTarget*> targets;
    for (const auto& target : targets_) targets.push_back(target.get());
    return targets;
}

}  // namespace kelvane
