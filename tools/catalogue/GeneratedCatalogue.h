#pragma once
// A large synthetic catalogue for the laziness tests and the benchmark: songs with every column
// filled, and small lookup tables.
#include <cstddef>
#include <string>

namespace catalogue::builder {

class CatalogueBuilder;

// Inserts the lookup rows and songs with codes 1 to songCount. Song i's full name is
// GeneratedFullName(i).
void AddGeneratedSongs(CatalogueBuilder& builder, std::size_t songCount);

// "ARTIST <n> - SONG <i>", upper case.
std::string GeneratedFullName(std::size_t song);

} // namespace catalogue::builder
