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
            // The scan keeps a popularimeter whose first byte is 0x00 or 0x01 (as if it were a text
            // encoding) and takes its second byte. With 0x00, an empty address, that is the rating
            // ParsePopularimeter finds; 0x01 starts an address whose rating lies further on. The
            // rating read is the one a write keeps, so the byte taken there stays as it is.
            values.Rating = data.size() > 1 ? static_cast<std::uint8_t>(data[1]) : 0;
            break;
        case ReadAs::FallbackOnly:
            break;
        }
    }
    return values;
}

namespace {

// The header's findings in the tag; whether the tag's frames are to be read.
bool BeginParse(std::span<const std::uint8_t> header, std::int64_t fileLength, ParsedTag& tag, FrameScan& scan)
{
    if (header.size() < kHeaderSize)
        return false;
    scan.Header.SetBytes(header.first(kHeaderSize));
    scan.FileLength = fileLength;
    if (!scan.Header.HasIdentifier())
        return false;
    tag.TagFound = true;
    tag.MajorVersion = scan.Header.MajorVersion;
    tag.TagSize = TotalTagSize(scan.Header, fileLength);
    return HasReadableFrames(tag);
}

// The frame scan over a view of the file's first viewEnd bytes, and the values it gives.
void ReadFrames(TagView& view, std::int64_t viewEnd, FrameScan& scan, ParsedTag& tag)
{
    if (scan.Header.MajorVersion == 2)
        ScanFramesV22(view, viewEnd, scan);
    else
        ScanFramesV23(view, viewEnd, scan);
    tag.Values = ValuesFromFrames(scan);
}

} // namespace

ParsedTag ParseTag(std::span<const std::uint8_t> fileStart, std::int64_t fileLength)
{
    ParsedTag tag;
    FrameScan scan;
    if (!BeginParse(fileStart.first(std::min(fileStart.size(), kHeaderSize)), fileLength, tag, scan))
        return tag;
    SpanView view(fileStart);
    ReadFrames(view, static_cast<std::int64_t>(fileStart.size()), scan, tag);
    if (scan.FrameData[RowRating].empty()) {
        const std::size_t tagBytes = std::min(fileStart.size(), static_cast<std::size_t>(tag.TagSize));
        tag.Values.Rating = PopularimeterRating(fileStart.first(tagBytes));
    }
    return tag;
}

ParsedTag ParseTagFrameByFrame(io::ByteSource& song)
{
    ParsedTag tag;
    FrameScan scan;
    SourceView head(song, song.Length());
    const auto header = head.At(0, static_cast<std::int64_t>(kHeaderSize));
    if (!header || !BeginParse(*header, song.Length(), tag, scan))
        return tag;
    const std::int64_t reach = ScanReach(scan.Header, scan.FileLength);
    SourceView view(song, reach);
    ReadFrames(view, reach, scan, tag);
    if (scan.FrameData[RowRating].empty())
        tag.Values.Rating = PopularimeterRating(song, tag.TagSize);
    return tag;
}

} // namespace id3v2
