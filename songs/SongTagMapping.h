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

} // namespace songs
