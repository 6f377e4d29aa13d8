#pragma once
// The byte orders of a tag's numbers: plain big-endian, and the syncsafe form (7 bits a byte)
// of tag and frame sizes, read leniently (top bits dropped) or strictly (none set).
#include <cstdint>
#include <optional>

namespace id3v2 {

// `bytes` (at most 4) bytes, most significant first.
constexpr std::uint32_t BigEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

// Four syncsafe bytes, each byte's top bit dropped.
constexpr std::uint32_t SyncsafeMasked(const std::uint8_t* p)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 7 | (p[i] & 0x7Fu);
    return value;
}

// Four syncsafe bytes; none when a byte has its top bit set.
constexpr std::optional<std::uint32_t> SyncsafeStrict(const std::uint8_t* p)
{
    for (int i = 0; i < 4; ++i)
        if (p[i] & 0x80)
            return std::nullopt;
    return SyncsafeMasked(p);
}

} // namespace id3v2
