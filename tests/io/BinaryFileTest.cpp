// Opening songs: only regular files are opened, and nothing waits at the open.
#include "io/BinaryFile.h"
#include "io/SongBytes.h"
#include "io/SongFile.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace io {
namespace {

TEST(BinaryFile, APipeOrAFolderIsRefusedAtOnce)
{
    fixtures::ScratchDir dir("fonarel-io");
    const std::string pipe = dir.File("song.mp3");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    BinaryFile file;
    // A blocking open of a pipe with no writer would never return.
    EXPECT_FALSE(file.Open(pipe, BinaryFile::Mode::Read));
    EXPECT_FALSE(file.Open(pipe, BinaryFile::Mode::ReadWrite));
    EXPECT_FALSE(file.IsOpen());
    SongBytes bytes;
    EXPECT_FALSE(bytes.Open(pipe));
    SongFile song;
    EXPECT_FALSE(song.Open(pipe));
    EXPECT_FALSE(file.Open(dir.Path(), BinaryFile::Mode::Read));
}

TEST(BinaryFile, ARegularFileReportsItsStatus)
{
    fixtures::ScratchDir dir("fonarel-io");
    const std::string path = dir.File("song.mp3");
    std::ofstream(path) << "0123456789";
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    BinaryFile file;
    FileStatus status;
    ASSERT_TRUE(file.Open(path, BinaryFile::Mode::Read, &status));
    EXPECT_EQ(status.length, 10);
    EXPECT_EQ(status.permissions, 0640u);
    std::uint8_t buffer[4] = {};
    EXPECT_EQ(file.ReadAt(8, buffer), 2);
    EXPECT_EQ(buffer[1], '9');
}

} // namespace
} // namespace io
