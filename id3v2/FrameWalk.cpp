#include "id3v2/FrameWalk.h"

#include "id3v2/ByteOrder.h"
#include "id3v2/ExtendedHeader.h"
#include "id3v2/HeaderFlags.h"
#include "id3v2/TagHeader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <string>

namespace id3v2 {
namespace {

using namespace flags;
using Bytes = std::span<const std::uint8_t>;

// The first bytes (at most `most`) of a zlib stream; none when it is no valid stream. The output
// buffer starts at 64 KiB and doubles as it fills, so a large bound costs nothing for small frames.
std::optional<std::vector<std::uint8_t>> Inflated(Bytes compressed, std::int64_t most)
{
    const auto bound = static_cast<std::size_t>(std::max<std::int64_t>(most, 0));
    std::vector<std::uint8_t> out(std::min<std::size_t>(bound, 64 * 1024));
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(compressed.size(), UINT32_MAX));
    int result = Z_OK;
    std::size_t produced = 0;
    for (;;) {
        stream.next_out = out.data() + produced;
        stream.avail_out = static_cast<uInt>(out.size() - produced);
        result = inflate(&stream, Z_SYNC_FLUSH);
        produced = out.size() - stream.avail_out;
        if (result != Z_OK || produced < out.size() || out.size() == bound)
            break;
        out.resize(std::min(bound, out.size() * 2));
    }
    inflateEnd(&stream);
    // A stream that ended, or one cut at the bound, has given what it holds up to there; one
    // that stops short of its end is broken.
    if (result != Z_STREAM_END && produced < out.size())
        return std::nullopt;
    out.resize(produced);
    return out;
}

// Whether the bytes are a frame ID: capital letters and digits.
bool IsFrameId(Bytes id)
{
    return std::all_of(id.begin(), id.end(), [](std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// Where the frames start within the tag's body: after the extended header of a 2.3 or 2.4 tag
// that has one. None when that header does not fit.
std::optional<std::int64_t> FramesStart(TagView& frames, std::uint8_t version, std::uint8_t flags)
{
    if (version < 3 || !(flags & kTagExtendedHeader))
        return 0;
    const auto sizeBytes = frames.At(0, 4);
    if (!sizeBytes)
        return std::nullopt;
    const auto extended = ExtendedHeaderLength(sizeBytes->first<4>(), version, ExtendedSizeRule::Strict);
    if (!extended || !frames.SkipTo(*extended))
        return std::nullopt;
    return extended;
}

// A frame header's data size by its version: 24 bits in 2.2, 32 in 2.3, syncsafe in 2.4 (none
// when a byte has its top bit set, unless the rules drop those bits).
std::optional<std::int64_t> FrameSize(const std::array<std::uint8_t, 10>& header, std::uint8_t version, const FrameRules& rules)
{
    if (version == 2)
        return BigEndian(header.data() + 3, 3);
    if (version == 3)
        return BigEndian(header.data() + 4, 4);
    if (rules.lenientSizes)
        return SyncsafeMasked(header.data() + 4);
    return SyncsafeStrict(header.data() + 4);
}

// Whether a header starts a frame: its ID letters and digits (a zero byte is padding), or, by
// lenient rules, its first byte an upper-case letter.
bool StartsFrame(std::span<const std::uint8_t> id, const FrameRules& rules)
{
    if (rules.lenientIds)
        return id[0] >= 'A' && id[0] <= 'Z';
    return id[0] != 0 && IsFrameId(id);
}

} // namespace

void WalkFrameList(TagView& frames, std::int64_t pos, std::int64_t headersBefore, FrameSite site, const FrameVisitor& visitor,
                   std::int64_t mostContent, const FrameRules& rules)
{
    const std::size_t idSize = site.Version == 2 ? 3 : 4;
    const std::int64_t headerSize = site.Version == 2 ? 6 : 10;
    while (pos < headersBefore) {
        const auto bytes = frames.At(pos, headerSize);
        if (!bytes)
            return;
        // Copied: the view's bytes last only until its next read.
        std::array<std::uint8_t, 10> header{};
        std::copy(bytes->begin(), bytes->end(), header.begin());
        if (!StartsFrame(std::span(header).first(idSize), rules))
            return; // padding, or no frame
        const std::optional<std::int64_t> size = FrameSize(header, site.Version, rules);
        if (!size)
            return;
        site.Size = *size;
        site.StatusFlags = site.Version == 2 ? 0 : header[8];
        site.FormatFlags = site.Version == 2 ? 0 : header[9];
        const std::string id(reinterpret_cast<const char*>(header.data()), idSize);
        site.Id = id;
        const std::int64_t dataStart = pos + headerSize;
        const std::int64_t end = dataStart + site.Size;
        std::vector<std::uint8_t> kept;
        const bool wanted = visitor.Wants(site);
        if (wanted) {
            const std::int64_t extent = visitor.Extent ? visitor.Extent(site) : mostContent;
            const auto data = frames.At(dataStart, std::min(site.Size, extent));
            if (!data)
                return;
            kept.assign(data->begin(), data->end());
        }
        if (!frames.SkipTo(end) && !rules.visitFramesRunningPast)
            return; // the frame does not fit in the tag
        if (wanted && !visitor.Visit(site, kept))
            return;
        pos = end;
    }
}

void WalkFrameList(TagView& frames, std::uint8_t version, bool tagUnsynchronised, const FrameVisitor& visitor,
                   std::int64_t mostContent)
{
    FrameSite site;
    site.Version = version;
    site.TagUnsynchronised = tagUnsynchronised;
    WalkFrameList(frames, 0, std::numeric_limits<std::int64_t>::max(), site, visitor, mostContent, kStandardFrames);
}

bool WalkFrames(TagView& tag, const FrameVisitor& visitor, std::int64_t mostContent)
{
    const auto head = tag.At(0, static_cast<std::int64_t>(kHeaderSize));
    if (!head)
        return false;
    TagHeader header;
    header.SetBytes(*head);
    FrameSite site;
    site.Version = header.MajorVersion;
    const std::uint8_t flags = header.Flags;
    const std::optional<std::uint32_t> size = StandardBodySize(header);
    if (!header.HasIdentifier() || site.Version < 2 || site.Version > 4 || !size)
        return false;
    if (site.Version == 2 && (flags & kTagCompressedV22))
        return false;
    // The frames (and the extended header) after the header; a footer is not part of them.
    SubView body(tag, 10, 10 + std::int64_t{*size});
    ResynchronisedView resynchronised(body);
    site.TagUnsynchronised = flags & kTagUnsynchronised;
    TagView& frames = site.TagUnsynchronised && site.Version <= 3 ? static_cast<TagView&>(resynchronised) : body;
    const std::optional<std::int64_t> start = FramesStart(frames, site.Version, flags);
    if (!start)
        return false;
    WalkFrameList(frames, *start, std::numeric_limits<std::int64_t>::max(), site, visitor, mostContent, kStandardFrames);
    return true;
}

std::size_t FrameContentPrefix(std::uint8_t version, std::uint8_t formatFlags)
{
    if (version == 3)
        return ((formatFlags & kV23Compressed) ? 4 : 0) + ((formatFlags & kV23Encrypted) ? 1 : 0) +
               ((formatFlags & kV23Grouped) ? 1 : 0);
    if (version == 4)
        return ((formatFlags & kV24Grouped) ? 1 : 0) + ((formatFlags & kV24Encrypted) ? 1 : 0) +
               ((formatFlags & kV24DataLength) ? 4 : 0);
    return 0;
}

bool FrameDataUnsynchronised(std::uint8_t version, bool tagUnsynchronised, std::uint8_t formatFlags)
{
    return version == 4 && (tagUnsynchronised || (formatFlags & kV24Unsynchronised));
}

std::optional<std::vector<std::uint8_t>> FrameContent(const FrameSite& frame, std::span<const std::uint8_t> data,
                                                     std::int64_t mostContent)
{
    // Version 2.4 frames may be unsynchronised, each by itself: only they need a copy first.
    std::vector<std::uint8_t> resynchronised;
    Bytes stored = data;
    std::size_t skip = 0;
    bool compressed = false;
    if (frame.Version == 3) {
        compressed = frame.FormatFlags & kV23Compressed;
        if (frame.FormatFlags & kV23Encrypted)
            return std::nullopt;
    } else if (frame.Version == 4) {
        if (FrameDataUnsynchronised(frame.Version, frame.TagUnsynchronised, frame.FormatFlags)) {
            resynchronised = Resynchronised(data);
            stored = resynchronised;
        }
        compressed = frame.FormatFlags & kV24Compressed;
        if (frame.FormatFlags & kV24Encrypted)
            return std::nullopt;
    }
    skip = frame.Version == 2 ? 0 : FrameContentPrefix(frame.Version, frame.FormatFlags);
    if (skip > stored.size())
        return std::nullopt;
    const Bytes content = stored.subspan(skip);
    if (compressed)
        return Inflated(content, mostContent);
    return std::vector<std::uint8_t>(content.begin(), content.end());
}

} // namespace id3v2
