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

// The frame's data as the scan keeps it: the first min(size, 500) bytes at `start`, then zero
// bytes; nothing when the view ends before those bytes do.
std::optional<std::string> KeptFrameData(TagView& view, std::int64_t start, std::int64_t size)
{
    const std::int64_t kept = std::min<std::int64_t>(size, kFrameDataSize);
    const auto bytes = view.At(start, kept);
    if (!bytes)
        return std::nullopt;
    std::string data(bytes->begin(), bytes->end());
    data.resize(std::min(kFrameDataSize, data.size() + kKeptZeros), '\0');
    return data;
}

// A version 2.4 frame's data with its unsynchronisation undone, kept as KeptFrameData keeps it:
// the first 500 undone bytes (no more than twice as many raw ones make them), then zero bytes.
std::optional<std::string> UndoneFrameData(TagView& view, std::int64_t viewEnd, std::int64_t start, std::int64_t size)
{
    std::int64_t raw = std::min<std::int64_t>(size, 2 * static_cast<std::int64_t>(kFrameDataSize));
    // A frame that runs past the view keeps what the view holds of it.
    if (size > raw || start + raw > viewEnd)
        raw = std::max<std::int64_t>(0, std::min(raw, viewEnd - start));
    const auto bytes = view.At(start, raw);
    if (!bytes)
        return std::nullopt;
    const std::vector<std::uint8_t> undone = Resynchronised(*bytes);
    std::string data(undone.begin(), undone.begin() + static_cast<std::ptrdiff_t>(std::min(undone.size(), kFrameDataSize)));
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

std::string_view IdOf(std::span<const std::uint8_t> header, std::size_t length)
{
    return {reinterpret_cast<const char*>(header.data()), length};
}

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

// The scan of both frame layouts: 10-byte headers (versions 3 and 4: a 32-bit size, plain or
// syncsafe, and flags) or 6-byte headers of version 2 (a 24-bit size, no flags).
void WalkFrameHeaders(TagView& view, std::int64_t viewEnd, FrameScan& scan, bool version22)
{
    const std::int64_t frameHeader = version22 ? 6 : 10;
    const std::size_t idSize = version22 ? 3 : 4;
    const std::uint8_t version = scan.Header.MajorVersion;
    const std::int64_t tagEnd = TotalTagSize(scan.Header, scan.FileLength);
    for (std::int64_t pos = FirstFrameOffset(view, scan.Header, viewEnd); pos < tagEnd && pos < viewEnd;) {
        const auto bytes = view.At(pos, frameHeader);
        if (!bytes)
            break;
        // Copied: the view's bytes last only until its next read.
        std::array<std::uint8_t, 10> header{};
        std::copy(bytes->begin(), bytes->end(), header.begin());
        if (!IsUpperLetter(header[0]))
            break;
        const std::int64_t size = version22       ? BigEndian(header.data() + 3, 3)
                                  : version == 4 ? SyncsafeMasked(header.data() + 4)
                                                 : BigEndian(header.data() + 4, 4);
        const std::int64_t dataStart = pos + frameHeader;
        pos = dataStart + size;
        // A compressed or encrypted frame is passed over (a frame after it, if any, is read).
        if (!version22 && !Readable(version, header[9]))
            continue;
        const std::int64_t prefix =
            version22 ? 0 : std::min(static_cast<std::int64_t>(FrameContentPrefix(version, header[9])), size);
        const bool undo = FrameDataUnsynchronised(version, scan.Header.Flags & kTagUnsynchronised, header[9]);
        std::optional<std::string> data = undo ? UndoneFrameData(view, viewEnd, dataStart + prefix, size - prefix)
                                               : KeptFrameData(view, dataStart + prefix, size - prefix);
        if (!data)
            break;
        StoreFrame(IdOf(header, idSize), std::move(*data), scan);
    }
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
