#pragma once
// The bytes of a new version 2.3 tag: which frames it holds, its header and padding, and the
// assembled tag. No file access.
#include "id3v2/TagInfo.h"
#include "id3v2/TagValues.h"

#include <cstdint>
#include <vector>

namespace id3v2 {

// A tag rebuilt into a file is padded to this size; an old tag up to this size is rewritten in
// place when the new frames fit in it.
inline constexpr std::int32_t kRebuiltTagSize = 4096;

// info.FrameData: the text of every frame to write (without its encoding byte), empty for
// frames left out. The track number in decimal when not 0; the comment as "eng", a zero byte
// and the text; the link as a zero byte and the address; the rating as its single byte, always.
void FillFrameData(const TagValues& values, TagInfo& info);

// From the file's present header (in info) and the frames to write: NeedRewrite (no tag, an old
// tag too small or larger than 4096 bytes), PaddingSize, and the new header. False, with info
// unchanged, when the frames are too large for a tag's size field.
bool BuildTagHeader(TagInfo& info);

// The new tag: the header built by BuildTagHeader, the frames in row order, then PaddingSize
// zero bytes.
std::vector<std::uint8_t> AssembleTag(const TagInfo& info);

} // namespace id3v2
