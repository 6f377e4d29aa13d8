#include "songs/ShareWatch.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace songs {
namespace {

SongWriteResult Song(const std::string& path, int error)
{
    SongWriteResult song;
    song.path = path;
    song.outcome = error == 0 ? SongOutcome::Written : SongOutcome::PassedOver;
    song.cause = {error == 0 ? io::Step::None : io::Step::Read, error};
    return song;
}

TEST(ShareWatch, ADamagedSongAmongOthersGoesOnTenFailuresInARowOrAMappedFolderGoneStop)
{
    const fixtures::ScratchDir folder;
    const std::string song = folder.File("a.mp3");
    ShareWatch watch;
    // The folder answers: one song failing with EIO (a damaged sector) is one song.
    EXPECT_FALSE(watch.Saw(Song(song, EIO), 1, "1"));
    EXPECT_FALSE(watch.Saw(Song(song, ENOENT), 2, "2")) << "a missing file is no lost server";
    EXPECT_FALSE(watch.Saw(Song(song, 0), 3, "3"));
    for (std::size_t i = 4; i < 4 + ShareWatch::kFailuresInARow - 1; ++i)
        EXPECT_FALSE(watch.Saw(Song(song, ETIMEDOUT), i, std::to_string(i)));
    EXPECT_TRUE(watch.Saw(Song(song, ETIMEDOUT), 13, "13"));
    ASSERT_TRUE(watch.Loss());
    EXPECT_EQ(watch.Loss()->folder, folder.Path());
    EXPECT_EQ(watch.Loss()->position, 13u);
    EXPECT_EQ(watch.Loss()->code, "13");

    // A mapped folder whose songs were there and that is gone now.
    ShareWatch unmounted;
    SongWriteResult found = Song(folder.File("x/a.mp3"), 0);
    found.mappedFolder = folder.File("x");
    found.device = 1;
    EXPECT_FALSE(unmounted.Saw(found, 1, "1"));
    found.outcome = SongOutcome::Missing;
    EXPECT_TRUE(unmounted.Saw(found, 2, "2"));
}

} // namespace
} // namespace songs
