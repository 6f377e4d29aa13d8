#include "ExampleTags.h"

namespace exampletags {

using namespace id3v2;

void SetEveryValue(TID3v2& tag, int variant)
{
    const std::string n = std::to_string(variant);
    tag.SetTitle("Can\xE7\xE3o do mar " + n);
    tag.SetArtist("Jos\xE9 & Filhos " + n);
    tag.SetAlbum("\xC1lbum " + n);
    tag.SetTrack(static_cast<std::uint16_t>(7 + variant));
    tag.SetYear("19" + std::to_string(70 + variant));
    tag.SetGenre("Samba-can\xE7\xE3o");
    tag.SetComment("Coment\xE1rio " + n);
    tag.SetComposer("Compositor " + n);
    tag.SetEncoder("LAME " + n);
    tag.SetCopyright("\xA9 Gravadora " + n);
    tag.SetLanguage("por");
    tag.SetLink("http://example.org/m\xFAsica/" + n);
    tag.SetRhythm("Ritmo " + n);
    tag.SetFrameTINT("int " + n);
    tag.SetFileExtension(".mp3");
    tag.SetSubGenre("Sub " + n);
    tag.SetFrameTIDM("idm " + n);
    tag.SetFrameTCAR("car " + n);
    tag.SetFrameTVIN("vin " + n);
    tag.SetFrameTMXI("mxi " + n);
    tag.SetFrameTMXF("mxf " + n);
    tag.SetFrameTRFI("rfi " + n);
    tag.SetFrameTRFF("rff " + n);
    tag.SetCatalogueMark("S");
    tag.SetRecordLabel("Gravadora " + n);
    tag.SetVocal("Feminino " + n);
    tag.SetPeriodType("D\xE9" "cada " + n);
    tag.SetPeriodStart("1970");
    tag.SetPeriodEnd("1979");
    tag.SetFrameTPMI("pmi " + n);
    tag.SetRating(static_cast<std::uint8_t>(128 + variant));
}

void SetEveryByte(TID3v2& tag)
{
    std::string every = "[";
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        every += static_cast<char>(byte);
    every += "]";
    for (std::size_t row = 0; row < kFrameRows; ++row)
        if (IsTextProperty(row))
            tag.SetText(static_cast<Row>(row), every);
}

std::vector<std::pair<std::string, std::string>> ExpectedTextFrames(const TID3v2& tag)
{
    std::vector<std::pair<std::string, std::string>> frames;
    const TagValues& values = tag.Values();
    for (std::size_t row = 0; row < kFrameRows; ++row) {
        std::string text;
        if (row == RowTrack)
            text = values.Track != 0 ? std::to_string(values.Track) : "";
        else if (IsTextProperty(row) && row != RowComment && row != RowLink)
            text = values.Text[row];
        if (!text.empty())
            frames.emplace_back(std::string(FrameIdsV23[row]), text);
    }
    return frames;
}

} // namespace exampletags
