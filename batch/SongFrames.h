#pragma once
// The frames a song's write changes: its old tag against the planned one.
#include "app/SongWriting.h"
#include "batch/FrameChanges.h"

#include <vector>

namespace batch {

// For a song planned with keepTags; none when nothing was planned.
std::vector<FrameChange> ChangesOfSong(const app::SongWriteResult& song);

} // namespace batch
