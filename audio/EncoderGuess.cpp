#include "audio/EncoderGuess.h"

namespace audio {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes 5 to 8 of a vendor text when they read as a version "d.dd".
bool HasVersionNumber(std::string_view vendor)
{
    return vendor.size() >= 8 && IsDigit(vendor[4]) && vendor[5] == '.' && IsDigit(vendor[6]) && IsDigit(vendor[7]);
}

} // namespace

std::uint8_t VBREncoderID(const VBRData& vbr)
{
    // Later rules override earlier ones.
    const std::string_view vendor = vbr.Vendor;
    const std::string_view tagId(vbr.TagID.data(), vbr.TagID.size());
    const bool lame = StartsWith(vendor, "LAME");
    const bool gogo = StartsWith(vendor, "GOGO") || StartsWith(vendor, "MPGE");
    std::uint8_t id = EncoderUnknown;
    if (lame)
        id = EncoderLame;
    if (gogo)
        id = EncoderGoGo;
    if (tagId == "Xing" && !lame && !gogo)
        id = EncoderXing;
    if (tagId == "VBRI")
        id = EncoderFhG;
    return id;
}

std::uint8_t CBREncoderID(const FrameInfo& frame, std::string_view tailVendor)
{
    // Later rules override earlier ones.
    std::uint8_t id = EncoderFhG;
    if (frame.OriginalBit && frame.CRCProtected)
        id = EncoderLame;
    if (TableBitRate(frame) <= 160 && frame.ModeID == ModeStereo)
        id = EncoderBlade;
    if (frame.CopyrightBit && frame.OriginalBit && !frame.CRCProtected)
        id = EncoderXing;
    if (frame.EmptyStart && frame.OriginalBit)
        id = EncoderXing;
    if (frame.LayerID == LayerII)
        id = EncoderQDesign;
    if (frame.ModeID == ModeDualChannel && frame.CRCProtected)
        id = EncoderShine;
    if (StartsWith(tailVendor, "LAME"))
        id = EncoderLame;
    if (StartsWith(tailVendor, "GOGO"))
        id = EncoderGoGo;
    return id;
}

std::string EncoderText(std::uint8_t encoderId, std::string_view vendor)
{
    std::string name(encoderId < EncoderNames.size() ? EncoderNames[encoderId] : EncoderNames[EncoderUnknown]);
    if (encoderId == EncoderLame && HasVersionNumber(vendor)) {
        name += ' ';
        name += vendor.substr(4, 4);
    }
    return name;
}

} // namespace audio
