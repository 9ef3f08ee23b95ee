#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// A file opened through the system's own calls (a descriptor on POSIX, a handle on Windows), for
// what the C library's streams cannot do: lock it, tell and cut its length, read it back, and
// give a file its name only once it is complete. Paths are UTF-8 on every system. A call that
// fails leaves the system's reason in errno (Windows errors translated to the nearest errno).
class SystemFile {
public:
    // What Place did with the file.
    enum class Placed { Yes, Taken, Failed };

    SystemFile() = default;
    ~SystemFile();
    SystemFile(SystemFile&& other) noexcept;
    SystemFile& operator=(SystemFile&& other) noexcept;
    SystemFile(const SystemFile&) = delete;
    SystemFile& operator=(const SystemFile&) = delete;

    // Opens for appending, creating the file when it is missing; every write goes to the end.
    // Never waits: a named pipe that no program reads fails at once (ENXIO). A regular file is
    // opened for reading too where its permissions allow (ReadAt).
    static SystemFile OpenForAppend(const std::string& utf8Path);
    // Creates a file for writing only where none is (EEXIST when the name is taken).
    static SystemFile CreateNew(const std::string& utf8Path);
    // Gives the file `from` the name `to`. Without `replace` never over another file or folder,
    // not even one made a moment ago: Taken then, and `from` stays as it was.
    static Placed Place(const std::string& from, const std::string& to, bool replace);
    // Removes the file; false (errno) when it could not be removed.
    static bool Remove(const std::string& utf8Path);
    // The reason for an errno value, in words an operator can act on.
    static std::string Reason(int error);

    bool IsOpen() const;
    // A file on a disk, with a length that can be told and cut; not a pipe or a device.
    bool IsRegular() const { return regular_; }

    // Waits for the exclusive lock of the file, which every Kelvane that appends to it takes
    // (advisory: other programs' writes are not held up). False where the system does not lock
    // this file; the caller goes on without it.
    bool Lock();
    void Unlock();
    // The length in bytes of a regular file; nothing for a pipe or a device.
    std::optional<std::uint64_t> Size() const;
    // Up to `count` bytes from `offset` (fewer at the end); nothing where the file cannot be read.
    std::optional<std::string> ReadAt(std::uint64_t offset, std::size_t count) const;
    // Writes all of `bytes`, in as many system calls as it takes; returns how many were written,
    // fewer when a write failed (errno says why).
    std::size_t Write(std::string_view bytes);
    // Cuts the file back to `length` bytes; false (errno) when it could not.
    bool Truncate(std::uint64_t length);
    // Closes the file; false (errno) when the system reports a failed write only now.
    bool Close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // HANDLE; null when closed
#else
    int descriptor_ = -1;
#endif
    bool regular_ = false;
    bool readable_ = false;
};

// How bytes go into a file: a SystemFile's Write, or in tests one that stops short. Returns how
// many bytes were written; fewer with errno set when it stopped.
using FileWrite = std::function<std::size_t(SystemFile& file, std::string_view bytes)>;

// SystemFile::Write, the write of every file outside tests.
inline std::size_t WriteToFile(SystemFile& file, std::string_view bytes) {
    return file.Write(bytes);
}

}  // namespace kelvane
