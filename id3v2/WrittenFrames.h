#pragma once
// The frames the writer writes itself from the frame table, which a kept frame never repeats:
// the text frames of every row written as text (or as the track number), by their ID; the
// comment in English without a description; the link without a description; the
// popularimeter without an e-mail address.
#include <cstdint>
#include <span>
#include <string_view>

namespace id3v2 {

// Whether a frame with this ID, in a tag of this major version, is a written text frame.
bool IsWrittenTextFrame(std::string_view id, std::uint8_t version);

// Whether the frame (its content unpacked) is one the writer writes: a written text frame, or
// the comment, link or popularimeter the table reads.
bool IsWrittenFrame(std::string_view id, std::uint8_t version, std::span<const std::uint8_t> content);

} // namespace id3v2
