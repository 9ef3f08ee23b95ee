#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sys/file.h>
#include <sys/stat.h>

#include "platform/files/SystemFile.h"

namespace kelvane {

namespace {

constexpr mode_t kNewFileMode = 0666;  // less the umask, as any program's new file

bool SameFile(const struct stat& one, const struct stat& other) {
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

}  // namespace

SystemFile::~SystemFile() { Close(); }

SystemFile::SystemFile(SystemFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      regular_(other.regular_),
      readable_(other.readable_) {}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        Close();
        descriptor_ = std::exchange(other.descriptor_, -1);
        regular_ = other.regular_;
        readable_ = other.readable_;
    }
    return *this;
}

SystemFile SystemFile::OpenForAppend(const std::string& utf8Path) {
    SystemFile file;
    // O_NONBLOCK for the open only: without it a named pipe that no program reads would hold
    // the open for ever; with it that is ENXIO at once.
    const int descriptor = open(
        utf8Path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, kNewFileMode);
    if (descriptor < 0) return file;
    file.descriptor_ = descriptor;
    struct stat status {};
    file.regular_ = fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (file.regular_) {
        // Once more for reading as well, where the permissions allow; the same file, or none.
        const int both = open(utf8Path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        struct stat bothStatus {};
        if (both >= 0 && fstat(both, &bothStatus) == 0 && SameFile(status, bothStatus)) {
            close(descriptor);
            file.descriptor_ = both;
            file.readable_ = true;
        } else if (both >= 0) {
            close(both);
        }
    }
    const int flags = fcntl(file.descriptor_, F_GETFL);
    if (flags >= 0) fcntl(file.descriptor_, F_SETFL, flags & ~O_NONBLOCK);  // writes may wait
    return file;
}

SystemFile SystemFile::CreateNew(const std::string& utf8Path) {
    SystemFile file;
    file.descriptor_ =
        open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    file.regular_ = file.descriptor_ >= 0;
    return file;
}

SystemFile::Placed SystemFile::Place(const std::string& from, const std::string& to, bool replace) {
    if (replace) return std::rename(from.c_str(), to.c_str()) == 0 ? Placed::Yes : Placed::Failed;
#ifdef RENAME_NOREPLACE
    // Linux: one step that never replaces; some file systems do not know it (EINVAL).
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return Placed::Yes;
    if (errno == EEXIST) return Placed::Taken;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return Placed::Failed;
#endif
    // A second name, which link() makes only where none is, then the first one goes.
    if (link(from.c_str(), to.c_str()) != 0)
        return errno == EEXIST ? Placed::Taken : Placed::Failed;
    unlink(from.c_str());
    return Placed::Yes;
}

bool SystemFile::Remove(const std::string& utf8Path) { return unlink(utf8Path.c_str()) == 0; }

std::string SystemFile::Reason(int error) {
    // What open() says of a named pipe without a reader ("No such device or address") does not
    // tell the operator what to do.
    if (error == ENXIO) return "no program reads this named pipe; start its reader first";
    return std::strerror(error);
}

bool SystemFile::IsOpen() const { return descriptor_ >= 0; }

bool SystemFile::Lock() {
    int result;
    do result = flock(descriptor_, LOCK_EX);
    while (result != 0 && errno == EINTR);
    return result == 0;
}

void SystemFile::Unlock() { flock(descriptor_, LOCK_UN); }

std::optional<std::uint64_t> SystemFile::Size() const {
    struct stat status {};
    if (!regular_ || fstat(descriptor_, &status) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::string> SystemFile::ReadAt(std::uint64_t offset, std::size_t count) const {
    if (!readable_) return std::nullopt;
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t read = pread(descriptor_, bytes.data() + done, count - done,
                                   static_cast<off_t>(offset + done));
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) return std::nullopt;
        if (read == 0) break;  // the end of the file
        done += static_cast<std::size_t>(read);
    }
    bytes.resize(done);
    return bytes;
}

std::size_t SystemFile::Write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(descriptor_, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) break;
        if (written == 0) {
            errno = EIO;  // no progress and no reason: not worth waiting for
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return done;
}

bool SystemFile::Truncate(std::uint64_t length) {
    int result;
    do result = ftruncate(descriptor_, static_cast<off_t>(length));
    while (result != 0 && errno == EINTR);
    return result == 0;
}

bool SystemFile::Close() {
    if (descriptor_ < 0) return true;
    // The descriptor is gone even when close() fails (Linux), so it is never closed twice.
    return close(std::exchange(descriptor_, -1)) == 0;
}

}  // namespace kelvane

#endif
