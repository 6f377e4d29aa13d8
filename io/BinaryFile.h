#pragma once
// One open file, closed on every path: the readers and the writer open a file for a single
// operation through this class. Offsets and sizes are 64-bit; no call throws.
#include "io/Outcome.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>

namespace io {

// Which file an open file is, whatever its names: its file system and its number there.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// When a file was last read and last written.
struct FileTimes {
    std::timespec accessed{};
    std::timespec modified{};
};

// What an open found of a file: which file it is, its length, permission bits, owner, group and
// times.
struct FileStatus {
    FileIdentity identity;
    std::int64_t length = 0;
    unsigned permissions = 0; // the bits 07777
    unsigned owner = 0;
    unsigned group = 0;
    FileTimes times;
};

class BinaryFile {
public:
    enum class Mode { Read, ReadWrite };

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing regular file; never creates one, and never waits (a pipe, a device or a
    // folder is refused at once). `status`, when given, receives the file's status as the open
    // found it (length, permissions, owner), without asking the file system again.
    bool Open(const std::string& path, Mode mode, FileStatus* status = nullptr);
    // Creates a file that must not exist yet (no symbolic link is followed), for writing.
    bool CreateNew(const std::string& path, unsigned permissions);

    bool IsOpen() const { return fd_ >= 0; }

    // The file's length in bytes, or -1 on failure.
    std::int64_t Size() const;
    // The open file's status now, asked afresh; false on failure.
    bool Status(FileStatus& status) const;

    // Tries once, without waiting, to take an exclusive advisory lock on one byte at offset,
    // owned by this open file (not by the process: another open of the same file in this process
    // is kept out too): Done when taken, Busy when another open file holds it. Needs the file open
    // for writing. Released on Close, or by the system when the process ends.
    Outcome TryLockByte(std::int64_t offset) const;
    // Reads up to buffer.size() bytes at offset; returns how many were read (short only at the
    // end of the file), or -1 on an error.
    std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) const;
    // Writes all of data at offset; false on any error, a short write included.
    bool WriteAt(std::int64_t offset, std::span<const std::uint8_t> data) const;
    bool Sync() const;
    // Sets the file's permission bits (07777); false when that is refused.
    bool SetPermissions(unsigned permissions) const;
    // Gives the file to an owner and group; false when that is refused.
    bool SetOwner(unsigned owner, unsigned group) const;
    // Sets when the file was last read and written; false when that is refused.
    bool SetTimes(const FileTimes& times) const;
    // Closes the file and reports whether the close succeeded (a deferred write error shows here).
    bool Close();

    // The system's error number of the last call that failed (a refused open, a read or write
    // error, a file that is no regular file: EISDIR or EINVAL); 0 before any failed.
    int LastError() const { return error_; }

private:
    friend Outcome CopyExtendedAttributes(const BinaryFile& source, const BinaryFile& target);
    friend Outcome CopyToEnd(const BinaryFile& source, std::int64_t sourceOffset, const BinaryFile& target,
                          std::int64_t targetOffset);

    // Keeps errno (or the given number) as the last error; false, for the failing call to return.
    bool Failing(int error) const;

    int fd_ = -1;
    mutable int error_ = 0;
};

} // namespace io
