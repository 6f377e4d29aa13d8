#include "id3v2/TagParser.h"

#include "id3v2/FrameScanner.h"
#include "id3v2/FrameValues.h"
#include "id3v2/Popularimeter.h"
#include "id3v2/TextDecoding.h"

#include <algorithm>

namespace id3v2 {
namespace {

bool HasReadableFrames(const ParsedTag& tag)
{
    return tag.TagFound && tag.MajorVersion >= 2 && tag.MajorVersion <= 4 && tag.TagSize > 0;
}

} // namespace

TagValues ValuesFromFrames(const TagInfo& info)
{
    const auto& frame = info.FrameData;
    TagValues values;
    auto& text = values.Text;
    text[RowTitle] = TextOrFallback(frame[RowTitle], frame[RowContentGroup]);
    text[RowArtist] = TextOrFallback(frame[RowArtist], frame[RowOrigArtist]);
    text[RowAlbum] = TextOrFallback(frame[RowAlbum], frame[RowOrigAlbum]);
    values.Track = TrackNumber(frame[RowTrack]);
    text[RowYear] = YearOrDate(frame[RowYear], frame[RowRecordingDate]);
    text[RowGenre] = GenreName(frame[RowGenre]);
    text[RowComment] = TextAfterDescription(frame[RowComment], true);
    for (const Row row : {RowComposer, RowEncoder, RowCopyright, RowLanguage})
        text[row] = DecodeText(frame[row]);
    text[RowLink] = TextAfterDescription(frame[RowLink], false);
    for (std::size_t row = RowRhythm; row <= RowFrameTPMI; ++row)
        text[row] = DecodeText(frame[row]);
    const std::string& popm = frame[RowRating];
    values.Rating = popm.size() > 1 ? static_cast<std::uint8_t>(popm[1]) : 0;
    return values;
}

ParsedTag ParseTag(std::span<const std::uint8_t> fileStart, std::int64_t fileLength)
{
    ParsedTag tag;
    TagInfo info;
    info.SetHeaderBytes(fileStart.first(std::min(fileStart.size(), kHeaderSize)));
    info.FileLength = fileLength;
    if (fileStart.size() < kHeaderSize || !info.HasIdentifier())
        return tag;
    tag.TagFound = true;
    tag.MajorVersion = info.MajorVersion;
    tag.TagSize = TotalTagSize(info);
    if (!HasReadableFrames(tag))
        return tag;

    if (info.MajorVersion == 2)
        ScanFramesV22(fileStart, info);
    else
        ScanFramesV23(fileStart, info);
    tag.Values = ValuesFromFrames(info);
    if (info.FrameData[RowRating].empty()) {
        const std::size_t tagBytes = std::min(fileStart.size(), static_cast<std::size_t>(tag.TagSize));
        tag.Values.Rating = PopularimeterRating(fileStart.first(tagBytes));
    }
    return tag;
}

} // namespace id3v2
