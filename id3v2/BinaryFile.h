#pragma once
// One open file, closed on every path: the readers and the writer open a file for a single
// operation through this class. Offsets and sizes are 64-bit; no call throws.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <sys/stat.h>

namespace id3v2 {

class BinaryFile {
public:
    enum class Mode { Read, ReadWrite };

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing regular file; never creates one. `status`, when given, receives the
    // file's status as the open found it (length, permissions, owner).
    bool Open(const std::string& path, Mode mode, struct stat* status = nullptr);
    // Creates a new file (or truncates an existing one) for writing, with the given permission bits.
    bool Create(const std::string& path, unsigned permissions);
    // Creates a file that must not exist yet (no symbolic link is followed), for writing.
    bool CreateNew(const std::string& path, unsigned permissions);

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

    // The file's length in bytes, or -1 on failure.
    std::int64_t Size() const;
    // Reads up to buffer.size() bytes at offset; returns how many were read (short only at the
    // end of the file), or -1 on an error.
    std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) const;
    // Writes all of data at offset; false on any error, a short write included.
    bool WriteAt(std::int64_t offset, std::span<const std::uint8_t> data) const;
    bool Sync() const;
    // Closes the file and reports whether the close succeeded (a deferred write error shows here).
    bool Close();

private:
    int fd_ = -1;
};

} // namespace id3v2
