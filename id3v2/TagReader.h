#pragma once
// The file side of reading a tag: the file's first bytes, as many as the frame scan can look
// at, taken from the song's bytes (one read for a usual tag, a second one only for a tag too
// large for the head window).
#include "io/ByteSource.h"

#include <cstdint>
#include <span>

namespace id3v2 {

// A tag whose frames reach further than this into the file is not held in memory: it is read a
// frame at a time (its frame headers, the bytes each frame keeps, its popularimeter), which is
// all the scan and the rating's parse look at. Tags of other programs rarely pass 1 MiB except
// for a large picture, whose bytes neither needs.
inline constexpr std::int64_t kMostTagInMemory = std::int64_t{1} << 20;

struct TagRegion {
    // The file from offset 0: the tag and what the scan may reach. A view into the song's
    // bytes, valid until their next read. Only the file's first bytes for a tag read a frame at
    // a time.
    std::span<const std::uint8_t> Bytes;
    std::int64_t FileLength = 0;
    // The tag reaches beyond kMostTagInMemory: it is to be read a frame at a time.
    bool FrameByFrame = false;
};

// False when the file is not open, cannot be read or holds fewer than 10 bytes.
bool ReadTagRegion(io::ByteSource& song, TagRegion& region);

} // namespace id3v2
