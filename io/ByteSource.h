#pragma once
// What the readers read a song from: a length and the bytes at any offset. SongBytes serves an
// open file; MemoryBytes serves bytes already in memory, so that parsers, tests and fuzzers can
// read without a file.
#include <cstdint>
#include <span>
#include <vector>

namespace io {

class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Whether there are bytes to read at all (a file that could not be opened has none).
    virtual bool IsOpen() const = 0;
    // The number of bytes; reads never go past it.
    virtual std::int64_t Length() const = 0;
    // Copies the bytes from offset on into buffer. Returns the count copied (short only at the
    // end), or -1 when a read error left part of the range unread.
    virtual std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) = 0;
    // The bytes from offset on, up to count of them: fewer at the end or when a read error
    // stopped the read (LastReadFailed then says so). The view stays valid until the next call.
    virtual std::span<const std::uint8_t> View(std::int64_t offset, std::int64_t count) = 0;
    // Whether the last View or ReadAt met a read error.
    virtual bool LastReadFailed() const = 0;
    // As ReadAt, for a range that no other reader will ask for again (a frame deep inside a very
    // large tag): it is not kept, so that walking such a tag holds no more than the range.
    virtual std::int64_t ReadPassing(std::int64_t offset, std::span<std::uint8_t> buffer) { return ReadAt(offset, buffer); }
};

// Bytes in memory, which must outlive the object. Reads never fail.
class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    {
    }

    bool IsOpen() const override { return true; }
    std::int64_t Length() const override { return static_cast<std::int64_t>(bytes_.size()); }
    std::int64_t ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) override;
    std::span<const std::uint8_t> View(std::int64_t offset, std::int64_t count) override;
    bool LastReadFailed() const override { return lastReadFailed_; }

private:
    std::span<const std::uint8_t> bytes_;
    bool lastReadFailed_ = false;
};

} // namespace io
