#include "tagkit/RecordValues.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "tagkit/NumberForms.h"
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
    record.Title = tag.Title();
    record.Artist = tag.Artist();
    record.Album = tag.Album();
    if (tag.Track() != 0)
        record.Track = text::DecimalText(tag.Track());
    record.Year = tag.Year();
    record.Genre = tag.Genre();
    record.Comment = tag.Comment();
    record.Composer = tag.Composer();
    record.Encoder = tag.Encoder();
    record.Copyright = tag.Copyright();
    record.Language = tag.Language();
    record.RecordLabel = tag.RecordLabel();
    record.Vocal = tag.Vocal();
    record.Rating = text::DecimalText(tag.Rating());
    record.PeriodType = tag.PeriodType();
    record.PeriodStart = tag.PeriodStart();
    record.PeriodEnd = tag.PeriodEnd();
    record.Link = tag.Link();
    record.Rhythm = tag.Rhythm();
    record.FrameTINT = tag.FrameTINT();
    record.FileExtension = tag.FileExtension();
    record.SubGenre = tag.SubGenre();
    record.FrameTIDM = tag.FrameTIDM();
    record.FrameTCAR = tag.FrameTCAR();
    record.FrameTVIN = tag.FrameTVIN();
    record.FrameTMXI = tag.FrameTMXI();
    record.FrameTMXF = tag.FrameTMXF();
    record.FrameTRFI = tag.FrameTRFI();
    record.FrameTRFF = tag.FrameTRFF();
    record.FrameTPMI = tag.FrameTPMI();
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
