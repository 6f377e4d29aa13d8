// The shared bytes of one song file: every range served is the file's, and no range is read
// from the file twice.
#include "io/SongBytes.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace io {
namespace {

// Bytes that differ from their neighbours, so that a range served from the wrong place shows.
std::vector<std::uint8_t> PatternBytes(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

class SongBytesTest : public ::testing::Test {
protected:
    std::string MakeFile(std::size_t size)
    {
        file_ = PatternBytes(size);
        const std::string path = dir_.File("song.mp3");
        fixtures::WriteFileBytes(path, file_);
        return path;
    }

    // Reads [offset, offset + count) through ReadAt and checks the bytes against the file.
    void ExpectRange(SongBytes& song, std::int64_t offset, std::size_t count)
    {
        std::vector<std::uint8_t> buffer(count, 0xEE);
        const std::int64_t got = song.ReadAt(offset, buffer);
        const auto end = std::min<std::size_t>(file_.size(), static_cast<std::size_t>(offset) + count);
        const std::size_t expected = end > static_cast<std::size_t>(offset) ? end - static_cast<std::size_t>(offset) : 0;
        ASSERT_EQ(got, static_cast<std::int64_t>(expected)) << "at " << offset;
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(expected),
                               file_.begin() + offset))
            << "at " << offset;
    }

    fixtures::ScratchDir dir_{"fonarel-songbytes"};
    std::vector<std::uint8_t> file_;
};

TEST_F(SongBytesTest, TheReadersUsualRangesCostTwoReads)
{
    SongBytes song;
    ASSERT_TRUE(song.Open(MakeFile(40000)));
    EXPECT_EQ(song.Length(), 40000);
    // The analyser: tag header, frame scan after a 4096-byte tag, the file's last bytes; then
    // the tag reader's first 8 KB and the ID3v1 block.
    ExpectRange(song, 0, 10);
    ExpectRange(song, 4096, 3458);
    ExpectRange(song, 40000 - 3586, 3586);
    ExpectRange(song, 0, 8192);
    ExpectRange(song, 40000 - 128, 128);
    EXPECT_EQ(song.FileReads(), 2);
    EXPECT_EQ(song.FileBytesRead(), 8192 + 3586);
    EXPECT_EQ(song.KeptBytes(), song.FileBytesRead());
}

TEST_F(SongBytesTest, OverlappingRangesReadOnlyTheBytesNotYetRead)
{
    SongBytes song;
    ASSERT_TRUE(song.Open(MakeFile(100000)));
    ExpectRange(song, 0, 10);         // the head: [0, 8192)
    ExpectRange(song, 20000, 3458);   // a frame scan after a large tag
    ExpectRange(song, 50000, 3458);   // the second scan, halfway
    ExpectRange(song, 100000 - 128, 3); // the ID3v1 marker widens to the whole block
    EXPECT_EQ(song.FileReads(), 4);
    // A large tag's reach joins the head and the first scan, reading only the gaps.
    ExpectRange(song, 0, 24000);
    ExpectRange(song, 5000, 50000);
    EXPECT_EQ(song.FileBytesRead(), 8192 + 3458 + 3458 + 128 + (20000 - 8192) + (24000 - 23458) + (50000 - 24000) +
                                         (55000 - 53458));
    EXPECT_EQ(song.KeptBytes(), song.FileBytesRead());

    // Everything again, in another order: nothing more is read.
    const std::int64_t reads = song.FileReads();
    for (const auto& [offset, count] : std::vector<std::pair<std::int64_t, std::size_t>>{
             {100000 - 128, 128}, {52000, 1458}, {0, 53458}, {7000, 3000}, {23457, 2}})
        ExpectRange(song, offset, count);
    EXPECT_EQ(song.FileReads(), reads);
}

TEST_F(SongBytesTest, ShortFilesAreReadInOneRead)
{
    SongBytes song;
    ASSERT_TRUE(song.Open(MakeFile(3000)));
    ExpectRange(song, 0, 10);
    ExpectRange(song, 2000, 3458); // past the end: short, like the file itself
    ExpectRange(song, 3000 - 128, 128);
    ExpectRange(song, 3000, 10);   // at the end: nothing
    ExpectRange(song, 9000, 10);
    EXPECT_EQ(song.FileReads(), 1);
    EXPECT_EQ(song.FileBytesRead(), 3000);
}

TEST_F(SongBytesTest, RangesBeyondTheWindowsAreStillServed)
{
    SongBytes song;
    ASSERT_TRUE(song.Open(MakeFile(200000)));
    for (std::int64_t offset = 10000; offset < 190000; offset += 20000)
        ExpectRange(song, offset, 1000);
    for (std::int64_t offset = 10000; offset < 190000; offset += 20000)
        ExpectRange(song, offset + 500, 400);
    ExpectRange(song, 0, 200000);
}

TEST_F(SongBytesTest, AFileThatShrankEndsWhereItsBytesEnd)
{
    SongBytes song;
    const std::string path = MakeFile(40000);
    ASSERT_TRUE(song.Open(path));
    std::filesystem::resize_file(path, 100);
    file_.resize(100);
    std::vector<std::uint8_t> buffer(50);
    EXPECT_EQ(song.ReadAt(0, buffer), 50);
    EXPECT_EQ(song.ReadAt(5000, buffer), 0);
    EXPECT_EQ(song.View(60, 100).size(), 40u);
    EXPECT_FALSE(song.LastReadFailed());
}

TEST_F(SongBytesTest, ASongForOneReaderReadsOnlyWhatItAsks)
{
    SongBytes song;
    ASSERT_TRUE(song.Open(MakeFile(40000), SongBytes::Readers::One));
    ExpectRange(song, 0, 10);
    ExpectRange(song, 4096, 3458);
    ExpectRange(song, 40000 - 128, 3);
    ExpectRange(song, 40000 - 2, 10);
    EXPECT_EQ(song.FileReads(), 4);
    EXPECT_EQ(song.FileBytesRead(), 10 + 3458 + 3 + 2);
    EXPECT_EQ(song.KeptBytes(), 0);

    // A view that continues the last one reads only its new part.
    EXPECT_EQ(song.View(0, 8192).size(), 8192u);
    const std::span<const std::uint8_t> tag = song.View(0, 20000);
    ASSERT_EQ(tag.size(), 20000u);
    EXPECT_TRUE(std::equal(tag.begin(), tag.end(), file_.begin()));
    EXPECT_EQ(song.FileBytesRead(), 10 + 3458 + 3 + 2 + 20000);
}

TEST_F(SongBytesTest, WithoutAnOpenFileEveryReadFails)
{
    SongBytes song;
    EXPECT_FALSE(song.Open(dir_.File("absent.mp3")));
    EXPECT_FALSE(song.Open(dir_.Path())); // a folder is no song file
    EXPECT_FALSE(song.IsOpen());
    EXPECT_EQ(song.Length(), 0);
    std::vector<std::uint8_t> buffer(10);
    EXPECT_EQ(song.ReadAt(0, buffer), -1);
    EXPECT_TRUE(song.View(0, 10).empty());
    EXPECT_TRUE(song.LastReadFailed());

    ASSERT_TRUE(song.Open(MakeFile(1000)));
    EXPECT_EQ(song.ReadAt(-1, buffer), -1);
}

} // namespace
} // namespace io
