#pragma once
// The strings of a frame's fields, in the frame's text encoding (see TextDecoding.h for the four
// encodings), taken one at a time, and the form a version 2.3 tag gives a wide string: UTF-16
// little-endian after the byte-order mark FF FE.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace id3v2 {

// One string of a field, without its terminator.
struct FieldString {
    std::span<const std::uint8_t> Bytes;
    bool Terminated = false; // a terminator followed it
};

// The string at the start of `data`, to its terminator: a zero byte, or in UTF-16 a zero unit
// (two zero bytes at an even offset from the string's start); without one, the rest of the data.
// `data` keeps what follows the terminator.
FieldString TakeString(std::span<const std::uint8_t>& data, std::uint8_t encoding);

// The string as UTF-16 code units: single-byte text byte for byte; UTF-16 by its byte-order mark
// (little-endian without one), encoding 2 always big-endian (a mark there is a character, kept);
// UTF-8 decoded, a mark there kept as well. An odd last byte of UTF-16 counts as a unit whose
// other byte is zero, or as nothing when it is zero itself (half a terminator). None for bytes
// that are no valid UTF-8.
std::optional<std::u16string> CodeUnits(std::span<const std::uint8_t> bytes, std::uint8_t encoding);

// Whether the string holds no character (a byte-order mark is none), as CodeUnits reads it.
bool IsEmptyString(std::span<const std::uint8_t> bytes, std::uint8_t encoding);

// Appends FF FE and the units, each little-endian.
void AppendWideString(std::u16string_view units, std::vector<std::uint8_t>& out);

} // namespace id3v2
