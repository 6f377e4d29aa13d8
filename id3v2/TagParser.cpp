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

TagValues ValuesFromFrames(const FrameScan& scan)
{
    const auto& frame = scan.FrameData;
    TagValues values;
    for (const FrameRow& f : kFrameTable) {
        const std::string& data = frame[f.row];
        std::string& text = values.Text[f.row];
        switch (f.read) {
        case ReadAs::Text:
            text = DecodeText(data);
            break;
        case ReadAs::TextOrFallback:
            text = TextOrFallback(data, frame[f.fallback]);
            break;
        case ReadAs::YearOrDate:
            text = YearOrDate(data, frame[f.fallback]);
            break;
        case ReadAs::GenreName:
            text = GenreName(data);
            break;
        case ReadAs::CommentText:
            text = TextAfterDescription(data, true);
            break;
        case ReadAs::LinkAddress:
            text = TextAfterDescription(data, false);
            break;
        case ReadAs::TrackNumber:
            values.Track = TrackNumber(data);
            break;
        case ReadAs::RatingByte:
            // The byte after the empty e-mail address of a popularimeter the scan kept.
            values.Rating = data.size() > 1 ? static_cast<std::uint8_t>(data[1]) : 0;
            break;
        case ReadAs::FallbackOnly:
            break;
        }
    }
    return values;
}

ParsedTag ParseTag(std::span<const std::uint8_t> fileStart, std::int64_t fileLength)
{
    ParsedTag tag;
    FrameScan scan;
    scan.Header.SetBytes(fileStart.first(std::min(fileStart.size(), kHeaderSize)));
    scan.FileLength = fileLength;
    if (fileStart.size() < kHeaderSize || !scan.Header.HasIdentifier())
        return tag;
    tag.TagFound = true;
    tag.MajorVersion = scan.Header.MajorVersion;
    tag.TagSize = TotalTagSize(scan.Header, fileLength);
    if (!HasReadableFrames(tag))
        return tag;

    if (scan.Header.MajorVersion == 2)
        ScanFramesV22(fileStart, scan);
    else
        ScanFramesV23(fileStart, scan);
    tag.Values = ValuesFromFrames(scan);
    if (scan.FrameData[RowRating].empty()) {
        const std::size_t tagBytes = std::min(fileStart.size(), static_cast<std::size_t>(tag.TagSize));
        tag.Values.Rating = PopularimeterRating(fileStart.first(tagBytes));
    }
    return tag;
}

} // namespace id3v2

namespace id3v2 {

ParsedTag ParseTagFrameByFrame(io::ByteSource& song)
{
    ParsedTag tag;
    FrameScan scan;
    scan.FileLength = song.Length();
    SourceView head(song, scan.FileLength);
    const auto header = head.At(0, static_cast<std::int64_t>(kHeaderSize));
    if (!header)
        return tag;
    scan.Header.SetBytes(*header);
    if (!scan.Header.HasIdentifier())
        return tag;
    tag.TagFound = true;
    tag.MajorVersion = scan.Header.MajorVersion;
    tag.TagSize = TotalTagSize(scan.Header, scan.FileLength);
    if (!HasReadableFrames(tag))
        return tag;

    const std::int64_t reach = ScanReach(scan.Header, scan.FileLength);
    SourceView view(song, reach);
    if (scan.Header.MajorVersion == 2)
        ScanFramesV22(view, reach, scan);
    else
        ScanFramesV23(view, reach, scan);
    tag.Values = ValuesFromFrames(scan);
    if (scan.FrameData[RowRating].empty())
        tag.Values.Rating = PopularimeterRating(song, tag.TagSize);
    return tag;
}

} // namespace id3v2
