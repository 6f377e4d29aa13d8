// The complete parse for the popularimeter's rating, over byte-literal tags that spell out every
// field. Where TagLib (the independent reader) reads a tag right, it must give the same rating;
// where it does not, the comment says what it reads instead.
#include "TagBytes.h"
#include "id3v2/Popularimeter.h"

#include <gtest/gtest.h>

#include <taglib/id3v2tag.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include <string>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

std::uint8_t Rating(const std::string& tag)
{
    return PopularimeterRating(AsBytes(tag));
}

// TagLib's reading of the first POPM of the same bytes, or -1 when it finds none.
class MemoryFile final : public TagLib::File {
public:
    explicit MemoryFile(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

int TagLibRating(const std::string& tag)
{
    TagLib::ByteVectorStream stream(TagLib::ByteVector(tag.data(), static_cast<unsigned>(tag.size())));
    MemoryFile file(&stream);
    const TagLib::ID3v2::Tag parsed(&file, 0);
    const TagLib::ID3v2::FrameList& frames = parsed.frameList("POPM");
    if (frames.isEmpty())
        return -1;
    const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frames.front());
    return popm ? popm->rating() : -1;
}

// A popularimeter with an e-mail address, the rating and a 4-byte play counter.
std::string Popm(std::uint8_t rating)
{
    return "rater@example.org\0"s + static_cast<char>(rating) + "\0\0\0\x05"s;
}

const std::string kTitle23 = FrameV23("TIT2", "\0Abc"s);

TEST(PopularimeterRating, PlainFramesOfEachVersion)
{
    EXPECT_EQ(Rating(Tag(3, kTitle23 + FrameV23("POPM", Popm(196)))), 196);
    EXPECT_EQ(TagLibRating(Tag(3, kTitle23 + FrameV23("POPM", Popm(196)))), 196);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", Popm(64)))), 64);
    EXPECT_EQ(TagLibRating(Tag(4, FrameV24("POPM", Popm(64)))), 64);
    // Version 2.2: 3-letter IDs and 24-bit sizes (TagLib reads POP as POPM too).
    EXPECT_EQ(Rating(Tag(2, FrameV22("TT2", "\0Abc"s) + FrameV22("POP", Popm(128)))), 128);
    EXPECT_EQ(TagLibRating(Tag(2, FrameV22("TT2", "\0Abc"s) + FrameV22("POP", Popm(128)))), 128);
    // The first popularimeter counts, whatever its address.
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", Popm(10)) + FrameV23("POPM", "\0\x14"s))), 10);
}

TEST(PopularimeterRating, Version23ExtendedHeaderHasAPlainSizeThatLeavesItselfOut)
{
    // Size 6 (flags 00 00, padding size 00 00 00 00), then the frames.
    const std::string plain = "\0\0\0\x06" "\0\0" "\0\0\0\0"s;
    EXPECT_EQ(Rating(Tag(3, plain + kTitle23 + FrameV23("POPM", Popm(200)), 0, 0x40)), 200);
    // With its CRC: size 10, flags 80 00, padding size, then the 4 CRC bytes.
    const std::string withCrc = "\0\0\0\x0A" "\x80\0" "\0\0\0\0" "\x12\x34\x56\x78"s;
    EXPECT_EQ(Rating(Tag(3, withCrc + FrameV23("POPM", Popm(201)), 0, 0x40)), 201);
    // A size of 0x80 or more is read as the plain number it is: 0x80 bytes of extended header.
    const std::string large = "\0\0\0\x80"s + std::string(0x80, '\0');
    EXPECT_EQ(Rating(Tag(3, large + FrameV23("POPM", Popm(202)), 0, 0x40)), 202);
    // TagLib reads this size as syncsafe and so skips the wrong number of bytes.
    EXPECT_NE(TagLibRating(Tag(3, large + FrameV23("POPM", Popm(202)), 0, 0x40)), 202);
}

TEST(PopularimeterRating, Version24ExtendedHeaderHasASyncsafeSizeThatCountsItself)
{
    // Size 6, one flag byte, no flags.
    const std::string plain = "\0\0\0\x06" "\x01" "\x00"s;
    EXPECT_EQ(Rating(Tag(4, plain + FrameV24("POPM", Popm(50)), 0, 0x40)), 50);
    EXPECT_EQ(TagLibRating(Tag(4, plain + FrameV24("POPM", Popm(50)), 0, 0x40)), 50);
    // With a CRC: size 12, one flag byte, flag 0x20, then its data (length 5, a syncsafe CRC).
    const std::string withCrc = "\0\0\0\x0C" "\x01" "\x20" "\x05" "\x01\x02\x03\x04\x05"s;
    EXPECT_EQ(Rating(Tag(4, withCrc + FrameV24("POPM", Popm(51)), 0, 0x40)), 51);
    // A size that is no syncsafe number, or one beyond the tag: no rating.
    EXPECT_EQ(Rating(Tag(4, "\0\0\0\x86\x01\x00"s + FrameV24("POPM", Popm(52)), 0, 0x40)), 0);
    EXPECT_EQ(Rating(Tag(4, "\0\0\x7F\x7F\x01\x00"s + FrameV24("POPM", Popm(53)), 0, 0x40)), 0);
}

TEST(PopularimeterRating, TagUnsynchronisationIsUndoneOverTheWholeTagOf23And22)
{
    // Rating 0xFF followed by a counter byte 0xE5: the writer puts a zero byte between them.
    const std::string popm = "a@b\0\xFF\xE5\0\0\0"s;
    const std::string body = FrameV23("POPM", popm);
    ASSERT_NE(Unsynchronised(body), body);
    EXPECT_EQ(Rating(Tag(3, Unsynchronised(body), 0, 0x80)), 255);
    EXPECT_EQ(TagLibRating(Tag(3, Unsynchronised(body), 0, 0x80)), 255);
    // The same bytes not flagged as unsynchronised are read as they stand: the rating is still
    // the byte after the address, and the inserted zero byte counts as part of the counter.
    EXPECT_EQ(Rating(Tag(3, Unsynchronised(body), 0, 0x00)), 255);
    // A frame before it whose data holds 0xFF 0xE0 grows by one byte: only with the zero byte
    // removed does the popularimeter start where the first frame's size says.
    const std::string grown = FrameV23("TIT2", "\0\xFF\xE0x"s) + FrameV23("POPM", Popm(77));
    EXPECT_EQ(Rating(Tag(3, Unsynchronised(grown), 0, 0x80)), 77);
    EXPECT_EQ(TagLibRating(Tag(3, Unsynchronised(grown), 0, 0x80)), 77);
    EXPECT_EQ(Rating(Tag(3, Unsynchronised(grown), 0, 0x00)), 0);
    const std::string body22 = FrameV22("POP", popm);
    EXPECT_EQ(Rating(Tag(2, Unsynchronised(body22), 0, 0x80)), 255);
}

TEST(PopularimeterRating, Version24UnsynchronisationIsUndonePerFrame)
{
    const std::string popm = "a@b\0\xFF\xE5\0\0\0"s;
    // Frame flag 0x02: the frame's size counts the stored (unsynchronised) bytes.
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", Unsynchronised(popm), 0x02))), 255);
    EXPECT_EQ(TagLibRating(Tag(4, FrameV24("POPM", Unsynchronised(popm), 0x02))), 255);
    // The tag flag alone says the same of every frame.
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", Unsynchronised(popm)), 0, 0x80)), 255);
    // Undone before the data-length indicator (0x01) is removed.
    const std::string withLength = Syncsafe(static_cast<std::uint32_t>(popm.size())) + Unsynchronised(popm);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", withLength, 0x03))), 255);
}

TEST(PopularimeterRating, GroupBytesAndDataLengthsArePassedOver)
{
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", "\x07"s + Popm(70), 0x20))), 70);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", "\x07"s + Popm(71), 0x40))), 71);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", Syncsafe(static_cast<std::uint32_t>(Popm(72).size())) + Popm(72), 0x01))), 72);
    EXPECT_EQ(TagLibRating(Tag(4, FrameV24("POPM", Syncsafe(static_cast<std::uint32_t>(Popm(72).size())) + Popm(72), 0x01))), 72);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", "\x07"s + Syncsafe(static_cast<std::uint32_t>(Popm(73).size())) + Popm(73), 0x41))), 73);
}

TEST(PopularimeterRating, CompressedFramesAreInflatedAndEncryptedOnesGiveNoRating)
{
    const std::string popm = Popm(150);
    // Version 2.3: flag 0x80, the inflated size (4 bytes), then the zlib stream.
    const std::string v23 = BigEndian32(static_cast<std::uint32_t>(popm.size())) + Deflated(popm);
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", v23, 0x80))), 150);
    EXPECT_EQ(TagLibRating(Tag(3, FrameV23("POPM", v23, 0x80))), 150);
    // Version 2.4: flags 0x08 and 0x01 (compression needs the data length).
    const std::string v24 = Syncsafe(static_cast<std::uint32_t>(popm.size())) + Deflated(popm);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", v24, 0x09))), 150);
    EXPECT_EQ(TagLibRating(Tag(4, FrameV24("POPM", v24, 0x09))), 150);
    // A broken stream: no rating.
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", BigEndian32(20) + "not zlib at all"s, 0x80))), 0);
    // Encrypted (2.3 flag 0x40 with its method byte; 2.4 flag 0x04): no rating, and the later
    // plain popularimeter does not stand in for the first.
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", "\x01"s + popm, 0x40) + FrameV23("POPM", Popm(9)))), 0);
    EXPECT_EQ(Rating(Tag(4, FrameV24("POPM", "\x01"s + popm, 0x04))), 0);
}

TEST(PopularimeterRating, FlagsTheVersionDoesNotDefineAreIgnored)
{
    // 0x10 is a footer in version 2.4 only: in 2.3 the tag is read as usual.
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", Popm(90)), 0, 0x10)), 90);
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", Popm(91)), 0, 0x0F)), 91);
    // In version 2.2, 0x40 marks a compressed tag, which the standard leaves unreadable.
    EXPECT_EQ(Rating(Tag(2, FrameV22("POP", Popm(92)), 0, 0x40)), 0);
    // And 0x20 means nothing there.
    EXPECT_EQ(Rating(Tag(2, FrameV22("POP", Popm(93)), 0, 0x20)), 93);
}

TEST(PopularimeterRating, NoRatingWithoutTheAddresssTerminatorOrTheRatingByte)
{
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", "rater@example.org"s))), 0);
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", "rater@example.org\0"s))), 0);
    EXPECT_EQ(Rating(Tag(3, FrameV23("POPM", "\0\x2A"s))), 42);
}

TEST(PopularimeterRating, TheParseStopsAtPaddingAndAtAFrameThatDoesNotFit)
{
    // Padding, then bytes that would be a popularimeter: they are padding.
    const std::string afterPadding = kTitle23 + std::string(16, '\0') + FrameV23("POPM", Popm(30));
    EXPECT_EQ(Rating(Tag(3, afterPadding)), 0);
    // A frame whose size runs past the tag's end ends the parse; nothing after it is read.
    const std::string tooLong = FrameV23WithSize("TIT2", 5000, "\0Abc"s) + FrameV23("POPM", Popm(31));
    EXPECT_EQ(Rating(Tag(3, tooLong)), 0);
    // A popularimeter that itself runs past the end: no rating.
    EXPECT_EQ(Rating(Tag(3, FrameV23WithSize("POPM", 500, Popm(32)))), 0);
}

TEST(PopularimeterRating, NoTagOrAnotherVersionGivesNoRating)
{
    EXPECT_EQ(Rating(""), 0);
    EXPECT_EQ(Rating("ID3\x03\0\0"s), 0);
    EXPECT_EQ(Rating(Tag(5, FrameV23("POPM", Popm(1))) ), 0);
    std::string badSize = Tag(3, FrameV23("POPM", Popm(2)));
    badSize[9] = '\x80'; // a size byte with its top bit set is no syncsafe size
    EXPECT_EQ(Rating(badSize), 0);
}

} // namespace
} // namespace id3v2
