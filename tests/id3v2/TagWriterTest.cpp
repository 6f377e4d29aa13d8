// Writing tags: the bytes of the frames and the header, and the choice between writing in
// place and rebuilding the file.
#include "id3v2/ID3v2.h"
#include "id3v2/TagBuilder.h"
#include "id3v2/TagParser.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

ino_t InodeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

std::string AsString(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// The tag the builder makes for these values over a file whose tag header is `oldHeader`.
std::string BuiltTag(const TagValues& values, TagPlan& info)
{
    FillFrameData(values, info);
    EXPECT_TRUE(BuildTagHeader(info));
    return AsString(AssembleTag(info));
}

TagValues TitleOnly(std::string title)
{
    TagValues values;
    values.Text[RowTitle] = std::move(title);
    return values;
}

TEST(TagBuilder, FrameLayouts)
{
    TagValues values;
    values.Track = 7;
    values.Text[RowComment] = "Hi";
    values.Text[RowLink] = "http://a";
    values.Rating = 200;
    TagPlan info;
    const std::string tag = BuiltTag(values, info);
    EXPECT_NE(tag.find("TRCK\0\0\0\x02\0\0\0" "7"s), std::string::npos);
    EXPECT_NE(tag.find("COMM\0\0\0\x07\0\0\0" "eng\0Hi"s), std::string::npos);
    EXPECT_NE(tag.find("WXXX\0\0\0\x0A\0\0\0\0" "http://a"s), std::string::npos);
    EXPECT_NE(tag.find("POPM\0\0\0\x02\0\0\0\xC8"s), std::string::npos);

    TagPlan zero;
    EXPECT_NE(BuiltTag(TagValues{}, zero).find("POPM\0\0\0\x02\0\0\0\0"s), std::string::npos);
}

// Windows-1252's punctuation in 0x80-0x9F reads as control characters under the ISO-8859-1 mark:
// such a text goes as UTF-16, little-endian with its byte-order mark, each byte its character.
TEST(TagBuilder, TextThatSingleBytesWouldMisreadIsWrittenAsUtf16)
{
    TagValues values;
    values.Text[RowTitle] = "d\x92\xC1gua";
    values.Text[RowComment] = "\x93x\x94";
    values.Text[RowEncoder] = "\x80\x81\x8D\x8F\x90\x9D";
    values.Text[RowCopyright] = "\x81\x8D\x8F\x90\x9D";   // undefined bytes only: the same either way
    values.Text[RowLanguage] = "Portugu\xEAs";                 // no such character: as before
    values.Text[RowRhythm] = "a\x92" "b\0c"s;                 // a zero byte would end a UTF-16 text
    values.Text[RowLink] = "http://a/\x92";                    // an address is single-byte by the standard
    TagPlan plan;
    const std::string tag = BuiltTag(values, plan);
    EXPECT_NE(tag.find("TIT2\0\0\0\x0F\0\0\x01\xFF\xFE" "d\0\x19\x20\xC1\0g\0u\0a\0"s), std::string::npos);
    EXPECT_NE(tag.find("COMM\0\0\0\x10\0\0\x01" "eng\xFF\xFE\0\0\xFF\xFE\x1C\x20x\0\x1D\x20"s), std::string::npos);
    EXPECT_NE(tag.find("TENC\0\0\0\x0F\0\0\x01\xFF\xFE\xAC\x20\x81\0\x8D\0\x8F\0\x90\0\x9D\0"s), std::string::npos);
    EXPECT_NE(tag.find("TCOP\0\0\0\x06\0\0\0\x81\x8D\x8F\x90\x9D"s), std::string::npos);
    EXPECT_NE(tag.find("TLAN\0\0\0\x0A\0\0\0Portugu\xEAs"s), std::string::npos);
    EXPECT_NE(tag.find("TRIT\0\0\0\x06\0\0\0a\x92" "b\0c"s), std::string::npos);
    EXPECT_NE(tag.find("WXXX\0\0\0\x0C\0\0\0\0http://a/\x92"s), std::string::npos);
}

// A reader keeps 500 bytes of a frame: a text whose UTF-16 frame would be longer stays
// single-byte, so that nothing is cut.
TEST(TagBuilder, Utf16OnlyWhereTheFrameStaysWithinWhatAReaderKeeps)
{
    const auto encodings = [](std::size_t comment, std::size_t title) {
        TagValues values;
        values.Text[RowComment] = "\x92" + std::string(comment - 1, 'c');
        values.Text[RowTitle] = "\x92" + std::string(title - 1, 't');
        TagPlan plan;
        FillFrameData(values, plan);
        return std::pair(plan.FrameEncoding[RowComment], plan.FrameEncoding[RowTitle]);
    };
    EXPECT_EQ(encodings(245, 248), std::pair(std::uint8_t{1}, std::uint8_t{1}));
    EXPECT_EQ(encodings(246, 249), std::pair(std::uint8_t{0}, std::uint8_t{0}));
}

TEST(TagBuilder, FramesInTableOrderAndOnlyThoseWithText)
{
    TagValues values;
    values.Text[RowFrameTPMI] = "last";
    values.Text[RowArtist] = "second";
    values.Text[RowTitle] = "first";
    values.Text[RowFrameTSUC] = "suc";
    TagPlan info;
    const std::string tag = BuiltTag(values, info);
    const std::string frames = FrameV23("TIT2", Latin1("first")) + FrameV23("TPE1", Latin1("second")) + FrameV23("TSUC", Latin1("suc")) +
                               FrameV23("TPMI", Latin1("last")) + FrameV23("POPM", "\0\0"s);
    EXPECT_EQ(tag.substr(10, frames.size()), frames);
    for (const char* absent : {"TRCK", "COMM", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL", "TYER"})
        EXPECT_EQ(tag.find(absent), std::string::npos) << absent;
}

// Kept frames of another program follow the table's, but for its comment, link and rating, which
// come last: a reader that takes the last frame of an ID reads back the catalogue's values.
TEST(TagBuilder, KeptFramesComeBeforeTheTablesCommentLinkAndRating)
{
    TagValues values = TitleOnly("Abc");
    values.Text[RowComment] = "nosso";
    values.Text[RowLink] = "http://a";
    values.Rating = 5;
    const std::string kept = FrameV23("TXXX", "\0gain\0-6 dB"s) + FrameV23("COMM", "\0porx\0deles"s) +
                             FrameV23("WXXX", "\0x\0http://b"s);
    TagPlan info;
    info.OtherFrames = AsBytes(kept);
    const std::string tag = BuiltTag(values, info);
    const std::string frames = FrameV23("TIT2", Latin1("Abc")) + kept + FrameV23("COMM", "\0eng\0nosso"s) +
                               FrameV23("WXXX", "\0\0http://a"s) + FrameV23("POPM", "\0\x05"s);
    EXPECT_EQ(tag.substr(10, frames.size()), frames);
    const ParsedTag read = ParseTag(AsBytes(tag), static_cast<std::int64_t>(tag.size()) + 100);
    EXPECT_EQ(read.Values.Text[RowComment], "nosso");
    EXPECT_EQ(read.Values.Text[RowLink], "http://a");
    EXPECT_EQ(read.Values.Rating, 5);
}

TEST(TagBuilder, NewTagIntoAFileWithoutOne)
{
    TagPlan info;
    info.FileLength = 3000;
    const std::string tag = BuiltTag(TitleOnly("Abc"), info);
    EXPECT_TRUE(info.NeedRewrite);
    EXPECT_EQ(info.PaddingSize, 4060);
    EXPECT_EQ(tag.size(), 4096u);
    EXPECT_EQ(tag.substr(0, 10), "ID3\x03\0\0\0\0\x1F\x76"s);
}

TEST(TagBuilder, OldTagSizesAroundTheInPlaceLimit)
{
    struct Case {
        std::uint32_t oldTotal;
        bool rewrite;
    };
    for (const Case c : {Case{2048, false}, Case{4096, false}, Case{4097, true}, Case{5000, true}, Case{35, true}, Case{36, false}}) {
        TagPlan info;
        info.Header.SetBytes(AsBytes("ID3\x04\0\0"s + Syncsafe(c.oldTotal - 10)));
        info.FileLength = 10000;
        const std::string tag = BuiltTag(TitleOnly("Abc"), info);
        EXPECT_EQ(info.NeedRewrite, c.rewrite) << c.oldTotal;
        EXPECT_EQ(tag.size(), c.rewrite ? 4096u : c.oldTotal) << c.oldTotal;
    }
}

TEST(TagBuilder, FramesLargerThanTheRebuiltSizeGetNoPadding)
{
    TagPlan info;
    const std::string tag = BuiltTag(TitleOnly(std::string(4967, 'x')), info); // 10 + 4978 + 12 = 5000
    EXPECT_TRUE(info.NeedRewrite);
    EXPECT_EQ(info.PaddingSize, -904);
    EXPECT_EQ(tag.size(), 5000u);
    EXPECT_EQ(tag.substr(6, 4), "\0\0\x26\x7E"s);
    EXPECT_EQ(tag.substr(tag.size() - 12), FrameV23("POPM", "\0\0"s));
}

TEST(TagBuilder, RefusesFramesBeyondTheLargestTagSize)
{
    TagPlan info;
    FillFrameData(TitleOnly(std::string(std::size_t{1} << 28, 'x')), info);
    EXPECT_FALSE(BuildTagHeader(info));
    EXPECT_EQ(info.Header.Identifier, (std::array<std::uint8_t, 3>{}));
}

// --- Into files ---------------------------------------------------------------------------

class SaveToFile : public ::testing::Test {
protected:
    std::string WriteSong(const std::string& bytes)
    {
        const std::string path = dir_.File("song.mp3");
        EXPECT_TRUE(fixtures::WriteFileBytes(path, bytes));
        return path;
    }
    static std::string Bytes(const std::string& path) { return AsString(fixtures::ReadFileBytes(path)); }

    fixtures::ScratchDir dir_;
    const std::string audio_ = AudioBytes(3000);
};

TEST_F(SaveToFile, FileWithoutTagIsRebuiltWithAFullTag)
{
    const std::string path = WriteSong(audio_);
    TID3v2 tag;
    tag.SetTitle("Abc");
    ASSERT_TRUE(tag.SaveToFile(path));
    const std::string file = Bytes(path);
    ASSERT_EQ(file.size(), 4096 + audio_.size());
    EXPECT_EQ(file.substr(0, 10), "ID3\x03\0\0\0\0\x1F\x76"s);
    EXPECT_EQ(file.substr(10, 26), FrameV23("TIT2", Latin1("Abc")) + FrameV23("POPM", "\0\0"s));
    EXPECT_EQ(file.substr(36, 4060), std::string(4060, '\0'));
    EXPECT_EQ(file.substr(4096), audio_);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
}

TEST_F(SaveToFile, SmallerTagIsOverwrittenInPlace)
{
    const std::string frames = FrameV24("TIT2", Latin1("Old title")) + FrameV24("APIC", std::string(100, 'p'));
    const std::string old = Tag(4, frames, 2048 - 10 - frames.size());
    const std::string path = WriteSong(old + audio_);
    const ino_t inode = InodeOf(path);
    TID3v2 tag;
    tag.SetTitle("Abc");
    ASSERT_TRUE(tag.SaveToFile(path));
    const std::string file = Bytes(path);
    ASSERT_EQ(file.size(), old.size() + audio_.size());
    EXPECT_EQ(file.substr(0, 10), "ID3\x03\0\0\0\0\x0F\x76"s);
    EXPECT_EQ(file.substr(36, 2012), std::string(2012, '\0'));
    EXPECT_EQ(file.substr(2048), audio_);
    EXPECT_EQ(InodeOf(path), inode); // the same file, not a copy
}

TEST_F(SaveToFile, FramesThatFillTheOldTagExactlyLeaveNoPadding)
{
    const std::string frames = FrameV23("TIT2", Latin1("Abc")) + FrameV23("POPM", "\0\x05"s);
    const std::string path = WriteSong(Tag(3, std::string(frames.size(), 'z')) + audio_);
    TID3v2 tag;
    tag.SetTitle("Abc");
    tag.SetRating(5);
    ASSERT_TRUE(tag.SaveToFile(path));
    EXPECT_EQ(Bytes(path), Tag(3, frames) + audio_);
}

TEST_F(SaveToFile, LargeOldTagIsReplacedByA4096ByteTag)
{
    const std::string path = WriteSong(Tag(3, FrameV23("TIT2", Latin1("Old")), 5000 - 10 - 14) + audio_);
    TID3v2 tag;
    tag.SetTitle("Abc");
    ASSERT_TRUE(tag.SaveToFile(path));
    const std::string file = Bytes(path);
    EXPECT_EQ(file.size(), 5000 + audio_.size() - 904);
    EXPECT_EQ(file.substr(4096), audio_);
}

TEST_F(SaveToFile, HeaderWhoseSizePointsPastTheEndIsKeptBehindTheNewTag)
{
    const std::string old = "ID3\x03\0\0"s + Syncsafe(50000) + audio_;
    const std::string path = WriteSong(old);
    TID3v2 tag;
    tag.SetTitle("Abc");
    ASSERT_TRUE(tag.SaveToFile(path));
    const std::string file = Bytes(path);
    EXPECT_EQ(file.substr(0, 4), "ID3\x03");
    EXPECT_EQ(file.substr(4096), old);
}

TEST_F(SaveToFile, OldTagsOfOtherVersionsBecomeVersion23InPlace)
{
    // A version 2.4 tag with an extended header and a footer, and a version 2.2 tag.
    const std::string v24Body = Syncsafe(6) + "\x01\0"s + FrameV24("TIT2", Latin1("Old"));
    const std::string v24 = Tag(4, v24Body, 300, 0x50) + "3DI\x04\0\x50"s + Syncsafe(static_cast<std::uint32_t>(v24Body.size() + 300));
    const std::string v22 = Tag(2, FrameV22("TT2", Latin1("Old")), 300);
    for (const std::string& old : {v24, v22}) {
        const std::string path = WriteSong(old + audio_);
        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_EQ(tag.Title(), "Old");
        tag.SetArtist("New");
        ASSERT_TRUE(tag.SaveToFile(path));
        const std::string file = Bytes(path);
        ASSERT_EQ(file.size(), old.size() + audio_.size());
        EXPECT_EQ(file.substr(0, 6), "ID3\x03\0\0"s);
        EXPECT_EQ(file.substr(old.size()), audio_);
        TID3v2 again;
        ASSERT_TRUE(again.ReadFromFile(path));
        EXPECT_EQ(again.TagSize(), static_cast<std::int32_t>(old.size()));
        EXPECT_EQ(again.Title(), "Old");
        EXPECT_EQ(again.Artist(), "New");
    }
}

TEST_F(SaveToFile, RewriteKeepsOnlyTableFramesWithText)
{
    const std::string path = WriteSong(Tag(3, FrameV23("TIT2", Latin1("T")) + FrameV23("TDRC", Latin1("1999-01-01")) + FrameV23("TOPE", Latin1("A")) +
                                                  FrameV23("TIT1", Latin1("G")) + FrameV23("TOAL", Latin1("B")) + FrameV23("TSUC", Latin1("suc")) +
                                                  FrameV23("APIC", "picture") + FrameV23("TRCK", Latin1("0")) + FrameV23("POPM", "x@y\0\x2A"s),
                                              500) +
                                       audio_);
    TID3v2 tag;
    ASSERT_TRUE(tag.ReadFromFile(path));
    ASSERT_TRUE(tag.SaveToFile(path));
    const std::string file = Bytes(path);
    const std::string frames = FrameV23("TIT2", Latin1("T")) + FrameV23("TPE1", Latin1("A")) + FrameV23("TALB", Latin1("B")) +
                               FrameV23("TYER", Latin1("1999")) + FrameV23("TSUC", Latin1("suc")) + FrameV23("POPM", "\0\x2A"s);
    EXPECT_EQ(file.substr(10, frames.size()), frames);
    EXPECT_EQ(file.find_first_not_of('\0', 10 + frames.size()), file.size() - audio_.size());
}

TEST_F(SaveToFile, LeavesTheObjectsValuesAsTheyWere)
{
    const std::string path = WriteSong(audio_);
    TID3v2 tag;
    tag.SetTitle("  Abc\t");
    tag.SetComment("\xA0" "c\xA0");
    tag.SetTrack(12);
    const TagValues before = tag.Values();
    ASSERT_TRUE(tag.SaveToFile(path));
    EXPECT_EQ(tag.Values().Text, before.Text);
    EXPECT_EQ(tag.Title(), "Abc");
    EXPECT_EQ(tag.Comment(), "\xA0" "c\xA0");
    TID3v2 again;
    ASSERT_TRUE(again.ReadFromFile(path));
    EXPECT_EQ(again.Comment(), "\xA0" "c\xA0");
    EXPECT_EQ(again.Track(), 12);
}

TEST(TID3v2, NewAndResetObjectsAreEmptyAndSettersTrim)
{
    TID3v2 tag;
    EXPECT_FALSE(tag.TagFound());
    EXPECT_EQ(tag.MajorVersion(), 0);
    EXPECT_EQ(tag.TagSize(), 0);
    EXPECT_EQ(tag.Values().Text, TagValues{}.Text);
    tag.SetTitle("  Abc\t");
    tag.SetArtist(" \x01\x1F ");
    tag.SetAlbum("A b\xA0");
    tag.SetTrack(65535);
    tag.SetRating(255);
    EXPECT_EQ(tag.Title(), "Abc");
    EXPECT_EQ(tag.Artist(), "");
    EXPECT_EQ(tag.Album(), "A b\xA0");
    EXPECT_EQ(tag.Track(), 65535);
    EXPECT_EQ(tag.Rating(), 255);
    tag.ResetData();
    EXPECT_EQ(tag.Title(), "");
    EXPECT_EQ(tag.Track(), 0);
    EXPECT_EQ(tag.Rating(), 0);
}

} // namespace
} // namespace id3v2
