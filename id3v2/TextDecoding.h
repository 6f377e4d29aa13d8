#pragma once
// Text of a stored frame into a byte string of the system's single-byte code page
// (Windows-1252), by the frame's first byte, the text encoding:
//   0x00  single-byte text, taken as it is;
//   0x01  UTF-16 with a byte-order mark (FF FE little-endian, FE FF big-endian; none: little-endian);
//   0x02  UTF-16 big-endian (a leading byte-order mark is honoured as well);
//   0x03  UTF-8.
// UTF-16 text ends at its first zero unit; a code unit the code page lacks becomes '?'.
// The result is trimmed of bytes 0x00-0x20 at both ends.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace id3v2 {

enum TextEncoding : std::uint8_t {
    EncodingLatin1 = 0x00,
    EncodingUtf16 = 0x01,
    EncodingUtf16BigEndian = 0x02,
    EncodingUtf8 = 0x03,
};

constexpr bool IsKnownTextEncoding(std::uint8_t encoding)
{
    return encoding <= EncodingUtf8;
}

// True for the two UTF-16 encodings, whose strings end with a zero unit (two zero bytes).
constexpr bool IsWideEncoding(std::uint8_t encoding)
{
    return encoding == EncodingUtf16 || encoding == EncodingUtf16BigEndian;
}

// The byte order of UTF-16 text in one of the wide encodings: a leading byte-order mark's (FF FE
// little-endian, FE FF big-endian), else big-endian for 0x02 and little-endian for 0x01.
struct Utf16ByteOrder {
    bool BigEndian = false;
    std::size_t MarkSize = 0; // 2 when the text starts with a byte-order mark, which is no character
};
Utf16ByteOrder ByteOrderOfUtf16(std::uint8_t encoding, std::string_view text);

// data: the frame's data, the encoding byte first. An empty input gives an empty text; an
// encoding byte above 0x03 is treated as single-byte text.
std::string DecodeText(std::string_view data);

} // namespace id3v2
