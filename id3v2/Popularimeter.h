#pragma once
// A popularimeter frame's fields, and the rating of a tag's first one from a complete parse of
// the tag as the
// ID3v2.2, 2.3 and 2.4 standards define it: the header of each version (flags it does not define
// are ignored; a compressed 2.2 tag is not read), unsynchronisation of the whole tag (2.2, 2.3)
// or of each frame (2.4), extended headers by each version's own rule, each version's frame
// layout, compressed frames (inflated with zlib, within a bound) and encrypted ones (no rating).
// Used when the frame scan kept no popularimeter.
#include <cstdint>
#include <optional>
#include <span>

namespace io {
class ByteSource;
}

namespace id3v2 {

// A popularimeter's content: an e-mail address ended by a zero byte, the rating byte, then a play
// counter (big-endian, four bytes or more).
struct PopularimeterFields {
    std::span<const std::uint8_t> Address;  // without its zero byte; all the content when it has none
    std::optional<std::uint8_t> Rating;     // none when the address has no end or no byte follows it
    std::optional<std::uint64_t> PlayCount; // none without a byte after the rating; of a longer
                                            // counter, its first eight bytes
};

PopularimeterFields ParsePopularimeter(std::span<const std::uint8_t> content);

// tagBytes: the tag as it stands at the start of the file, header first. The rating byte of
// the first POPM (POP in version 2.2) frame, whatever its e-mail address; 0 when there is none,
// when the bytes are no tag of version 2 to 4, and on any failure.
std::uint8_t PopularimeterRating(std::span<const std::uint8_t> tagBytes) noexcept;

// The same over a song's bytes up to tagEnd, read a frame at a time, for a tag too large to
// hold in memory.
std::uint8_t PopularimeterRating(io::ByteSource& song, std::int64_t tagEnd) noexcept;

} // namespace id3v2
