#pragma once
// GenreNames: the ID3v1 genre table, the same 148 names through which an ID3v2 genre reference
// is read.
#include "id3v2/GenreTable.h"

namespace audio {

inline constexpr const auto& GenreNames = id3v2::GenreTable;

} // namespace audio
