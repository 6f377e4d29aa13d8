#include "audio/ID3v1.h"

#include <gtest/gtest.h>

#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

namespace {

using Block = std::array<std::uint8_t, audio::TagV1Size>;

Block TagBlock()
{
    Block block{};
    std::copy_n("TAG", 3, block.begin());
    return block;
}

void Put(Block& block, std::size_t at, std::string_view text)
{
    std::copy(text.begin(), text.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
}

audio::TID3v1 Read(const Block& block)
{
    audio::TID3v1 tag;
    tag.ReadFromBlock(block);
    return tag;
}

TEST(ID3v1Block, VersionFollowsTheTwoBytesBeforeTheGenre)
{
    struct Case { std::uint8_t b125, b126; int version; int track; };
    const Case cases[] = {
        {0, 7, 2, 7},       // zero separator and a track number: 1.1
        {0, 0, 1, 0},       // no track: 1.0
        {' ', 'x', 2, 120}, // blank separator and a non-blank byte: 1.1, track 120
        {' ', ' ', 1, 0},   // two blanks: 1.0
        {'a', 5, 1, 0},     // any other separator: 1.0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.b125) << "/" << int(c.b126));
        Block block = TagBlock();
        Put(block, 97, "Comment text that fills all 3");
        block[125] = c.b125;
        block[126] = c.b126;
        const audio::TID3v1 tag = Read(block);
        EXPECT_TRUE(tag.Exists());
        EXPECT_EQ(tag.VersionID(), c.version);
        EXPECT_EQ(tag.Track(), c.track);
        if (c.version == 2) {
            EXPECT_EQ(tag.Comment(), "Comment text that fills all");  // first 28 bytes, trimmed
        }
    }
}

TEST(ID3v1Block, Version10CommentTakesAll30Bytes)
{
    Block block = TagBlock();
    Put(block, 97, "abcdefghijklmnopqrstuvwxyzABCD");
    Put(block, 93, "1999");
    const audio::TID3v1 tag = Read(block);
    EXPECT_EQ(tag.VersionID(), 1);
    EXPECT_EQ(tag.Comment(), "abcdefghijklmnopqrstuvwxyzABCD");
    EXPECT_EQ(tag.Year(), "1999");
}

TEST(ID3v1Block, TextFieldsLoseOnlyTrailingBlanksAndControlBytes)
{
    Block block = TagBlock();
    Put(block, 3, "  Title");
    std::fill(block.begin() + 10, block.begin() + 33, ' ');  // rest of the title: blanks
    Put(block, 33, std::string_view("Art\0ist\x01\x1F", 9));  // zero byte inside stays
    Put(block, 63, "Alb\xE9 \xA0");                            // bytes from 0x80 up stay
    const audio::TID3v1 tag = Read(block);
    EXPECT_EQ(tag.Title(), "  Title");
    EXPECT_EQ(tag.Artist(), std::string("Art\0ist", 7));
    EXPECT_EQ(tag.Album(), "Alb\xE9 \xA0");
    EXPECT_EQ(tag.Year(), "");
}

TEST(ID3v1Block, OnlyUpperCaseTagMarksATag)
{
    Block block{};
    Put(block, 0, "tagTitle");
    const audio::TID3v1 tag = Read(block);
    EXPECT_FALSE(tag.Exists());
    EXPECT_EQ(tag.Title(), "");
    EXPECT_EQ(tag.GenreID(), 255);
    EXPECT_EQ(tag.VersionID(), 1);
}

TEST(ID3v1Block, GenreNamesComeFromTheTableOf148)
{
    const std::pair<std::uint8_t, std::string> cases[] = {
        {0, "Blues"}, {17, "Rock"}, {92, "Progessive Rock"}, {144, "Trash Metal"},
        {147, "Synthpop"}, {148, ""}, {255, ""}};
    for (const auto& [id, name] : cases) {
        Block block = TagBlock();
        block[127] = id;
        const audio::TID3v1 tag = Read(block);
        EXPECT_EQ(tag.GenreID(), id);
        EXPECT_EQ(tag.Genre(), name) << int(id);
    }
    EXPECT_EQ(audio::TID3v1().Genre(), "");
}

class ID3v1File : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir_.File(name);
        fixtures::WriteFileBytes(path, bytes);
        return path;
    }
    fixtures::ScratchDir dir_{"id3v1"};
};

TEST_F(ID3v1File, ReadsTheLast128Bytes)
{
    std::string bytes(500, 'x');
    std::string tag(128, '\0');
    tag.replace(0, 8, "TAGHello");
    tag[127] = 13;
    audio::TID3v1 reader;
    ASSERT_TRUE(reader.ReadFromFile(Write("tagged.mp3", bytes + tag)));
    EXPECT_TRUE(reader.Exists());
    EXPECT_EQ(reader.Title(), "Hello");
    EXPECT_EQ(reader.Genre(), "Pop");

    // A file of exactly 128 bytes is a tag and nothing else.
    ASSERT_TRUE(reader.ReadFromFile(Write("only.mp3", tag)));
    EXPECT_TRUE(reader.Exists());

    // Without a tag the read succeeds and every value is reset.
    ASSERT_TRUE(reader.ReadFromFile(Write("plain.mp3", bytes)));
    EXPECT_FALSE(reader.Exists());
    EXPECT_EQ(reader.Title(), "");
    EXPECT_EQ(reader.GenreID(), 255);
}

TEST_F(ID3v1File, ShortOrMissingFilesFail)
{
    audio::TID3v1 reader;
    std::string tag(127, '\0');
    tag.replace(0, 3, "TAG");
    EXPECT_FALSE(reader.ReadFromFile(Write("short.mp3", tag)));
    EXPECT_FALSE(reader.Exists());
    EXPECT_FALSE(reader.ReadFromFile(dir_.File("missing.mp3")));
}

} // namespace
