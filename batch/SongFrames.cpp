#include "batch/SongFrames.h"


namespace batch {

std::vector<FrameChange> ChangesOfSong(const app::SongWriteResult& song)
{
    if (song.planned.NewTag.empty())
        return {};
    std::vector<id3v2::ListedFrame> before;
    std::vector<id3v2::ListedFrame> after;
    id3v2::ListFrames(song.oldTag, before);
    id3v2::ListFrames(song.planned.NewTag, after);
    return CompareFrames(before, after);
}

} // namespace batch
