#pragma once
// The 10-byte header at the start of an ID3v2 tag: its fields as the file holds them, their bytes,
// and the number of bytes the tag takes from the file's start.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace id3v2 {

inline constexpr std::size_t kHeaderSize = 10;

struct TagHeader {
    std::array<std::uint8_t, 3> Identifier{}; // bytes 0-2, "ID3" when a tag is present
    std::uint8_t MajorVersion = 0;            // byte 3
    std::uint8_t Revision = 0;                // byte 4
    std::uint8_t Flags = 0;                   // byte 5; 0x10: footer present
    std::array<std::uint8_t, 4> SizeBytes{};  // bytes 6-9, syncsafe, most significant first

    bool HasIdentifier() const { return Identifier == std::array<std::uint8_t, 3>{'I', 'D', '3'}; }
    // Fills the fields from up to 10 leading file bytes; the fields the bytes do not reach stay
    // as they were.
    void SetBytes(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, kHeaderSize> Bytes() const;
};

// Reads the first 10 bytes of a file into the header and its length into fileLength. False
// when the file cannot be opened or read or holds fewer than 10 bytes (the bytes it had are then
// in the header).
bool ReadTagHeader(const std::string& path, TagHeader& header, std::int64_t& fileLength);

// The number of bytes the tag takes from the file's start: the header's size (each size byte
// taken whole), 10 for the header and 10 more for a footer; 0 when that points past the end of
// the file.
std::int32_t TotalTagSize(const TagHeader& header, std::int64_t fileLength);

// The tag's body (frames, padding, an extended header) as the standard counts it: the size bytes
// syncsafe; none when one of them has its top bit set.
std::optional<std::uint32_t> StandardBodySize(const TagHeader& header);

// The whole tag as the standard counts it: the header, the body and a version 2.4 footer.
std::optional<std::int64_t> StandardTagSize(const TagHeader& header);

// The bytes a tag takes from the file's start: TotalTagSize when the file begins with "ID3", 0
// when it begins with no tag.
inline std::int32_t TagLength(const TagHeader& header, std::int64_t fileLength)
{
    return header.HasIdentifier() ? TotalTagSize(header, fileLength) : 0;
}

} // namespace id3v2
