#pragma once
// The frames of an old tag that the writer does not write from the frame table, as frames of a
// version 2.3 tag: what a rewritten tag keeps of the old one when its other frames are kept.
//
// Frames of a version 2.3 tag are kept byte for byte. Those of a 2.2 tag take their 2.3 IDs
// (V23Forms.h); those of a 2.4 tag are unpacked (unsynchronisation, data length, compression),
// keep their 2.3 flags and group byte, and have their text re-encoded (V23Encoding.h), the 2.4
// frames that 2.3 lacks converted or dropped. A frame to be discarded when the tag is altered,
// an encrypted one and one that cannot be read are dropped, and so is a 2.2 frame without a
// 2.3 form.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace id3v2 {

// No tag larger than this is kept (nor written when frames are kept).
inline constexpr std::int64_t kMostKeptTag = std::int64_t{16} << 20;

struct DroppedFrame {
    std::string Id;  // as the old tag has it
    std::string Why; // in a few words
};

struct OtherFrames {
    std::vector<std::uint8_t> Bytes; // the kept frames as version 2.3 frames, in their old order
    std::vector<DroppedFrame> Dropped;
};

// tagBytes: the old tag from its header on (the whole tag). False when the bytes are no tag of
// version 2 to 4, when the tag is larger than kMostKeptTag, or on a failed allocation (frames is
// then empty); never throws. Bytes never make a tag larger than kMostKeptTag with a 10-byte
// header: a frame that would is dropped as too large.
bool OtherFramesAsV23(std::span<const std::uint8_t> tagBytes, OtherFrames& frames) noexcept;

} // namespace id3v2
