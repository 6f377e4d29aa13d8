#pragma once
// One catalogue song onto the merge-writer: the file's path, its extension and the 27 tag
// values. The catalogue's value wins wherever it has one; an empty value keeps the file's own.
#include "catalogue/SongRecord.h"
#include "tagkit/TagValues.h"

#include <string>
#include <string_view>

namespace songs {

struct SongTag {
    // PAS_PATH followed directly by MUS_ARQUIVO, in the catalogue's Windows-1252 bytes.
    std::string fileName;
    // MUS_ARQUIVO's extension, dot and letter case included; empty when it has none.
    std::string extension;
    tagkit::TagValues values;
};

SongTag MapSongToTag(const catalogue::SongRecord& song);

// The name the file system knows a catalogue path by: its UTF-8 form, or the catalogue's raw
// bytes when only they name an existing file (folders copied from older systems keep their
// Windows-1252 names).
std::string FileSystemPath(std::string_view cp1252Path);

} // namespace songs
