#include "tagkit/RecordValues.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "tagkit/NumberForms.h"
#include "tagkit/RecordTable.h"
#include "text/IntegerText.h"

namespace tagkit {

void DescribeAudio(const audio::TMPEGaudio& info, Tag& record)
{
    record.AudioValid = kYes;
    record.FileSize = WithUnit(info.FileLength(), " bytes");
    record.VersionLayer = info.Version() + " " + info.Layer();
    record.BitRate = (info.VBR().Found ? "VBR " : "CBR ") + WithUnit(info.BitRate(), " kbit/s");
    record.SampleRate = WithUnit(info.SampleRate(), " hz");
    record.ChannelMode = info.ChannelMode();
    record.Duration = DurationText(info.Duration(), LocaleDecimalSeparator()) + " seg.";
    record.FramePosition = WithUnit(info.Frame().Position, " bytes");
    record.CrcProtection = YesNo(info.Frame().CRCProtected);
    record.FrameCount = text::DecimalText(info.Frames());
    record.Copyrighted = YesNo(info.Frame().CopyrightBit);
    record.OriginalMedia = YesNo(info.Frame().OriginalBit);
    record.Emphasis = info.Emphasis();
    record.AudioEncoder = info.Encoder();
}

void CopyId3v2Values(const id3v2::TID3v2& tag, Tag& record)
{
    record.TagExists = kYes;
    record.TagVersion = "2." + text::DecimalText(tag.MajorVersion());
    record.TagSize = WithUnit(tag.TagSize(), " bytes");
    for (const RecordRow& r : kRecordTable) {
        if (r.field == nullptr)
            continue;
        std::string& field = record.*r.field;
        switch (id3v2::kFrameTable[r.row].read) {
        case id3v2::ReadAs::TrackNumber:
            if (tag.Track() != 0)
                field = text::DecimalText(tag.Track());
            break;
        case id3v2::ReadAs::RatingByte:
            field = text::DecimalText(tag.Rating());
            break;
        default:
            field = tag.Values().Text[r.row];
            break;
        }
    }
}

void CopyId3v1Values(const audio::TID3v1& tag, Tag& record)
{
    record.TagExists = kYes;
    record.TagVersion = tag.VersionID() == 1 ? "1.0" : "1.1";
    record.Title = tag.Title();
    record.Artist = tag.Artist();
    record.Album = tag.Album();
    record.Year = tag.Year();
    record.Comment = tag.Comment();
    record.Track = text::DecimalText(tag.Track());
    record.Genre = tag.Genre();
}

} // namespace tagkit
