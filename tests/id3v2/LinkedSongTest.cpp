// Songs that are links or odd files: a write goes to the file the song names, a link stays a
// link, and nothing that is no regular song file is written or hangs the writer.
#include "id3v2/ID3v2.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace id3v2 {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace tagbytes;

// A song with a small tag of its own (room for a short title in place, none for a long one).
std::string Song()
{
    return Tag(3, FrameV23("TIT2", "\0Antigo"s), 64) + AudioBytes(2000);
}

std::string TitleOf(const std::string& path)
{
    TID3v2 tag;
    EXPECT_TRUE(tag.ReadFromFile(path));
    return tag.Title();
}

bool Save(const std::string& path, const std::string& title)
{
    TID3v2 tag;
    EXPECT_TRUE(tag.ReadFromFile(path));
    tag.SetTitle(title);
    return tag.SaveToFile(path);
}

class LinkedSong : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir_.File("real"));
        fs::create_directories(dir_.File("library"));
        ASSERT_TRUE(fixtures::WriteFileBytes(real_, Song()));
        fs::create_symlink(real_, link_);
    }

    fixtures::ScratchDir dir_{"fonarel-links"};
    const std::string real_ = dir_.File("real/song.mp3");
    const std::string link_ = dir_.File("library/song.mp3");
};

TEST_F(LinkedSong, ARebuildThroughALinkRebuildsItsTargetAndTheLinkStays)
{
    const std::string title(300, 'L'); // too long for the old tag: the file is rebuilt
    ASSERT_TRUE(Save(link_, title));
    EXPECT_TRUE(fs::is_symlink(link_));
    EXPECT_EQ(fs::read_symlink(link_), real_);
    EXPECT_EQ(TitleOf(real_), title);
    EXPECT_EQ(TitleOf(link_), title);
    // The temporary file was made beside the target, and nothing is left in either folder.
    EXPECT_FALSE(fs::exists(real_ + "~"));
    EXPECT_FALSE(fs::exists(link_ + "~"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.File("library")), fs::directory_iterator{}), 1);
}

TEST_F(LinkedSong, AnInPlaceWriteThroughALinkWritesItsTarget)
{
    ASSERT_TRUE(Save(link_, "Novo"));
    EXPECT_TRUE(fs::is_symlink(link_));
    EXPECT_EQ(TitleOf(real_), "Novo");
}

TEST_F(LinkedSong, AHardLinkKeepsTheOldBytesAfterARebuildButNotAfterAnInPlaceWrite)
{
    const std::string other = dir_.File("real/other-name.mp3");
    ASSERT_EQ(::link(real_.c_str(), other.c_str()), 0);
    ASSERT_TRUE(Save(real_, "Novo"));             // in place: the one file both names share
    EXPECT_EQ(TitleOf(other), "Novo");
    ASSERT_TRUE(Save(real_, std::string(300, 'R'))); // rebuilt: the song gets a new file
    EXPECT_EQ(TitleOf(other), "Novo");
    EXPECT_EQ(TitleOf(real_), std::string(300, 'R'));
}

TEST(OddSongFiles, AreNotWrittenAndNothingWaits)
{
    fixtures::ScratchDir dir("fonarel-odd");
    // A folder, a pipe (a blocking open would wait for a writer forever), an empty file.
    fs::create_directories(dir.File("folder.mp3"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.mp3").c_str(), 0644), 0);
    ASSERT_TRUE(fixtures::WriteFileBytes(dir.File("empty.mp3"), ""s));
    for (const char* name : {"folder.mp3", "pipe.mp3", "empty.mp3", "missing.mp3"}) {
        TID3v2 tag;
        EXPECT_FALSE(tag.ReadFromFile(dir.File(name))) << name;
        tag.SetTitle("x");
        EXPECT_FALSE(tag.SaveToFile(dir.File(name))) << name;
        EXPECT_FALSE(fs::exists(dir.File(name) + "~")) << name;
    }
    EXPECT_EQ(fs::file_size(dir.File("empty.mp3")), 0u);
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe.mp3")));
}

TEST(OddSongFiles, AFileCutInsideItsTagKeepsEveryByteWhenWritten)
{
    fixtures::ScratchDir dir("fonarel-odd");
    const std::string path = dir.File("cut.mp3");
    const std::string whole = Tag(3, FrameV23("TIT2", "\0Cortado"s) + FrameV23("TPE1", "\0Artista"s), 2000);
    const std::string cut = whole.substr(0, 40); // the header claims more than the file holds
    ASSERT_TRUE(fixtures::WriteFileBytes(path, cut));
    ASSERT_TRUE(Save(path, "Novo"));
    // The new tag stands in front of every byte the file had: nothing is lost.
    const std::vector<std::uint8_t> after = fixtures::ReadFileBytes(path);
    ASSERT_GE(after.size(), cut.size());
    EXPECT_EQ(std::string(after.end() - static_cast<std::ptrdiff_t>(cut.size()), after.end()), cut);
    EXPECT_EQ(TitleOf(path), "Novo");
}

} // namespace
} // namespace id3v2
