#include "audio/FrameSearch.h"

#include <gtest/gtest.h>

#include "CraftedStream.h"

namespace {

using namespace audiotest;
using Buffer = std::array<std::uint8_t, audio::ScanBufferSize>;

Buffer BufferOf(const Bytes& bytes)
{
    Buffer buffer{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), buffer.size()), buffer.begin());
    return buffer;
}

audio::FrameInfo Find(const Bytes& bytes, audio::VBRData& vbr)
{
    const Buffer buffer = BufferOf(bytes);
    return audio::FindFrame(buffer, vbr);
}

audio::FrameInfo Find(const Bytes& bytes)
{
    audio::VBRData vbr;
    return Find(bytes, vbr);
}

const Header Mpeg1Layer3{};  // 128 kbit/s, 44100 Hz: 417-byte frames
constexpr std::size_t L128 = 417;

TEST(FindFrame, NeedsASecondHeaderOneFrameLengthFurther)
{
    const audio::FrameInfo atStart = Find(Frames(Mpeg1Layer3, L128, 3));
    EXPECT_TRUE(atStart.Found);
    EXPECT_EQ(atStart.Position, 0);
    EXPECT_EQ(atStart.Size, L128);
    EXPECT_FALSE(atStart.EmptyStart);

    // A lone header, and one whose successor is damaged, are passed over.
    Bytes damaged = Concat({Frame(Mpeg1Layer3, 100), Frames(Mpeg1Layer3, L128, 4)});
    EXPECT_EQ(Find(damaged).Position, 100);
    damaged[100 + L128 + 2] |= 0x0C;  // sample-rate index 3 in the header that follows
    EXPECT_EQ(Find(damaged).Position, 100 + 2 * L128);

    // The second header only has to pass the test: another version is fine.
    Header mpeg2;
    mpeg2.version = 2;
    EXPECT_EQ(Find(Concat({Junk(7), Frame(Mpeg1Layer3, L128), Frame(mpeg2, 50)})).Position, 7);

    EXPECT_FALSE(Find(Junk(3458)).Found);
    Header freeFormat;
    freeFormat.bitRateIndex = 0;
    EXPECT_FALSE(Find(Frames(freeFormat, L128, 5)).Found);
}

TEST(FindFrame, SearchesPositions0To1729)
{
    EXPECT_EQ(Find(Concat({Junk(1729), Frames(Mpeg1Layer3, L128, 3)})).Position, 1729);
    EXPECT_FALSE(Find(Concat({Junk(1730), Frames(Mpeg1Layer3, L128, 3)})).Found);
}

TEST(FindFrame, ASecondHeaderBeyondTheBufferCountsAsMissing)
{
    Header longest;  // MPEG 1 Layer II, 384 kbit/s, 32000 Hz, padded: 1729 bytes
    longest.layer = 2;
    longest.bitRateIndex = 14;
    longest.sampleRateIndex = 2;
    longest.padding = true;
    // At 1725 the next header fills the buffer's last 4 bytes; from 1726 on it would leave it.
    EXPECT_EQ(Find(Concat({Junk(1725), Frames(longest, 1729, 2)})).Position, 1725);
    EXPECT_FALSE(Find(Concat({Junk(1726), Frames(longest, 1729, 2)})).Found);

    Header mpeg25LayerII = longest;  // 160 kbit/s at 8000 Hz, padded: 2881 bytes
    mpeg25LayerII.version = 0;
    EXPECT_EQ(Find(Concat({Junk(573), Frames(mpeg25LayerII, 2881, 2)})).Position, 573);
    EXPECT_FALSE(Find(Concat({Junk(574), Frames(mpeg25LayerII, 2881, 2)})).Found);
}

TEST(FindFrame, EmptyStartLooksAtTheSixBytesAfterTheHeader)
{
    Bytes frames = Frames(Mpeg1Layer3, L128, 2);
    std::fill(frames.begin() + 4, frames.begin() + 10, 0);
    EXPECT_TRUE(Find(frames).EmptyStart);
    frames[9] = 1;
    EXPECT_FALSE(Find(frames).EmptyStart);
}

// Frames at bit-rate index 9, 44100/22050/11025 Hz: 417 bytes in MPEG 1, 261 in MPEG 2 (80 kbit/s),
// 522 in MPEG 2.5.
struct VbrPlace {
    unsigned version;
    unsigned mode;
    std::size_t offset;
    std::size_t length;
};

TEST(FindFrame, XingHeaderSitsAfterTheSideInformation)
{
    const VbrPlace places[] = {{3, 0, 36, 417}, {3, 1, 36, 417}, {3, 3, 21, 417}, {2, 1, 21, 261}, {2, 3, 13, 261}, {0, 2, 21, 522}, {0, 3, 13, 522}};
    for (const VbrPlace& place : places) {
        SCOPED_TRACE(testing::Message() << "version " << place.version << " mode " << place.mode);
        Header h;
        h.version = place.version;
        h.mode = place.mode;
        Bytes stream = Concat({Junk(3), Frames(h, place.length, 4)});
        PutXing(stream, 3 + place.offset, 1000, 417000, 57, std::string("LAME3.98", 8));
        audio::VBRData vbr;
        const audio::FrameInfo f = Find(stream, vbr);
        ASSERT_TRUE(f.Found);
        EXPECT_TRUE(vbr.Found);
        EXPECT_EQ(std::string(vbr.TagID.data(), 4), "Xing");
        EXPECT_EQ(vbr.Frames, 1000);
        EXPECT_EQ(vbr.Bytes, 417000);
        EXPECT_EQ(vbr.Quality, 57);
        EXPECT_EQ(vbr.Vendor, "LAME3.98");

        // One byte off, nothing is found: the offset is fixed.
        Bytes shifted = Concat({Junk(3), Frames(h, place.length, 4)});
        PutXing(shifted, 4 + place.offset, 1000, 417000, 57, "LAME3.98");
        audio::VBRData none;
        ASSERT_TRUE(Find(shifted, none).Found);
        EXPECT_FALSE(none.Found);
    }
}

TEST(FindFrame, XingFieldsAreTakenAsTheyAre)
{
    Bytes stream = Frames(Mpeg1Layer3, L128, 3);
    PutXing(stream, 36, 0xFFFFFFFF, 0x80000000, 0, std::string("ab\0\0cd\0\0", 8));
    stream[36 + 7] = 0;  // flags announce nothing: the fields are read all the same
    audio::VBRData vbr;
    Find(stream, vbr);
    EXPECT_EQ(vbr.Frames, -1);
    EXPECT_EQ(vbr.Bytes, INT32_MIN);
    EXPECT_EQ(vbr.Vendor, std::string("ab\0\0cd\0\0", 8));
}

TEST(FindFrame, VbriHeaderIsFoundOnlyWhereTheXingOffsetIs36)
{
    const VbrPlace places[] = {{3, 0, 36, 417}, {3, 1, 36, 417}, {3, 3, 21, 417}, {2, 1, 21, 261}};
    for (const VbrPlace& place : places) {
        SCOPED_TRACE(testing::Message() << "version " << place.version << " mode " << place.mode);
        Header h;
        h.version = place.version;
        h.mode = place.mode;
        Bytes stream = Frames(h, place.length, 4);
        PutVbri(stream, 36, 2000, 800000, 75);  // where encoders put it: 32 bytes after the header
        audio::VBRData vbr;
        ASSERT_TRUE(Find(stream, vbr).Found);
        EXPECT_EQ(vbr.Found, place.offset == 36);
        if (vbr.Found) {
            EXPECT_EQ(std::string(vbr.TagID.data(), 4), "VBRI");
            EXPECT_EQ(vbr.Frames, 2000);
            EXPECT_EQ(vbr.Bytes, 800000);
            EXPECT_EQ(vbr.Quality, 75);
            EXPECT_EQ(vbr.Vendor, "");
        }
    }
}

TEST(FindFrame, LeavesTheVbrRecordAloneWhenNothingIsFound)
{
    audio::VBRData vbr;
    vbr.Found = true;
    vbr.Frames = 12;
    EXPECT_FALSE(Find(Junk(100), vbr).Found);
    EXPECT_TRUE(vbr.Found);
    EXPECT_EQ(vbr.Frames, 12);
}

// The last 3458 bytes of a stream with a signature at `at`.
Buffer TailWith(std::size_t at, const std::string& signature)
{
    Buffer buffer;
    buffer.fill(0x55);
    std::copy(signature.begin(), signature.end(), buffer.begin() + static_cast<std::ptrdiff_t>(at));
    return buffer;
}

TEST(FindTailVendor, LooksWithinFiveFramesOfTheEnd)
{
    const std::size_t limit = 5 * 417;
    EXPECT_EQ(audio::FindTailVendor(TailWith(3450, "LAME3.97"), limit), "LAME3.97");
    EXPECT_EQ(audio::FindTailVendor(TailWith(3450 - limit, "LAME3.97"), limit), "LAME3.97");
    EXPECT_EQ(audio::FindTailVendor(TailWith(3450 - limit - 1, "LAME3.97"), limit), "");
    EXPECT_EQ(audio::FindTailVendor(TailWith(3451, "LAME3.9"), limit), "");  // not 8 bytes from the end
    EXPECT_EQ(audio::FindTailVendor(TailWith(1000, "GOGO"), 3000), "GOGO");
    EXPECT_EQ(audio::FindTailVendor(TailWith(0, "LAME"), 100000).substr(0, 4), "LAME");  // limit cut to 3450
}

TEST(FindTailVendor, TheSignatureNearestTheEndCounts)
{
    Buffer buffer = TailWith(3000, "LAME3.96");
    std::copy_n("GOGO", 4, buffer.begin() + 3200);
    EXPECT_EQ(audio::FindTailVendor(buffer, 3450), "GOGO");
    std::copy_n("LAME3.99", 8, buffer.begin() + 3300);
    EXPECT_EQ(audio::FindTailVendor(buffer, 3450), "LAME3.99");
}

} // namespace
