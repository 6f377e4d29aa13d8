#pragma once
// An MP3 file as the analyser reads it: a few bounded reads at chosen offsets, each into a
// fixed buffer whose unread part is zero, with a running count of the bytes the analyser took.
// The bytes come from the song's shared bytes, which read each range from the file once.
#include <cstdint>
#include <span>

#include "io/ByteSource.h"

namespace audio {

class StreamFile {
public:
    explicit StreamFile(io::ByteSource& song) : song_(song) {}

    std::int64_t Length() const { return song_.Length(); }
    std::int64_t BytesRead() const { return bytesRead_; }

    // Fills buffer with the bytes from offset on, zero where the file ends first. Returns the
    // count read, or -1 on a read error.
    std::int64_t ReadFrom(std::int64_t offset, std::span<std::uint8_t> buffer);
    // True when all of buffer could be read from offset on.
    bool ReadExactly(std::int64_t offset, std::span<std::uint8_t> buffer);
    // Fills buffer with the file's last bytes, aligned on the buffer's end; the part of the buffer
    // that lies before the start of a short file is zero. False on a read error.
    bool ReadTail(std::span<std::uint8_t> buffer);

private:
    io::ByteSource& song_;
    std::int64_t bytesRead_ = 0;
};

} // namespace audio
