// What a write changes, frame by frame, by value: over tags built byte by byte.
#include "TagBytes.h"
#include "batch/FrameChanges.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace batch {
namespace {

using namespace std::string_literals;
using namespace tagbytes;
using Kind = FrameChange::Kind;

std::vector<id3v2::ListedFrame> Frames(const std::string& tag)
{
    std::vector<id3v2::ListedFrame> frames;
    id3v2::ListFrames(AsBytes(tag), frames);
    return frames;
}

std::vector<FrameChange> Changes(const std::string& before, const std::string& after)
{
    return CompareFrames(Frames(before), Frames(after));
}

TEST(FrameChanges, TheSameTextInAnotherEncodingOrVersionIsNoChange)
{
    const std::string written = Tag(3, FrameV23("TIT2", Latin1("Can\xE7\xE3o")) + FrameV23("TPE1", Latin1("Ana")));
    EXPECT_TRUE(Changes(Tag(4, FrameV24("TIT2", Utf16BigEndian(u"Canção", false).replace(0, 1, "\x02")) +
                                   FrameV24("TPE1", "\x03"s + "Ana")),
                        written)
                    .empty());
    EXPECT_TRUE(Changes(Tag(2, FrameV22("TT2", Utf16LittleEndian(u"Canção")) + FrameV22("TP1", Latin1("Ana\0"s))), written)
                    .empty());
    EXPECT_TRUE(Changes(written, written).empty());
}

TEST(FrameChanges, AddedRemovedAndChangedFramesInTheNewTagsOrderThenTheOldOnes)
{
    const auto changes = Changes(Tag(3, FrameV23("TDRC", Latin1("1998")) + FrameV23("TIT2", Latin1("Angie ")) +
                                            FrameV23("APIC", "\0image/png\0\3\0PNG"s) + FrameV23("TRCK", Latin1("4/12"))),
                                 Tag(3, FrameV23("TIT2", Latin1("Angie")) + FrameV23("TPE1", Latin1("Stones")) +
                                            FrameV23("TRCK", Latin1("4"))));
    ASSERT_EQ(changes.size(), 5u);
    EXPECT_EQ(changes[0].id, "TIT2");
    EXPECT_EQ(changes[0].kind, Kind::Changed);
    EXPECT_EQ(changes[0].before, "\"Angie \"");
    EXPECT_EQ(changes[0].after, "\"Angie\"");
    EXPECT_EQ(changes[1].id, "TPE1");
    EXPECT_EQ(changes[1].kind, Kind::Added);
    EXPECT_EQ(changes[2].id, "TRCK");
    EXPECT_EQ(changes[3].id, "TDRC");
    EXPECT_EQ(changes[3].kind, Kind::Removed);
    EXPECT_EQ(changes[4].id, "APIC");
    EXPECT_EQ(changes[4].before, "picture, 16 bytes");
}

TEST(FrameChanges, CommentsCountTheirLanguageAndDescriptionAndRatingsTheirAddressAndCounter)
{
    const std::string ours = Tag(3, FrameV23("COMM", "\0eng\0Bom"s) + FrameV23("POPM", "\0\xC4"s));
    auto changes = Changes(Tag(3, FrameV23("COMM", "\0por\0Bom"s) + FrameV23("POPM", "a@b\0\xC4\0\0\0\x03"s)), ours);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].before, "(por) \"Bom\"");
    EXPECT_EQ(changes[0].after, "(eng) \"Bom\"");
    EXPECT_EQ(changes[1].before, "rating 196 from \"a@b\", played 3 times");
    EXPECT_EQ(changes[1].after, "rating 196");
    // A comment in UTF-16 with the same language, description and text is the same comment.
    EXPECT_TRUE(Changes(Tag(3, FrameV23("COMM", "\x01"s + "eng" + "\xFF\xFE\0\0"s + Utf16LittleEndian(u"Bom").substr(1)) +
                                   FrameV23("POPM", "\0\xC4"s)),
                        ours)
                    .empty());
}

TEST(FrameChanges, WindowsPunctuationInSingleByteTextReadsAsThePlayersReadIt)
{
    // The file's UTF-8 apostrophe kept as the code page's 0x92: a player reads a control character.
    const auto changes = Changes(Tag(4, FrameV24("TALB", "\x03"s + "d\xE2\x80\x99\xC3\x81gua")),
                                 Tag(3, FrameV23("TALB", Latin1("d\x92\xC1gua"))));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].before, "\"d\xE2\x80\x99\xC3\x81gua\"");
    EXPECT_EQ(changes[0].after, "\"d\\x92\xC3\x81gua\"");
}

TEST(FrameChanges, RepeatedFramesAreComparedInOrder)
{
    const auto changes = Changes(Tag(3, FrameV23("TIT2", Latin1("One")) + FrameV23("TIT2", Latin1("Two"))),
                                 Tag(3, FrameV23("TIT2", Latin1("One"))));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind, Kind::Changed);
    EXPECT_EQ(changes[0].before, "\"Two\"");
    EXPECT_EQ(changes[0].after, "");
}

} // namespace
} // namespace batch
