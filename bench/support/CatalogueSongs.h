#pragma once
// What the batch benchmarks share: a generated song catalogue over a working set, its songs
// mapped once onto their tags, and the bare toolkit loop over them.
#include "bench/support/Measures.h"
#include "catalogue/SongList.h"
#include "songs/SongTagMapping.h"

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Replaces the database with songs 1..count, song i in file song<i % files>.mp3 of the folder,
// with the values a real catalogue gives (genre, rhythm, language, voice, composer, period).
// files == count gives every song a file of its own.
void BuildSongCatalogue(const std::string& database, const std::string& folder, std::size_t count,
                        std::size_t files);

// Every row of the song list, fetched to the end, mapped onto its tag as a batch run maps it.
std::vector<songs::SongTag> MappedSongs(catalogue::SongList& songs);

// The toolkit's sequence for each song as the song write runs it (CreateTagObjects,
// LoadFileInfoForWriting when save, else LoadFileInfo, SaveTagInfo when save, FreeTagObjects),
// without the window or the command; with flush, the one flush of the written file system that a
// run makes at its end. How long it took; a loop that saves and fails on a song says so on the
// standard error.
Clock::duration BareLoop(const std::vector<songs::SongTag>& songs, bool save, bool flush);

} // namespace bench
