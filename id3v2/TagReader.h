#pragma once
// The file side of reading a tag: the file's first bytes, as many as the frame scan can look
// at, taken from the song's bytes (one read for a usual tag, a second one only for a tag too
// large for the head window).
#include "io/ByteSource.h"

#include <cstdint>
#include <span>

namespace id3v2 {

struct TagRegion {
    // The file from offset 0: the tag and what the scan may reach. A view into the song's
    // bytes, valid until their next read.
    std::span<const std::uint8_t> Bytes;
    std::int64_t FileLength = 0;
};

// False when the file is not open, cannot be read or holds fewer than 10 bytes.
bool ReadTagRegion(io::ByteSource& song, TagRegion& region);

} // namespace id3v2
