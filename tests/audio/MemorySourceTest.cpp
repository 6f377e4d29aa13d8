// The readers over bytes in memory: a song's bytes read from memory give what the file gives.
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "io/ByteSource.h"
#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

namespace {

// A version 2.3 tag with a title, and an ID3v1 block, around a real lame encoding.
std::vector<std::uint8_t> TaggedSong(const std::string& folder)
{
    const std::string path = folder + "/song.mp3";
    if (!fixtures::MakeMp3(path, fixtures::Encoder::Lame, {"-b", "128"}))
        return {};
    std::vector<std::uint8_t> audio = fixtures::ReadFileBytes(path);
    const std::string title = "Chega de Saudade";
    std::vector<std::uint8_t> song = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(10 + 1 + title.size())};
    const std::vector<std::uint8_t> frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<std::uint8_t>(1 + title.size()), 0, 0, 0};
    song.insert(song.end(), frame.begin(), frame.end());
    song.insert(song.end(), title.begin(), title.end());
    song.insert(song.end(), audio.begin(), audio.end());
    std::vector<std::uint8_t> v1(128, 0);
    const std::string v1Title = "v1 title";
    v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
    std::copy(v1Title.begin(), v1Title.end(), v1.begin() + 3);
    song.insert(song.end(), v1.begin(), v1.end());
    return song;
}

TEST(MemorySource, ReadersGiveFromMemoryWhatTheyGiveFromTheFile)
{
    fixtures::ScratchDir folder("fonarel-memory");
    const std::vector<std::uint8_t> bytes = TaggedSong(folder.Path());
    ASSERT_FALSE(bytes.empty());
    const std::string path = folder.File("tagged.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(path, bytes));

    audio::TMPEGaudio fromFile, fromMemory;
    io::MemoryBytes memory(bytes);
    ASSERT_TRUE(fromFile.ReadFromFile(path));
    ASSERT_TRUE(fromMemory.ReadFromSource(memory));
    EXPECT_TRUE(fromMemory.Valid());
    EXPECT_EQ(fromMemory.FileLength(), static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(fromMemory.Frame().Position, fromFile.Frame().Position);
    EXPECT_EQ(fromMemory.TagV2Size(), 10 + 10 + 1 + 16); // header, frame header, encoding, title
    EXPECT_TRUE(fromMemory.TagV1Exists());
    EXPECT_EQ(fromMemory.Frames(), fromFile.Frames());
    EXPECT_EQ(fromMemory.Encoder(), fromFile.Encoder());
    EXPECT_EQ(fromMemory.BytesRead(), fromFile.BytesRead());

    id3v2::TID3v2 tag;
    io::MemoryBytes again(bytes);
    ASSERT_TRUE(tag.ReadFromSource(again));
    EXPECT_TRUE(tag.TagFound());
    EXPECT_EQ(tag.Title(), "Chega de Saudade");

    audio::TID3v1 v1;
    io::MemoryBytes tail(bytes);
    ASSERT_TRUE(v1.ReadFromSource(tail));
    EXPECT_TRUE(v1.Exists());
    EXPECT_EQ(v1.Title(), "v1 title");
}

TEST(MemorySource, ReadsStayInsideTheBytes)
{
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
    io::MemoryBytes memory(bytes);
    std::uint8_t buffer[4] = {};
    EXPECT_EQ(memory.ReadAt(3, buffer), 2);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(memory.ReadAt(5, buffer), 0);
    EXPECT_EQ(memory.ReadAt(-1, buffer), -1);
    EXPECT_TRUE(memory.LastReadFailed());
    EXPECT_EQ(memory.View(1, 100).size(), 4u);
    EXPECT_FALSE(memory.LastReadFailed());
    EXPECT_TRUE(memory.View(9, 1).empty());

    // Too short for an analysis: nothing is read and the reader says so.
    audio::TMPEGaudio a;
    EXPECT_FALSE(a.ReadFromSource(memory));
    EXPECT_FALSE(a.Valid());
}

} // namespace
