// Reading tags of version 2.2, 2.3 and 2.4: the frame scan, the values it gives and the rating.
#include "id3v2/FrameScanner.h"
#include "id3v2/FrameValues.h"
#include "id3v2/ID3v2.h"
#include "id3v2/TagParser.h"
#include "id3v2/TextDecoding.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

// Parses the bytes of a whole file from memory.
ParsedTag Parse(const std::string& file)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    return ParseTag(std::span(bytes, file.size()), static_cast<std::int64_t>(file.size()));
}

std::string TagV23(const std::string& frames, std::size_t padding = 32)
{
    return Tag(3, frames, padding) + AudioBytes(600);
}

TEST(TagReader, FileWithoutTag)
{
    const ParsedTag tag = Parse(AudioBytes(1000));
    EXPECT_FALSE(tag.TagFound);
    EXPECT_EQ(tag.MajorVersion, 0);
    EXPECT_EQ(tag.TagSize, 0);
    EXPECT_EQ(tag.Values.Text, TagValues{}.Text);
}

TEST(TagReader, TextFramesAndTheirFallbacks)
{
    const ParsedTag tag = Parse(TagV23(FrameV23("TIT2", "\0Abc\0"s) + FrameV23("TPE1", "") + FrameV23("TOPE", Latin1("Orig Artist")) +
                                       FrameV23("TOAL", Latin1("Orig Album")) + FrameV23("TIT1", Latin1("Group")) +
                                       FrameV23("TDRC", Latin1("1998-05-01")) + FrameV23("TCOM", Latin1("Composer")) +
                                       FrameV23("TPMI", Latin1(" pmi "))));
    EXPECT_TRUE(tag.TagFound);
    EXPECT_EQ(tag.MajorVersion, 3);
    const auto& text = tag.Values.Text;
    EXPECT_EQ(text[RowTitle], "Abc");
    EXPECT_EQ(text[RowArtist], "Orig Artist"); // TPE1 empty
    EXPECT_EQ(text[RowAlbum], "Orig Album");   // TALB absent
    EXPECT_EQ(text[RowYear], "1998");
    EXPECT_EQ(text[RowComposer], "Composer");
    EXPECT_EQ(text[RowFrameTPMI], "pmi");
    EXPECT_EQ(text[RowRecordingDate], ""); // fallback rows feed no value of their own
}

TEST(TagReader, EveryTextRowFeedsItsValue)
{
    std::string frames;
    for (std::size_t row = RowRhythm; row <= RowFrameTPMI; ++row)
        frames += FrameV23(FrameIdsV23[row], Latin1("v" + std::to_string(row)));
    frames += FrameV23("TRCK", Latin1("3/12")) + FrameV23("TCON", Latin1("(17)Rock")) + FrameV23("COMM", "\0eng\0Hi"s) +
              FrameV23("WXXX", "\0\0http://x.y"s) + FrameV23("TENC", Latin1("enc")) + FrameV23("TCOP", Latin1("(c)")) +
              FrameV23("TLAN", Latin1("por")) + FrameV23("TYER", Latin1("2001"));
    const ParsedTag tag = Parse(TagV23(frames));
    for (std::size_t row = RowRhythm; row <= RowFrameTPMI; ++row)
        EXPECT_EQ(tag.Values.Text[row], "v" + std::to_string(row)) << FrameIdsV23[row];
    EXPECT_EQ(tag.Values.Track, 3);
    EXPECT_EQ(tag.Values.Text[RowGenre], "Rock");
    EXPECT_EQ(tag.Values.Text[RowComment], "Hi");
    EXPECT_EQ(tag.Values.Text[RowLink], "http://x.y");
    EXPECT_EQ(tag.Values.Text[RowEncoder], "enc");
    EXPECT_EQ(tag.Values.Text[RowCopyright], "(c)");
    EXPECT_EQ(tag.Values.Text[RowLanguage], "por");
    EXPECT_EQ(tag.Values.Text[RowYear], "2001");
}

TEST(TagReader, TextInUtf16EitherByteOrderAndInUtf8)
{
    const ParsedTag tag = Parse(Tag(4, FrameV24("TIT2", Utf16LittleEndian(u"T\u00EDtulo")) + FrameV24("TPE1", Utf16BigEndian(u"Art\u00EA")) +
                                           FrameV24("TALB", "\x02\0A\0l\0b"s) + FrameV24("TCOM", "\x03Jo\xC3\xA3o"s) +
                                           FrameV24("COMM", "\x01" "eng" "\xFF\xFE" "d\0" "\0\0" "\xFF\xFE" "H\0i\0"s)) +
                                AudioBytes(100));
    EXPECT_EQ(tag.Values.Text[RowTitle], "T\xEDtulo");
    EXPECT_EQ(tag.Values.Text[RowArtist], "Art\xEA");
    EXPECT_EQ(tag.Values.Text[RowAlbum], "Alb");
    EXPECT_EQ(tag.Values.Text[RowComposer], "Jo\xE3o");
    EXPECT_EQ(tag.Values.Text[RowComment], "Hi");
}

TEST(TagReader, FrameDataIsCutAt500BytesAndSizeZeroReplacesAnEarlierFrame)
{
    const ParsedTag tag = Parse(TagV23(FrameV23("TIT2", Latin1(std::string(598, 'a') + "b")) + FrameV23("TPE1", Latin1("First")) +
                                       FrameV23("TPE1", "") + FrameV23("TALB", Latin1("Album"))));
    EXPECT_EQ(tag.Values.Text[RowTitle], std::string(499, 'a'));
    EXPECT_EQ(tag.Values.Text[RowArtist], "");
    EXPECT_EQ(tag.Values.Text[RowAlbum], "Album");
}

TEST(TagReader, SizeFieldOfAllOnesReadsAtMost500BytesAndEndsTheScan)
{
    std::string frames = FrameV23WithSize("TIT2", 0xFFFFFFFF, Latin1("Abc")) + std::string(600, '\0');
    frames += FrameV23("TPE1", Latin1("Never read"));
    const ParsedTag tag = Parse(TagV23(frames));
    EXPECT_EQ(tag.Values.Text[RowTitle], "Abc");
    EXPECT_EQ(tag.Values.Text[RowArtist], "");
}

TEST(TagReader, FrameRunningPastTheFileEndIsNotStored)
{
    std::string file = TagV23(FrameV23("TIT2", Latin1("Kept")) + FrameV23WithSize("TPE1", 4000, Latin1("Cut")), 0);
    EXPECT_TRUE(Parse(file).Values.Text[RowArtist].starts_with("Cut")); // its first 500 bytes are in the file
    file.resize(file.size() - 500); // now they are not
    const ParsedTag tag = Parse(file);
    EXPECT_EQ(tag.Values.Text[RowTitle], "Kept");
    EXPECT_EQ(tag.Values.Text[RowArtist], "");
}

TEST(TagReader, CompressedAndEncryptedFramesAreNotStored)
{
    const ParsedTag v3 = Parse(TagV23(FrameV23("TIT2", "x\x9c" "garbage"s, 0x80) + FrameV23("TIT1", Latin1("Group")) +
                                      FrameV23("TPE1", Latin1("enc"), 0x40) + FrameV23("TALB", Latin1("Album"))));
    EXPECT_EQ(v3.Values.Text[RowTitle], "Group");
    EXPECT_EQ(v3.Values.Text[RowArtist], "");
    EXPECT_EQ(v3.Values.Text[RowAlbum], "Album");

    const ParsedTag v4 = Parse(Tag(4, FrameV24("TIT2", "\0\0\0\x10x\x9c"s, 0x09) + FrameV24("TPE1", "\0\0\0\x04" "\0Art"s, 0x01)) + AudioBytes(10));
    EXPECT_EQ(v4.Values.Text[RowTitle], "");
    EXPECT_EQ(v4.Values.Text[RowArtist], "Art"); // after its data length indicator
}

TEST(TagReader, Version24FrameSizesAreSyncsafe)
{
    // 200 data bytes: syncsafe 00 00 01 48, which read as a plain number would be 328.
    const std::string title = Latin1(std::string(199, 't'));
    const ParsedTag tag = Parse(Tag(4, FrameV24("TIT2", title) + FrameV24("TPE1", Latin1("After"))) + AudioBytes(10));
    EXPECT_EQ(tag.Values.Text[RowTitle], std::string(199, 't'));
    EXPECT_EQ(tag.Values.Text[RowArtist], "After");
}

TEST(TagReader, ExtendedHeadersAreSkipped)
{
    const std::string frames = FrameV23("TIT2", Latin1("Title"));
    const std::string v3 = Tag(3, BigEndian32(6) + std::string(6, '\0') + frames, 20, 0x40) + AudioBytes(10);
    EXPECT_EQ(Parse(v3).Values.Text[RowTitle], "Title");

    const std::string v4 = Tag(4, Syncsafe(6) + "\x01\x00"s + FrameV24("TIT2", Latin1("Title")), 20, 0x40) + AudioBytes(10);
    EXPECT_EQ(Parse(v4).Values.Text[RowTitle], "Title");

    // The flag set without an extended header: the frames start right after the header.
    const std::string flagOnly = Tag(3, frames, 20, 0x40) + AudioBytes(10);
    EXPECT_EQ(Parse(flagOnly).Values.Text[RowTitle], "Title");
}

TEST(TagReader, UnsynchronisationIsUndoneAsAStandardReaderUndoesIt)
{
    // Version 2.3, the whole tag: a UTF-16 TLEN whose mark FE FF took a zero byte after its FF,
    // with an odd number of bytes, then the values; sizes count the undone bytes.
    const std::string frames = FrameV23("TLEN", "\x01\xFE\xFF\0" "2\0" "3\0" "4"s) + FrameV23("TPE1", Latin1("Alexander Hacke")) +
                               FrameV23("TALB", Latin1("Album")) + FrameV23("TRCK", Latin1("7")) + FrameV23("TYER", Latin1("1993"));
    ASSERT_NE(Unsynchronised(frames), frames);
    const ParsedTag v23 = Parse(Tag(3, Unsynchronised(frames), 16, 0x80) + AudioBytes(600));
    EXPECT_EQ(v23.Values.Text[RowArtist], "Alexander Hacke");
    EXPECT_EQ(v23.Values.Text[RowAlbum], "Album");
    EXPECT_EQ(v23.Values.Text[RowYear], "1993");
    EXPECT_EQ(v23.Values.Track, 7);
    EXPECT_EQ(v23.Values.Text[RowRhythm], "") << "no frame read across two";
    // Version 2.2 alike.
    const ParsedTag v22 = Parse(Tag(2, Unsynchronised(FrameV22("TP1", Latin1("\xFF\xE0")) + FrameV22("TAL", Latin1("A"))), 8, 0x80) +
                                AudioBytes(600));
    EXPECT_EQ(v22.Values.Text[RowArtist], "\xFF\xE0");
    EXPECT_EQ(v22.Values.Text[RowAlbum], "A");

    // Version 2.4, frame by frame (its own flag, or the tag's), with a data length indicator.
    const std::string title = Latin1("x\xFF\xE0y");
    const ParsedTag v24 = Parse(Tag(4, FrameV24("TIT2", Syncsafe(static_cast<std::uint32_t>(title.size())) + Unsynchronised(title), 0x03) +
                                           FrameV24("TALB", Latin1("plain"))) + AudioBytes(600));
    EXPECT_EQ(v24.Values.Text[RowTitle], "x\xFF\xE0y");
    EXPECT_EQ(v24.Values.Text[RowAlbum], "plain");
    const ParsedTag whole = Parse(Tag(4, FrameV24("TPE1", Unsynchronised(Latin1("a\xFF\xE0"))), 0, 0x80) + AudioBytes(600));
    EXPECT_EQ(whole.Values.Text[RowArtist], "a\xFF\xE0");
}

TEST(TagReader, Version22Tags)
{
    const ParsedTag tag = Parse(Tag(2, FrameV22("TT2", Latin1("Title")) + FrameV22("TOR", Latin1("1987")) + FrameV22("TRI", Latin1("Samba")) +
                                           FrameV22("TRK", Latin1("5")) + FrameV22("POP", "\0\x33"s)) +
                                AudioBytes(10));
    EXPECT_EQ(tag.MajorVersion, 2);
    EXPECT_EQ(tag.Values.Text[RowTitle], "Title");
    EXPECT_EQ(tag.Values.Text[RowYear], "1987");
    EXPECT_EQ(tag.Values.Text[RowRhythm], "Samba");
    EXPECT_EQ(tag.Values.Text[RowFrameTRFI], "Samba");
    EXPECT_EQ(tag.Values.Track, 5);
    EXPECT_EQ(tag.Values.Rating, 0x33);
}

TEST(TagReader, OtherVersionsAndSizesBeyondTheFileGiveNoValues)
{
    const std::string v5Tag = Tag(5, FrameV23("TIT2", Latin1("Title")) + FrameV23("POPM", "\0\x07"s));
    const ParsedTag v5 = Parse(v5Tag + AudioBytes(10));
    EXPECT_TRUE(v5.TagFound);
    EXPECT_EQ(v5.MajorVersion, 5);
    EXPECT_EQ(v5.TagSize, static_cast<std::int32_t>(v5Tag.size()));
    EXPECT_EQ(v5.Values.Text[RowTitle], "");
    EXPECT_EQ(v5.Values.Rating, 0);

    std::string beyond = Tag(3, FrameV23("TIT2", Latin1("Title")), 100);
    beyond.resize(beyond.size() - 50);
    const ParsedTag cut = Parse(beyond);
    EXPECT_TRUE(cut.TagFound);
    EXPECT_EQ(cut.TagSize, 0);
    EXPECT_EQ(cut.Values.Text[RowTitle], "");
}

TEST(TagReader, KeptFrameDataReadsLikeAZeroFilled500ByteBuffer)
{
    // Odd UTF-16 lengths, descriptions without a terminator at either parity, short popularimeters:
    // the kept data ends in zero bytes as a zero-filled 500-byte buffer would. Without a
    // terminator the description runs to the data's end, so no comment or link text follows it.
    struct Case {
        std::string data;
        std::string title;
    };
    const Case cases[] = {
        {"\x01\xFF\xFE" "A\0b"s, "Ab"},    // the odd last byte completes its unit with a zero
        {"\x02\0A\0"s, "A"},                // UTF-16 big-endian without a byte order mark
        {"\0engabc"s, "engabc"},
        {"\x01" "eng\xFF\xFEx"s, "???"},    // no byte order mark first: units outside the code page
        {"\x01" "eng\xFF\xFE" "x\0"s, "???"},
        {"\x01\xFF\xFEs"s, "s"},
        {"\x01\xFF\xFEs\0i"s, "si"},
        {"\0"s, ""},
        {""s, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.data));
        const TagValues values = Parse(TagV23(FrameV23("TIT2", c.data) + FrameV23("COMM", c.data) + FrameV23("WXXX", c.data))).Values;
        EXPECT_EQ(values.Text[RowTitle], c.title);
        EXPECT_EQ(values.Text[RowComment], "");
        EXPECT_EQ(values.Text[RowLink], "");
    }
    // A popularimeter of one byte, or none, is kept: its rating is 0 and the complete parse,
    // which would take the first frame's 9, is not asked.
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "a@b\0\x09"s) + FrameV23("POPM", "\0"s))).Values.Rating, 0);
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "a@b\0\x09"s) + FrameV23("POPM", ""))).Values.Rating, 0);
}

TEST(TagReader, StoreFrameAcceptsTextEncodingsAndKeepsThePopularimeterRule)
{
    FrameScan info;
    info.Header.MajorVersion = 3;
    std::string data(500, '\0');
    for (const char encoding : {'\x00', '\x01', '\x02', '\x03'}) {
        data[0] = encoding;
        info.FrameData = {};
        StoreFrame("TIT2", data, info);
        StoreFrame("POPM", data, info);
        EXPECT_EQ(info.FrameData[RowTitle], data);
        EXPECT_EQ(info.FrameData[RowRating].empty(), encoding > 1);
    }
    data[0] = '\x04';
    info.FrameData = {};
    StoreFrame("TIT2", data, info);
    EXPECT_TRUE(info.FrameData[RowTitle].empty());
}

// --- The rating ---------------------------------------------------------------------------

TEST(Rating, PopularimeterWrittenByUsGivesItsSecondByte)
{
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "\0\xC8"s))).Values.Rating, 200);
    EXPECT_EQ(Parse(TagV23(FrameV23("TIT2", Latin1("x")))).Values.Rating, 0);
}

TEST(Rating, PopularimeterWithAnAddressComesFromTheCompleteParse)
{
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "me@example.org\0\x05\0\0\0\x09"s))).Values.Rating, 5);
    // Of two frames, the scan keeps the one without an address.
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "a@b\0\x0A"s) + FrameV23("POPM", "\0\x14"s))).Values.Rating, 20);
    // Both with addresses: the first one's rating.
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", "a@b\0\x0A"s) + FrameV23("POPM", "c@d\0\x14"s))).Values.Rating, 10);
}

TEST(Rating, CompleteParseReadsWhatTheScanPassesOver)
{
    // A version 2.2 popularimeter with an address.
    EXPECT_EQ(Parse(Tag(2, FrameV22("POP", "x@y\0\x2A"s)) + AudioBytes(10)).Values.Rating, 42);
    // A compressed frame: decompressed size, then zlib data of "a@b", 0, rating 7, counter 1.
    const std::string compressed = "\0\0\0\x09\x78\x9c\x4b\x74\x48\x62\x60\x67\x60\x60\x60\x04\x00\x08\x44\x01\x0c"s;
    EXPECT_EQ(Parse(TagV23(FrameV23("POPM", compressed, 0x80))).Values.Rating, 7);
    // Behind the point where the scan stopped (a frame ID that is no upper-case letter).
    EXPECT_EQ(Parse(TagV23(FrameV23("TIT2", Latin1("t")) + FrameV23("1XYZ", "x") + FrameV23("POPM", "\0\x0B"s))).Values.Rating, 11);
}

TEST(Rating, NoRatingWithoutAReadableTag)
{
    EXPECT_EQ(Parse(Tag(5, FrameV23("POPM", "a@b\0\x05"s)) + AudioBytes(10)).Values.Rating, 0);
    EXPECT_EQ(Parse(AudioBytes(100)).Values.Rating, 0);
}

// --- The file side ------------------------------------------------------------------------

class ReadFromFile : public ::testing::Test {
protected:
    fixtures::ScratchDir dir_;
};

TEST_F(ReadFromFile, ReadsTheTagAtTheFileStart)
{
    const std::string path = dir_.File("song.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(path, TagV23(FrameV23("TIT2", Latin1("Title")) + FrameV23("POPM", "\0\x07"s), 4000)));
    TID3v2 tag;
    ASSERT_TRUE(tag.ReadFromFile(path));
    EXPECT_TRUE(tag.TagFound());
    EXPECT_EQ(tag.MajorVersion(), 3);
    EXPECT_EQ(tag.TagSize(), 10 + 16 + 12 + 4000);
    EXPECT_EQ(tag.Title(), "Title");
    EXPECT_EQ(tag.Rating(), 7);
}

TEST_F(ReadFromFile, ReadsLargeTagsWhole)
{
    // A picture-sized frame first, the text frames far behind it, and a rating only the
    // complete parse finds.
    const std::string path = dir_.File("large.mp3");
    const std::string frames = FrameV23("APIC", std::string(300000, '\x55')) + FrameV23("TIT2", Latin1("Late")) + FrameV23("POPM", "a@b\0\x09"s);
    ASSERT_TRUE(fixtures::WriteFileBytes(path, TagV23(frames, 100)));
    TID3v2 tag;
    ASSERT_TRUE(tag.ReadFromFile(path));
    EXPECT_EQ(tag.Title(), "Late");
    EXPECT_EQ(tag.Rating(), 9);
}

TEST_F(ReadFromFile, ScanMayReadFrameDataBeyondTheTagEnd)
{
    // The last frame's size runs past the tag into the audio; its first bytes are still read.
    const std::string path = dir_.File("overrun.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(path, Tag(3, FrameV23WithSize("TIT2", 300, Latin1("Ab"))) + "Cd" + std::string(296, '\0') + AudioBytes(5000)));
    TID3v2 tag;
    ASSERT_TRUE(tag.ReadFromFile(path));
    EXPECT_EQ(tag.Title(), "AbCd");
}

TEST_F(ReadFromFile, ShortOrMissingFilesFail)
{
    const std::string path = dir_.File("five.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(path, std::string("ID3\x03\x00", 5)));
    TID3v2 tag;
    tag.SetTitle("old");
    EXPECT_FALSE(tag.ReadFromFile(path));
    EXPECT_EQ(tag.Title(), "");
    EXPECT_FALSE(tag.ReadFromFile(dir_.File("missing.mp3")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("missing.mp3")));
    EXPECT_FALSE(tag.ReadFromFile(dir_.Path())); // a folder
}

TEST_F(ReadFromFile, ReplacesEveryValueOfAnEarlierRead)
{
    const std::string first = dir_.File("first.mp3");
    const std::string second = dir_.File("second.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(first, TagV23(FrameV23("TIT2", Latin1("One")) + FrameV23("TRCK", Latin1("4")) + FrameV23("POPM", "\0\x01"s))));
    ASSERT_TRUE(fixtures::WriteFileBytes(second, AudioBytes(2000)));
    TID3v2 tag;
    ASSERT_TRUE(tag.ReadFromFile(first));
    ASSERT_TRUE(tag.ReadFromFile(second));
    EXPECT_FALSE(tag.TagFound());
    EXPECT_EQ(tag.Title(), "");
    EXPECT_EQ(tag.Track(), 0);
    EXPECT_EQ(tag.Rating(), 0);
}

} // namespace
} // namespace id3v2
