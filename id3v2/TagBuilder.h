#pragma once
// The bytes of a new version 2.3 tag: which frames it holds, its header and padding, and the
// assembled tag. No file access.
#include "id3v2/FrameTable.h"
#include "id3v2/TagHeader.h"
#include "id3v2/TagValues.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace id3v2 {

// A tag rebuilt into a file is padded to this size; an old tag up to this size is rewritten in
// place when the new frames fit in it.
inline constexpr std::int32_t kRebuiltTagSize = 4096;

// What a write plans: the file's present header and length, the data and text encoding of each
// frame to write, and then the new header, whether the file must be rebuilt, and the padding.
struct TagPlan {
    TagHeader Header; // the file's header until BuildTagHeader makes it the new tag's
    std::int64_t FileLength = 0;
    std::array<std::string, kFrameRows> FrameData;
    std::array<std::uint8_t, kFrameRows> FrameEncoding{}; // the byte before each frame's data
    // Frames kept from the old tag, as version 2.3 frames (headers included), written after the
    // table's; none unless the old tag's other frames are kept.
    std::span<const std::uint8_t> OtherFrames;
    bool NeedRewrite = false;
    std::int32_t PaddingSize = 0;
};

// plan.FrameData: the text of every frame to write (without its encoding byte), empty for
// frames left out. The track number in decimal when not 0; the comment as "eng", a zero byte
// and the text; the link as a zero byte and the address; the rating as its single byte, always.
// Single-byte text (plan.FrameEncoding 0x00) but for a text frame or comment whose text a reader
// of the standard would misread so (see WideText.h): that one is UTF-16 (0x01) when its data
// then stays within what a reader keeps of a frame, and the comment's description is then an
// empty UTF-16 text (FF FE 00 00). With other frames kept that hold a comment or a link, a
// comment or link with no value is an empty frame ("eng" and a zero byte; a zero byte), so that
// it, not the kept one, is read back.
void FillFrameData(const TagValues& values, TagPlan& plan);

// From the file's present header (in plan) and the frames to write: NeedRewrite (no tag, an old
// tag too small or larger than 4096 bytes), PaddingSize, and the new header. False, with info
// unchanged, when the frames are too large for a tag's size field.
bool BuildTagHeader(TagPlan& plan);

// The new tag: the header built by BuildTagHeader, the frames in row order, then PaddingSize zero
// bytes. With other frames kept, they follow the table's frames but for its comment, link and
// rating, which come last: a reader that takes the last frame of an ID then reads back these
// rather than another program's comment, link or rating kept before them.
std::vector<std::uint8_t> AssembleTag(const TagPlan& plan);

// The three steps for a file whose present header and length are in plan: the new tag's bytes
// in tag. False, with tag empty, when the frames are too large for a tag's size field.
bool BuildNewTag(const TagValues& values, TagPlan& plan, std::vector<std::uint8_t>& tag);

} // namespace id3v2
