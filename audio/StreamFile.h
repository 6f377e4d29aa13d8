#pragma once
// An MP3 file as the analyser reads it: a few bounded reads at chosen offsets, each into a
// fixed buffer whose unread part is zero, with a running count of the bytes read.
#include <cstdint>
#include <span>
#include <string>

#include "id3v2/BinaryFile.h"

namespace audio {

class StreamFile {
public:
    // Opens the file read-only and learns its length. False when it cannot be opened or sized.
    bool Open(const std::string& path);

    std::int64_t Length() const { return length_; }
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
    id3v2::BinaryFile file_;
    std::int64_t length_ = 0;
    std::int64_t bytesRead_ = 0;
};

} // namespace audio
