#include "audio/EncoderGuess.h"

#include <gtest/gtest.h>

#include "CraftedStream.h"

namespace {

using audiotest::Header;

std::string CbrGuess(const Header& h, std::string_view tail = "", bool emptyStart = false)
{
    const auto bytes = h.Bytes();
    audio::FrameInfo frame = audio::DecodeFrameHeader(bytes);
    frame.Found = true;
    frame.EmptyStart = emptyStart;
    return std::string(audio::EncoderNames[audio::CBREncoderID(frame, tail)]);
}

Header Layer3(unsigned mode, bool original, bool crc, unsigned bitRateIndex = 9)
{
    Header h;
    h.mode = mode;
    h.original = original;
    h.crc = crc;
    h.bitRateIndex = bitRateIndex;
    return h;
}

TEST(EncoderGuess, ConstantBitRateHabits)
{
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeJointStereo, false, false)), "FhG");
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeJointStereo, true, true)), "LAME");
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeStereo, false, false, 10)), "Blade");      // 160 kbit/s
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeStereo, true, true, 10)), "Blade");        // overrides LAME
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeStereo, false, false, 11)), "FhG");        // 192 kbit/s
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeJointStereo, true, false), "", true), "Xing");
    EXPECT_EQ(CbrGuess(Layer3(audio::ModeJointStereo, false, false), "", true), "FhG");  // needs the original bit
    Header copyrighted = Layer3(audio::ModeJointStereo, true, false);
    copyrighted.copyright = true;
    EXPECT_EQ(CbrGuess(copyrighted), "Xing");
    copyrighted.crc = true;
    EXPECT_EQ(CbrGuess(copyrighted), "LAME");

    Header layer2 = Layer3(audio::ModeStereo, true, false);
    layer2.layer = audio::LayerII;
    EXPECT_EQ(CbrGuess(layer2), "QDesign");
    layer2.mode = audio::ModeDualChannel;
    EXPECT_EQ(CbrGuess(layer2), "QDesign");
    layer2.crc = true;
    EXPECT_EQ(CbrGuess(layer2), "Shine");
}

TEST(EncoderGuess, AnEndSignatureOverridesTheHabits)
{
    Header layer2;
    layer2.layer = audio::LayerII;
    EXPECT_EQ(CbrGuess(layer2, "LAME3.97"), "LAME");
    EXPECT_EQ(CbrGuess(layer2, "GOGO"), "GoGo");
    EXPECT_EQ(CbrGuess(layer2, "LAMB"), "QDesign");
}

TEST(EncoderGuess, VbrHeaderVendor)
{
    auto guess = [](const char* tagId, std::string vendor) {
        audio::VBRData vbr;
        vbr.Found = true;
        std::copy_n(tagId, 4, vbr.TagID.begin());
        vbr.Vendor = std::move(vendor);
        return std::string(audio::EncoderNames[audio::VBREncoderID(vbr)]);
    };
    EXPECT_EQ(guess("Xing", "LAME3.98"), "LAME");
    EXPECT_EQ(guess("Xing", "GOGO1.00"), "GoGo");
    EXPECT_EQ(guess("Xing", "MPGE1.00"), "GoGo");
    EXPECT_EQ(guess("Xing", "Lavc59.3"), "Xing");
    EXPECT_EQ(guess("Xing", std::string(8, '\0')), "Xing");
    EXPECT_EQ(guess("VBRI", ""), "FhG");
}

TEST(EncoderGuess, LameVersionIsAppendedWhenItReadsDigitDotDigitDigit)
{
    EXPECT_EQ(audio::EncoderText(audio::EncoderLame, "LAME3.98"), "LAME 3.98");
    EXPECT_EQ(audio::EncoderText(audio::EncoderLame, "LAME3.100"), "LAME 3.10");
    EXPECT_EQ(audio::EncoderText(audio::EncoderLame, "LAME3.9"), "LAME");
    EXPECT_EQ(audio::EncoderText(audio::EncoderLame, "LAMEa.98"), "LAME");
    EXPECT_EQ(audio::EncoderText(audio::EncoderLame, std::string("LAME3.\0\0", 8)), "LAME");
    EXPECT_EQ(audio::EncoderText(audio::EncoderXing, "LAME3.98"), "Xing");
    EXPECT_EQ(audio::EncoderText(audio::EncoderGoGo, "GOGO"), "GoGo");
    EXPECT_EQ(audio::EncoderText(audio::EncoderUnknown, ""), "Unknown");
}

} // namespace
