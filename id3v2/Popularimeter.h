#pragma once
// The rating of a tag's first popularimeter frame, from a complete parse of the tag as the
// ID3v2.2, 2.3 and 2.4 standards define it: the header of each version (flags it does not define
// are ignored; a compressed 2.2 tag is not read), unsynchronisation of the whole tag (2.2, 2.3)
// or of each frame (2.4), extended headers by each version's own rule, each version's frame
// layout, compressed frames (inflated with zlib, within a bound) and encrypted ones (no rating).
// Used when the frame scan kept no popularimeter.
#include <cstdint>
#include <span>

namespace io {
class ByteSource;
}

namespace id3v2 {

// tagBytes: the tag as it stands at the start of the file, header first. The rating byte of
// the first POPM (POP in version 2.2) frame, whatever its e-mail address; 0 when there is none,
// when the bytes are no tag of version 2 to 4, and on any failure.
std::uint8_t PopularimeterRating(std::span<const std::uint8_t> tagBytes) noexcept;

// The same over a song's bytes up to tagEnd, read a frame at a time, for a tag too large to
// hold in memory.
std::uint8_t PopularimeterRating(io::ByteSource& song, std::int64_t tagEnd) noexcept;

} // namespace id3v2
