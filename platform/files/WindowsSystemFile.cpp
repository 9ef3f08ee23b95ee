#ifdef _WIN32

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/WindowsApi.h"
#include "platform/files/SystemFile.h"

namespace kelvane {

namespace {

// The lock is taken on one byte far beyond any file's end: Windows locks hold up reads and
// writes of the bytes they cover, and the file's own bytes must stay free for readers.
constexpr DWORD kLockOffsetLow = 0xFFFFFFFE;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
// An offset of all ones: the write goes to the file's end, as with FILE_APPEND_DATA.
constexpr DWORD kEndOfFile = 0xFFFFFFFF;

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

// The nearest errno, so that the callers tell reasons alike on every system.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    default:
        return EIO;
    }
}

void SetErrno() { errno = ErrnoOf(GetLastError()); }

// A handle, or null with errno set.
void* Opened(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) return handle;
    SetErrno();
    return nullptr;
}

}  // namespace

SystemFile::~SystemFile() { Close(); }

SystemFile::SystemFile(SystemFile&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      regular_(other.regular_),
      readable_(other.readable_) {}

SystemFile& SystemFile::operator=(SystemFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, nullptr);
        regular_ = other.regular_;
        readable_ = other.readable_;
    }
    return *this;
}

SystemFile SystemFile::OpenForAppend(const std::string& utf8Path) {
    SystemFile file;
    const std::wstring path = WideFromUtf8(utf8Path);
    if (path.empty()) {
        errno = EINVAL;
        return file;
    }
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // Read and write where allowed, else write only (the file's checks are then skipped).
    for (const DWORD access : {GENERIC_READ | GENERIC_WRITE, DWORD{GENERIC_WRITE}}) {
        file.handle_ = Opened(CreateFileW(path.c_str(), access, kShare, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.handle_ == nullptr && errno == EACCES) continue;
        file.readable_ = (access & GENERIC_READ) != 0;
        break;
    }
    if (file.handle_ != nullptr)
        file.regular_ = GetFileType(Handle(file.handle_)) == FILE_TYPE_DISK;
    return file;
}

SystemFile SystemFile::CreateNew(const std::string& utf8Path) {
    SystemFile file;
    const std::wstring path = WideFromUtf8(utf8Path);
    if (path.empty()) {
        errno = EINVAL;
        return file;
    }
    file.handle_ = Opened(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    file.regular_ = file.handle_ != nullptr;
    return file;
}

SystemFile::Placed SystemFile::Place(const std::string& from, const std::string& to, bool replace) {
    const std::wstring source = WideFromUtf8(from);
    const std::wstring target = WideFromUtf8(to);
    if (source.empty() || target.empty()) {
        errno = EINVAL;
        return Placed::Failed;
    }
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken, in one step.
    if (MoveFileExW(source.c_str(), target.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return Placed::Yes;
    SetErrno();
    return errno == EEXIST ? Placed::Taken : Placed::Failed;
}

bool SystemFile::Remove(const std::string& utf8Path) {
    const std::wstring path = WideFromUtf8(utf8Path);
    if (path.empty()) {
        errno = EINVAL;
        return false;
    }
    if (DeleteFileW(path.c_str())) return true;
    SetErrno();
    return false;
}

std::string SystemFile::Reason(int error) { return std::strerror(error); }

bool SystemFile::IsOpen() const { return handle_ != nullptr; }

bool SystemFile::Lock() {
    OVERLAPPED where{};
    where.Offset = kLockOffsetLow;
    where.OffsetHigh = kLockOffsetHigh;
    if (LockFileEx(Handle(handle_), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &where)) return true;
    SetErrno();
    return false;
}

void SystemFile::Unlock() { UnlockFile(Handle(handle_), kLockOffsetLow, kLockOffsetHigh, 1, 0); }

std::optional<std::uint64_t> SystemFile::Size() const {
    LARGE_INTEGER size{};
    if (!regular_ || !GetFileSizeEx(Handle(handle_), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::string> SystemFile::ReadAt(std::uint64_t offset, std::size_t count) const {
    if (!readable_) return std::nullopt;
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>((offset + done) & 0xFFFFFFFF);
        where.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(count - done, 1 << 20));
        if (!ReadFile(Handle(handle_), bytes.data() + done, wanted, &read, &where)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            SetErrno();
            return std::nullopt;
        }
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

std::size_t SystemFile::Write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED where{};
        where.Offset = kEndOfFile;
        where.OffsetHigh = kEndOfFile;
        DWORD written = 0;
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(Handle(handle_), bytes.data() + done, wanted, &written, &where)) {
            SetErrno();
            break;
        }
        if (written == 0) {
            errno = EIO;
            break;
        }
        done += written;
    }
    return done;
}

bool SystemFile::Truncate(std::uint64_t length) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
    if (SetFileInformationByHandle(Handle(handle_), FileEndOfFileInfo, &end, sizeof end))
        return true;
    SetErrno();
    return false;
}

bool SystemFile::Close() {
    if (handle_ == nullptr) return true;
    if (CloseHandle(Handle(std::exchange(handle_, nullptr)))) return true;
    SetErrno();
    return false;
}

}  // namespace kelvane

#endif
