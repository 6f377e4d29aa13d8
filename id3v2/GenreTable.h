#pragma once
// The 148 genre names that a numeric genre reference "(n)" stands for, index 0 to 147.
#include <array>
#include <cstddef>
#include <string_view>

namespace id3v2 {

inline constexpr std::size_t kGenreCount = 148;

extern const std::array<std::string_view, kGenreCount> GenreTable;

} // namespace id3v2
