// The tag header helpers: the header's 10 bytes, the file's length, the tag's total size and the
// extended header's length.
#include "id3v2/ExtendedHeader.h"
#include "id3v2/TagHeader.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace id3v2 {
namespace {

TagHeader HeaderWith(std::array<std::uint8_t, 4> sizeBytes, std::uint8_t flags)
{
    TagHeader header;
    header.Identifier = {'I', 'D', '3'};
    header.Flags = flags;
    header.SizeBytes = sizeBytes;
    return header;
}

TEST(TotalTagSize, AddsHeaderAndFooterAndRejectsSizesBeyondTheFile)
{
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 2, 1}, 0), 1000), 267);
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 2, 1}, 0x10), 1000), 277);
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 2, 1}, 0), 200), 0);
}

TEST(TotalTagSize, TakesEachSizeByteWhole)
{
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 0, 0x80}, 0), 1000), 138);
    // FF FF FF FF: 255 * (2^21 + 2^14 + 2^7 + 1) + 10, computed without overflow.
    EXPECT_EQ(TotalTagSize(HeaderWith({0xFF, 0xFF, 0xFF, 0xFF}, 0), std::int64_t{1} << 31), 538984585);
}

TEST(TotalTagSize, ASizeEqualToTheFileLengthFitsAndOneMoreDoesNot)
{
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 2, 1}, 0), 267), 267);
    EXPECT_EQ(TotalTagSize(HeaderWith({0, 0, 2, 1}, 0), 266), 0);
}

TEST(ExtendedHeaderLength, EachVersionsSizeAndEachRulesStrictness)
{
    using Size = std::array<std::uint8_t, 4>;
    const auto length = [](Size size, std::uint8_t version, ExtendedSizeRule rule) {
        return ExtendedHeaderLength(size, version, rule);
    };
    for (const ExtendedSizeRule rule : {ExtendedSizeRule::Lenient, ExtendedSizeRule::Strict}) {
        // Version 2.3: a plain number that leaves out its own four bytes, 0x80 included.
        EXPECT_EQ(length({0, 0, 0, 6}, 3, rule), 10);
        EXPECT_EQ(length({0, 0, 0, 0x80}, 3, rule), 0x84);
        // Version 2.4: a syncsafe number that counts the whole header.
        EXPECT_EQ(length({0, 0, 1, 0}, 4, rule), 128);
    }
    // A top bit set, or fewer than 6 bytes: the scan drops the bit and takes the number, the
    // complete walk takes no extended header.
    EXPECT_EQ(length({0, 0, 0, 0x86}, 4, ExtendedSizeRule::Lenient), 6);
    EXPECT_EQ(length({0, 0, 0, 0x86}, 4, ExtendedSizeRule::Strict), std::nullopt);
    EXPECT_EQ(length({0, 0, 0, 5}, 4, ExtendedSizeRule::Lenient), 5);
    EXPECT_EQ(length({0, 0, 0, 5}, 4, ExtendedSizeRule::Strict), std::nullopt);
}

TEST(ReadTagHeader, ReadsTheTenHeaderBytesAndTheFileLength)
{
    fixtures::ScratchDir dir;
    const std::string path = dir.File("song.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(path, std::string("ID3\x04\x01\x40\x00\x00\x02\x01", 10) + std::string(990, 'x')));
    TagHeader info;
    std::int64_t fileLength = 0;
    ASSERT_TRUE(ReadTagHeader(path, info, fileLength));
    EXPECT_TRUE(info.HasIdentifier());
    EXPECT_EQ(info.MajorVersion, 4);
    EXPECT_EQ(info.Revision, 1);
    EXPECT_EQ(info.Flags, 0x40);
    EXPECT_EQ(info.SizeBytes, (std::array<std::uint8_t, 4>{0, 0, 2, 1}));
    EXPECT_EQ(fileLength, 1000);
    EXPECT_EQ(TotalTagSize(info, fileLength), 267);
}

TEST(ReadTagHeader, FailsOnAShortOrMissingFileAndCreatesNothing)
{
    fixtures::ScratchDir dir;
    const std::string shortFile = dir.File("short.mp3");
    ASSERT_TRUE(fixtures::WriteFileBytes(shortFile, std::string("ID3\x03\x00\x00\x00\x00\x00", 9)));
    TagHeader info;
    std::int64_t fileLength = 0;
    info.SizeBytes = {9, 9, 9, 9};
    EXPECT_FALSE(ReadTagHeader(shortFile, info, fileLength));
    // The bytes the file had are in the record; the rest is as the caller left it.
    EXPECT_TRUE(info.HasIdentifier());
    EXPECT_EQ(info.SizeBytes, (std::array<std::uint8_t, 4>{0, 0, 0, 9}));

    EXPECT_FALSE(ReadTagHeader(dir.File("missing.mp3"), info, fileLength));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.mp3")));
}

} // namespace
} // namespace id3v2
