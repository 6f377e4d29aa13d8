#pragma once
// Every frame of a tag, in order, with its content: what a look at a tag before and after a
// write compares. Frames of version 2.2 tags carry the version 2.3 ID that the frame table
// reads them as, so that the frames of an old tag and of the tag written over it line up.
#include "id3v2/FrameWalk.h"
#include "io/ByteSource.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace id3v2 {

struct ListedFrame {
    std::string Id;
    // The stored data's size, as the frame header gives it.
    std::int64_t StoredSize = 0;
    // The content (at most kMostFrameContent bytes of it); none for an encrypted frame or one
    // whose content cannot be unpacked.
    std::optional<std::vector<std::uint8_t>> Content;
};

// tagBytes: the tag from its header on. False when they are no tag of version 2 to 4 (frames
// is then empty) or on a failed allocation; never throws.
bool ListFrames(std::span<const std::uint8_t> tagBytes, std::vector<ListedFrame>& frames) noexcept;

// The same over a song's bytes up to tagEnd, read a frame at a time, for a tag too large to hold
// in memory: no more than a frame's bounded content is held at once.
bool ListFrames(io::ByteSource& song, std::int64_t tagEnd, std::vector<ListedFrame>& frames) noexcept;

} // namespace id3v2
