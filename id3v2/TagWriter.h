#pragma once
// Puts a new version 2.3 tag into a song file in place of the tag it begins with: over the old
// tag when that is at most 4096 bytes and large enough (the file keeps its length), otherwise by
// rebuilding the file through a temporary file next to it (path + "~").
#include "io/SongFile.h"
#include "id3v2/TagValues.h"

#include <cstdint>
#include <span>
#include <string>

namespace id3v2 {

// The whole write of one tag. True when the new tag is in the file; on false the file holds
// what it held (its read-only mark may be gone) and no temporary file is left.
bool WriteTag(const std::string& path, const TagValues& values);

// Writes the tag bytes from offset 0 of the open file; their number is the old tag's length.
bool OverwriteTag(io::SongFile& song, std::span<const std::uint8_t> tag);

// Writes the tag and then the song's bytes from `skip` on into path + "~", flushes it to disk
// and renames it over the song in one step. The new file keeps the song's permission bits (with
// owner write) and, where allowed, its owner. On failure the temporary file is removed.
bool RebuildWithTag(io::SongFile& song, std::int64_t skip, std::span<const std::uint8_t> tag);

} // namespace id3v2
