#pragma once
// Chapters and tables of contents (CHAP, CTOC) of version 2.4 tags, whose data ends with frames
// of their own: where those frames start.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace id3v2 {

// Whether frames with this ID embed frames.
bool EmbedsFrames(std::string_view id);

// Where the embedded frames start in the data: after a chapter's element ID and its four times
// and offsets (16 bytes), or after a table's element ID, flags, entry count and child element
// IDs. None when those fields do not fit.
std::optional<std::size_t> EmbeddedFramesStart(std::string_view id, std::span<const std::uint8_t> data);

} // namespace id3v2
