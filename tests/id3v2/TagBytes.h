#pragma once
// Byte layouts of ID3v2 tags for the tests, built by hand so that every field is explicit.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tagbytes {

// The four syncsafe bytes of a size (7 bits a byte, most significant first).
std::string Syncsafe(std::uint32_t size);
std::string BigEndian32(std::uint32_t value);

// One frame: version 2.3 (plain 32-bit size), 2.4 (syncsafe size) and 2.2 (24-bit size).
// formatFlags is the frame's second flag byte.
std::string FrameV23(std::string_view id, std::string_view data, std::uint8_t formatFlags = 0);
std::string FrameV24(std::string_view id, std::string_view data, std::uint8_t formatFlags = 0);
std::string FrameV22(std::string_view id, std::string_view data);
// A version 2.3 frame whose size field says `size`, whatever data follows.
std::string FrameV23WithSize(std::string_view id, std::uint32_t size, std::string_view data);

// A tag header followed by `body` and `padding` zero bytes; the size field counts both.
std::string Tag(std::uint8_t majorVersion, std::string_view body, std::size_t padding = 0, std::uint8_t flags = 0);

// Text data with its encoding byte.
std::string Latin1(std::string_view text);
std::string Utf16LittleEndian(std::u16string_view text, bool withMark = true);
std::string Utf16BigEndian(std::u16string_view text, bool withMark = true);

// Unsynchronisation as a writer applies it: a zero byte after every 0xFF that is followed by
// a zero byte or a byte of 0xE0 or more, and after a final 0xFF.
std::string Unsynchronised(const std::string& bytes);

// The bytes zlib-compressed, as a compressed frame holds them.
std::string Deflated(const std::string& bytes);

// Bytes that stand for audio after a tag: an MPEG frame header and filler.
std::string AudioBytes(std::size_t size);

// The string's bytes as the library's readers take them.
std::span<const std::uint8_t> AsBytes(const std::string& bytes);

} // namespace tagbytes
