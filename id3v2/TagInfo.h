#pragma once
// The working record of one read or one write: the tag header as the file holds it, the file's
// length, the frame data by row, and what the writer decided.
#include "id3v2/FrameTable.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace id3v2 {

inline constexpr std::size_t kHeaderSize = 10;

struct TagInfo {
    std::array<std::uint8_t, 3> Identifier{}; // bytes 0-2, "ID3" when a tag is present
    std::uint8_t MajorVersion = 0;            // byte 3
    std::uint8_t Revision = 0;                // byte 4
    std::uint8_t Flags = 0;                   // byte 5; 0x10: footer present
    std::array<std::uint8_t, 4> SizeBytes{};  // bytes 6-9, syncsafe, most significant first
    std::int64_t FileLength = 0;
    // Reading: the raw data of each row's frame (500 bytes) or empty. Writing: the frame's
    // text without the encoding byte, or empty when the frame is left out.
    std::array<std::string, kFrameRows> FrameData;
    bool NeedRewrite = false;
    std::int32_t PaddingSize = 0;

    bool HasIdentifier() const { return Identifier == std::array<std::uint8_t, 3>{'I', 'D', '3'}; }
    // Fills the header fields from up to 10 leading file bytes; the fields the bytes do not
    // reach stay as they were.
    void SetHeaderBytes(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, kHeaderSize> HeaderBytes() const;
};

// Reads the first 10 bytes of a file into the header fields and its length into FileLength.
// False when the file cannot be opened or read or holds fewer than 10 bytes (the bytes it had
// are then in the record).
bool ReadTagHeader(const std::string& path, TagInfo& info);

// The number of bytes the tag takes from the file's start: the header's size (each size byte
// taken whole), 10 for the header and 10 more for a footer; 0 when that points past the end of
// the file.
std::int32_t TotalTagSize(const TagInfo& info);

} // namespace id3v2
