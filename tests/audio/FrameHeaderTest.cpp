#include "audio/FrameHeader.h"

#include <gtest/gtest.h>

#include "CraftedStream.h"

namespace {

using audiotest::Header;

audio::FrameInfo Decode(const Header& h)
{
    const auto bytes = h.Bytes();
    return audio::DecodeFrameHeader(bytes);
}

bool Accepted(const Header& h)
{
    const auto bytes = h.Bytes();
    return audio::IsFrameHeader(bytes);
}

TEST(FrameHeader, DecodesEveryField)
{
    const std::array<std::uint8_t, 4> bytes = {0xFF, 0xFA, 0x93, 0x6D};
    const audio::FrameInfo f = audio::DecodeFrameHeader(bytes);
    EXPECT_EQ(f.HeaderBytes, bytes);
    EXPECT_EQ(f.VersionID, 3);
    EXPECT_EQ(f.LayerID, 1);
    EXPECT_TRUE(f.CRCProtected);
    EXPECT_EQ(f.BitRateID, 9);
    EXPECT_EQ(f.SampleRateID, 0);
    EXPECT_TRUE(f.PaddingBit);
    EXPECT_TRUE(f.PrivateBit);
    EXPECT_EQ(f.ModeID, 1);
    EXPECT_EQ(f.ModeExtensionID, 2);
    EXPECT_TRUE(f.CopyrightBit);
    EXPECT_TRUE(f.OriginalBit);
    EXPECT_EQ(f.EmphasisID, 1);
    EXPECT_FALSE(f.Found);
}

TEST(FrameHeader, RejectsReservedAndFreeFormatCodes)
{
    EXPECT_TRUE(Accepted(Header{}));
    auto with = [](auto change) { Header h; change(h); return Accepted(h); };
    EXPECT_FALSE(with([](Header& h) { h.version = 1; }));
    EXPECT_FALSE(with([](Header& h) { h.layer = 0; }));
    EXPECT_FALSE(with([](Header& h) { h.bitRateIndex = 0; }));   // free format
    EXPECT_FALSE(with([](Header& h) { h.bitRateIndex = 15; }));
    EXPECT_FALSE(with([](Header& h) { h.sampleRateIndex = 3; }));
    EXPECT_FALSE(with([](Header& h) { h.emphasis = 2; }));
    // Everything else passes, whatever it says.
    EXPECT_TRUE(with([](Header& h) { h.emphasis = 3; h.crc = true; h.mode = 2; h.privateBit = true; }));

    std::array<std::uint8_t, 4> noSync = Header{}.Bytes();
    noSync[1] &= 0xDF;  // one sync bit cleared
    EXPECT_FALSE(audio::IsFrameHeader(noSync));
    noSync = Header{}.Bytes();
    noSync[0] = 0xFE;
    EXPECT_FALSE(audio::IsFrameHeader(noSync));
}

TEST(FrameHeader, BitAndSampleRatesFollowTheStandardTables)
{
    struct Case { unsigned version, layer, index; int kbps; };
    const Case cases[] = {
        {3, 3, 14, 448}, {3, 3, 1, 32}, {3, 2, 14, 384}, {3, 2, 2, 48}, {3, 1, 14, 320}, {3, 1, 2, 40},
        {2, 3, 14, 256}, {2, 2, 1, 8}, {2, 1, 14, 160}, {0, 1, 1, 8}, {0, 3, 14, 256}};
    for (const Case& c : cases) {
        Header h;
        h.version = c.version;
        h.layer = c.layer;
        h.bitRateIndex = c.index;
        EXPECT_EQ(audio::TableBitRate(Decode(h)), c.kbps) << c.version << "/" << c.layer << "/" << c.index;
    }
    const int rates[4][3] = {{11025, 12000, 8000}, {}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    for (unsigned v : {0u, 2u, 3u})
        for (unsigned s = 0; s < 3; ++s) {
            Header h;
            h.version = v;
            h.sampleRateIndex = s;
            EXPECT_EQ(audio::TableSampleRate(Decode(h)), rates[v][s]);
        }
    EXPECT_EQ(audio::TableBitRate(audio::UnknownFrame()), 0);
    EXPECT_EQ(audio::TableSampleRate(audio::UnknownFrame()), 0);
    EXPECT_EQ(audio::FrameLength(audio::UnknownFrame()), 0);
}

TEST(FrameHeader, FrameLengthsOfLayersIIAndIII)
{
    struct Case { unsigned version, layer, index, rate; bool padding; int length; };
    const Case cases[] = {
        {3, 1, 9, 0, false, 417},   // 128 kbit/s, 44100 Hz
        {3, 1, 9, 0, true, 418},
        {3, 2, 14, 2, true, 1729},  // 384 kbit/s, 32000 Hz: the longest MPEG 1 frame
        {3, 1, 1, 1, false, 96},    // 32 kbit/s, 48000 Hz
        {2, 1, 8, 0, false, 208},   // MPEG 2 Layer III: 576 samples, 64 kbit/s at 22050 Hz
        {2, 1, 1, 1, false, 24},    // 8 kbit/s at 24000 Hz
        {0, 1, 4, 2, false, 288},   // MPEG 2.5, 32 kbit/s at 8000 Hz
        {0, 2, 14, 2, true, 2881},  // MPEG 2.5 Layer II, 160 kbit/s at 8000 Hz
    };
    for (const Case& c : cases) {
        Header h;
        h.version = c.version;
        h.layer = c.layer;
        h.bitRateIndex = c.index;
        h.sampleRateIndex = c.rate;
        h.padding = c.padding;
        EXPECT_EQ(audio::FrameLength(Decode(h)), c.length) << c.version << "/" << c.layer << "/" << c.index;
    }
}

// Layer I frames are counted in 4-byte slots: (12 x bit rate / sample rate + padding) x 4, in
// every version, and hold 384 samples.
TEST(FrameHeader, LayerIFramesAreWholeSlots)
{
    struct Case { unsigned version, index, rate; bool padding; int length; };
    const Case cases[] = {
        {3, 12, 0, false, 416},  // 384 kbit/s at 44100 Hz: 104 slots (not 417 bytes)
        {3, 12, 0, true, 420},
        {3, 1, 0, false, 32},    // 32 kbit/s at 44100 Hz: 8 slots
        {3, 14, 2, false, 672},  // 448 kbit/s at 32000 Hz
        {2, 8, 0, false, 276},   // MPEG 2, 128 kbit/s at 22050 Hz: 69 slots
        {0, 14, 2, true, 1540},  // MPEG 2.5, 256 kbit/s at 8000 Hz
    };
    for (const Case& c : cases) {
        Header h;
        h.version = c.version;
        h.layer = 3;
        h.bitRateIndex = c.index;
        h.sampleRateIndex = c.rate;
        h.padding = c.padding;
        const audio::FrameInfo f = Decode(h);
        EXPECT_EQ(audio::FrameLength(f), c.length) << c.version << "/" << c.index;
        EXPECT_EQ(audio::FrameCoefficient(f), 48);
        EXPECT_EQ(audio::FramePadding(f), c.padding ? 4 : 0);
    }
}

} // namespace
