#pragma once
// The flag bits of a tag's header and of a frame's format byte (the second flag byte), by
// version, and of a frame's status byte (the first flag byte), as the ID3v2.2, 2.3 and 2.4
// standards define them.
#include <cstdint>

namespace id3v2::flags {

// Tag header.
inline constexpr std::uint8_t kTagUnsynchronised = 0x80;
inline constexpr std::uint8_t kTagCompressedV22 = 0x40; // version 2.2: no way to read such a tag
inline constexpr std::uint8_t kTagExtendedHeader = 0x40; // versions 2.3 and 2.4
inline constexpr std::uint8_t kTagFooter = 0x10;         // version 2.4: a footer follows the tag

// Frame status byte, version 2.3.
inline constexpr std::uint8_t kV23DiscardOnTagAlter = 0x80;
inline constexpr std::uint8_t kV23DiscardOnFileAlter = 0x40;
inline constexpr std::uint8_t kV23ReadOnly = 0x20;

// Frame status byte, version 2.4.
inline constexpr std::uint8_t kV24DiscardOnTagAlter = 0x40;
inline constexpr std::uint8_t kV24DiscardOnFileAlter = 0x20;
inline constexpr std::uint8_t kV24ReadOnly = 0x10;

// Frame format byte, version 2.3.
inline constexpr std::uint8_t kV23Compressed = 0x80;
inline constexpr std::uint8_t kV23Encrypted = 0x40;
inline constexpr std::uint8_t kV23Grouped = 0x20;

// Frame format byte, version 2.4.
inline constexpr std::uint8_t kV24Grouped = 0x40;
inline constexpr std::uint8_t kV24Compressed = 0x08;
inline constexpr std::uint8_t kV24Encrypted = 0x04;
inline constexpr std::uint8_t kV24Unsynchronised = 0x02;
inline constexpr std::uint8_t kV24DataLength = 0x01;

} // namespace id3v2::flags
