#pragma once
// The frames a song's write changes: its old tag against the planned one.
#include "songs/SongWriting.h"
#include "batch/FrameChanges.h"

#include <vector>

namespace batch {

// For a song planned with keepTags; none when nothing was planned.
std::vector<FrameChange> ChangesOfSong(const songs::SongWriteResult& song);

} // namespace batch
