#include "id3v2/FrameScanner.h"

#include "id3v2/ByteOrder.h"
#include "id3v2/ExtendedHeader.h"
#include "id3v2/FrameWalk.h"
#include "id3v2/HeaderFlags.h"
#include "id3v2/TextDecoding.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace id3v2 {
namespace {

using namespace flags;

bool IsUpperLetter(std::uint8_t byte)
{
    return byte >= 'A' && byte <= 'Z';
}

// Whether the scan can keep a frame's data: not when it is compressed or encrypted.
bool Readable(std::uint8_t majorVersion, std::uint8_t formatFlags)
{
    if (majorVersion == 3)
        return (formatFlags & (kV23Compressed | kV23Encrypted)) == 0;
    return (formatFlags & (kV24Compressed | kV24Encrypted)) == 0;
}

// Zero bytes kept after a frame's data (within the 500 bytes). Three are as good as filling the
// 500 bytes with zeros for every reader of kept data: a text ends, an odd UTF-16 byte completes
// its unit, a description finds its terminator at either byte parity, and a popularimeter of one
// byte has a second one.
constexpr std::size_t kKeptZeros = 3;

// A frame's content as the scan keeps it: its first 500 bytes (undone first, when unsynchronised),
// then zero bytes.
std::string KeptData(std::span<const std::uint8_t> content, bool unsynchronised)
{
    std::vector<std::uint8_t> undone;
    if (unsynchronised) {
        undone = Resynchronised(content);
        content = undone;
    }
    std::string data(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(std::min(content.size(), kFrameDataSize)));
    data.resize(std::min(kFrameDataSize, data.size() + kKeptZeros), '\0');
    return data;
}

// Another view's bytes from offset `shift` on: the body of a tag, undone, where the walk
// expects it (after the tag's header).
class ShiftedView final : public TagView {
public:
    ShiftedView(TagView& inner, std::int64_t shift)
        : inner_(inner)
        , shift_(shift)
    {
    }
    std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) override
    {
        return offset < shift_ ? std::nullopt : inner_.At(offset - shift_, count);
    }
    bool Reaches(std::int64_t offset) override { return offset >= shift_ && inner_.Reaches(offset - shift_); }
    bool SkipTo(std::int64_t offset) override { return offset >= shift_ && inner_.SkipTo(offset - shift_); }

private:
    TagView& inner_;
    std::int64_t shift_;
};


} // namespace

std::int64_t ScanReach(const TagHeader& header, std::int64_t fileLength)
{
    // The data of the last frame may start after a group byte and a data length (5 bytes).
    const std::int64_t reach =
        std::int64_t{TotalTagSize(header, fileLength)} + static_cast<std::int64_t>(kHeaderSize + 5 + kFrameDataSize);
    return std::min(reach, fileLength);
}

std::int64_t FirstFrameOffset(TagView& view, const TagHeader& header, std::int64_t viewEnd)
{
    constexpr auto kStart = static_cast<std::int64_t>(kHeaderSize);
    if ((header.MajorVersion != 3 && header.MajorVersion != 4) || !(header.Flags & kTagExtendedHeader))
        return kStart;
    // Some taggers set the flag without writing an extended header; a real one's size begins
    // with a zero byte, a frame with an upper-case letter.
    const auto first = view.At(kStart, 1);
    if (first && IsUpperLetter((*first)[0]))
        return kStart;
    const auto sizeBytes = view.At(kStart, 4);
    if (!sizeBytes)
        return viewEnd;
    const auto length = ExtendedHeaderLength(sizeBytes->first<4>(), header.MajorVersion, ExtendedSizeRule::Lenient);
    return length ? kStart + *length : viewEnd; // the lenient rule always gives a length
}

void StoreFrame(std::string_view id, std::string data, FrameScan& scan)
{
    const auto& ids = scan.Header.MajorVersion <= 2 ? FrameIdsV22 : FrameIdsV23;
    const std::uint8_t first = data.empty() ? 0 : static_cast<std::uint8_t>(data[0]);
    std::string* previous = nullptr; // a row matched earlier gets a copy, the last one the data
    for (std::size_t row = 0; row < kFrameRows; ++row) {
        if (ids[row] != id)
            continue;
        const bool accepted = row == RowRating ? first <= EncodingUtf16 : IsKnownTextEncoding(first);
        if (!accepted)
            continue;
        if (previous)
            *previous = data;
        previous = &scan.FrameData[row];
    }
    if (previous)
        *previous = std::move(data);
}

namespace {

// The scan's frames: the one frame loop by the scan's lenient rules, from the first frame to the
// tag's end as its header gives it (each size byte taken whole), frame data read as far as the
// view goes. A compressed or encrypted frame is passed over; of every other, its first 500 bytes
// of content (undone, for a version 2.4 frame unsynchronised by itself) are kept.
void WalkFrameHeaders(TagView& view, std::int64_t viewEnd, FrameScan& scan, bool version22)
{
    const bool tagUnsynchronised = scan.Header.Flags & kTagUnsynchronised;
    FrameSite site;
    site.Version = version22 ? 2 : scan.Header.MajorVersion;
    site.TagUnsynchronised = tagUnsynchronised;
    const auto prefixOf = [](const FrameSite& frame) {
        return std::min(static_cast<std::int64_t>(FrameContentPrefix(frame.Version, frame.FormatFlags)), frame.Size);
    };
    const auto undone = [](const FrameSite& frame) {
        return FrameDataUnsynchronised(frame.Version, frame.TagUnsynchronised, frame.FormatFlags);
    };
    FrameVisitor visitor;
    visitor.Wants = [](const FrameSite& frame) { return frame.Version == 2 || Readable(frame.Version, frame.FormatFlags); };
    // No more than twice as many raw bytes make the 500 kept of an unsynchronised frame.
    visitor.Extent = [&](const FrameSite& frame) {
        return prefixOf(frame) + static_cast<std::int64_t>(undone(frame) ? 2 * kFrameDataSize : kFrameDataSize);
    };
    visitor.Visit = [&](const FrameSite& frame, std::span<const std::uint8_t> stored) {
        StoreFrame(frame.Id, KeptData(stored.subspan(static_cast<std::size_t>(prefixOf(frame))), undone(frame)), scan);
        return true;
    };
    const std::int64_t tagEnd = TotalTagSize(scan.Header, scan.FileLength);
    WalkFrameList(view, FirstFrameOffset(view, scan.Header, viewEnd), std::min(tagEnd, viewEnd), site, visitor,
                  kFrameDataSize, kScanFrames);
}

// A tag of version 2.2 or 2.3 unsynchronised as a whole is walked as a standard reader walks it:
// over its body with unsynchronisation undone, frame sizes and positions counting the undone
// bytes, the tag ending where the undone body does. Every other tag is walked as it is stored.
void ScanFrameHeaders(TagView& view, std::int64_t viewEnd, FrameScan& scan, bool version22)
{
    if (scan.Header.MajorVersion >= 4 || !(scan.Header.Flags & kTagUnsynchronised)) {
        WalkFrameHeaders(view, viewEnd, scan, version22);
        return;
    }
    const std::int64_t tagEnd = std::min<std::int64_t>(TotalTagSize(scan.Header, scan.FileLength), viewEnd);
    constexpr auto kBodyStart = static_cast<std::int64_t>(kHeaderSize);
    SubView body(view, kBodyStart, std::max(tagEnd, kBodyStart));
    ResynchronisedView undone(body);
    ShiftedView undoneBody(undone, kBodyStart);
    WalkFrameHeaders(undoneBody, tagEnd, scan, version22);
}

} // namespace

void ScanFramesV23(TagView& view, std::int64_t viewEnd, FrameScan& scan)
{
    ScanFrameHeaders(view, viewEnd, scan, false);
}

void ScanFramesV22(TagView& view, std::int64_t viewEnd, FrameScan& scan)
{
    ScanFrameHeaders(view, viewEnd, scan, true);
}

} // namespace id3v2
