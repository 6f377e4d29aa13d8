#pragma once
// Songs whose tag another program wrote with a front cover, and what keeping their other frames
// costs a write: ours keeping them against the rebuild floor and against mutagen's save.
#include <string>

namespace bench {

// 200 copies of a 5 MB song with a 40 KB front cover, one title changed: ours keeping the other
// frames (a rebuild, since the tag is larger than 4096 bytes) against the floor (copy, fsync,
// rename) in turns, then mutagen's load, set and version 2.3 save over its own copies.
void RunCoveredSongsCase(const std::string& plainSong, const std::string& data);

} // namespace bench
