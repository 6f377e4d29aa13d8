#pragma once
// The extended header of a version 2.3 or 2.4 tag: how many bytes it takes before the first
// frame, from its first four bytes, its size.
#include <cstdint>
#include <optional>
#include <span>

namespace id3v2 {

// How a version 2.4 size is read. Lenient: each byte's top bit dropped, any number taken (the
// frame scan, whose results every written song carries). Strict: a syncsafe number (no top bit
// set) of at least 6, the smallest extended header 2.4 defines (the complete frame walk).
enum class ExtendedSizeRule { Lenient, Strict };

// The extended header's length, its size bytes included. Version 3: the plain 32-bit size,
// which leaves out its own four bytes, plus 4. Version 4: the syncsafe size, which counts the
// whole extended header. None only when the strict rule rejects the size.
std::optional<std::int64_t> ExtendedHeaderLength(std::span<const std::uint8_t, 4> sizeBytes, std::uint8_t version,
                                                 ExtendedSizeRule rule);

} // namespace id3v2
