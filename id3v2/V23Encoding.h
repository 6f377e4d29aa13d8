#pragma once
// A frame's content with its text in the encodings a version 2.3 tag has: single-byte text as it
// is, and UTF-16 (either byte order) and UTF-8 as UTF-16 after the byte-order mark FF FE, field
// by field along the frame's layout.
#include "id3v2/EncodedLayouts.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace id3v2 {

// content: the frame's data, its encoding byte first. The values of a string list are joined
// with "/"; a string keeps its terminator when it had one; bytes after the last field are left
// out. None when the encoding is unknown, a field of fixed size does not fit, a time stamp is
// missing, or a string is no valid text of its encoding.
std::optional<std::vector<std::uint8_t>> InV23Encoding(std::span<const Field> fields, std::span<const std::uint8_t> content);

// The strings of a text frame, as UTF-16 code units (single-byte text byte for byte).
struct TextStrings {
    bool Wide = false; // the frame's encoding is not the single-byte one
    std::vector<std::u16string> Strings;
};

// content: the frame's data, its encoding byte first. None as for InV23Encoding.
std::optional<TextStrings> TextStringsOf(std::span<const std::uint8_t> content);

// A text frame's data in a version 2.3 encoding: the strings, each with its terminator.
std::vector<std::uint8_t> TextFrameData(const TextStrings& text);

} // namespace id3v2
