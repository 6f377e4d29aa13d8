#pragma once
// The length prefixes of a kept row's values (see SongRecord).
#include <cstddef>
#include <cstdint>

namespace catalogue {

// Bytes the prefix for a value of that length (or of a NULL) takes.
constexpr std::size_t LengthPrefixSize(std::size_t prefix)
{
    std::size_t size = 1;
    while (prefix >= 0x80) {
        prefix >>= 7;
        ++size;
    }
    return size;
}

inline std::uint8_t* WriteLengthPrefix(std::uint8_t* at, std::size_t prefix)
{
    while (prefix >= 0x80) {
        *at++ = static_cast<std::uint8_t>(prefix | 0x80);
        prefix >>= 7;
    }
    *at++ = static_cast<std::uint8_t>(prefix);
    return at;
}

// Reads a prefix and moves past it.
inline std::size_t ReadLengthPrefix(const std::uint8_t*& at)
{
    std::size_t prefix = 0;
    for (unsigned shift = 0;; shift += 7) {
        const std::uint8_t byte = *at++;
        prefix |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return prefix;
    }
}

} // namespace catalogue
