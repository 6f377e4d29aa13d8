#pragma once
// A catalogue database of generated songs, built once and kept between benchmark runs.
#include <cstddef>
#include <filesystem>

namespace bench {

// Builds the catalogue (songs 1..songs with their lookup rows) at path unless it is there; a
// build that is interrupted leaves no file behind.
void BuildGeneratedCatalogueOnce(const std::filesystem::path& path, std::size_t songs);

} // namespace bench
