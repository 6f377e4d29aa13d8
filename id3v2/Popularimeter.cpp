#include "id3v2/Popularimeter.h"

#include "id3v2/HeaderFlags.h"
#include "id3v2/TagView.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

// A complete parse of the tag, as the ID3v2.2, 2.3 and 2.4 standards define it, for one purpose:
// the rating of the first popularimeter.
namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

using namespace flags;

// A popularimeter holds an e-mail address, the rating and a play counter: the inflated bytes
// that could matter are few, and no more than this is ever inflated.
constexpr std::size_t kMostInflated = std::size_t{1} << 16;

std::uint32_t BigEndian(const std::uint8_t* p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

// A syncsafe 32-bit number (7 bits a byte); none when a byte has its top bit set.
std::optional<std::uint32_t> Syncsafe(const std::uint8_t* p)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] & 0x80)
            return std::nullopt;
        value = value << 7 | p[i];
    }
    return value;
}

// Unsynchronisation undone: every 0xFF 0x00 becomes 0xFF.
std::vector<std::uint8_t> Resynchronised(Bytes bytes)
{
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    bool lastKeptFF = false;
    AppendResynchronised(bytes, out, lastKeptFF);
    return out;
}

// The first bytes (at most kMostInflated) of a zlib stream; none when it is no valid stream.
std::optional<std::vector<std::uint8_t>> Inflated(Bytes compressed)
{
    std::vector<std::uint8_t> out(kMostInflated);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(compressed.size(), UINT32_MAX));
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_SYNC_FLUSH);
    const std::size_t produced = out.size() - stream.avail_out;
    inflateEnd(&stream);
    // A stream that ended, or one cut at the bound, has given what it holds up to there; one
    // that stops short of its end is broken.
    if (result != Z_STREAM_END && produced < out.size())
        return std::nullopt;
    out.resize(produced);
    return out;
}

// The rating of a popularimeter's data: the byte after the zero byte that ends the e-mail
// address; 0 when the address has no end or no byte follows it.
std::uint8_t RatingAfterAddress(Bytes data)
{
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    if (end == data.end() || end + 1 == data.end())
        return 0;
    return *(end + 1);
}

// The popularimeter's own data from a frame's data, by the frame's format flags; none for an
// encrypted frame or one whose extra bytes do not fit.
std::optional<std::vector<std::uint8_t>> FrameContent(std::uint8_t version, bool tagUnsynchronised,
                                                      std::uint8_t formatFlags, Bytes data)
{
    std::vector<std::uint8_t> stored(data.begin(), data.end());
    std::size_t skip = 0;
    bool compressed = false;
    if (version == 3) {
        // After the header: the inflated size (4 bytes), the encryption method, the group.
        compressed = formatFlags & kV23Compressed;
        if (formatFlags & kV23Encrypted)
            return std::nullopt;
        skip = (compressed ? 4 : 0) + ((formatFlags & kV23Grouped) ? 1 : 0);
    } else if (version == 4) {
        if (tagUnsynchronised || (formatFlags & kV24Unsynchronised))
            stored = Resynchronised(stored);
        // The group, the encryption method and the data length, in that order.
        compressed = formatFlags & kV24Compressed;
        if (formatFlags & kV24Encrypted)
            return std::nullopt;
        skip = ((formatFlags & kV24Grouped) ? 1 : 0) + ((formatFlags & kV24DataLength) ? 4 : 0);
    }
    if (skip > stored.size())
        return std::nullopt;
    stored.erase(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(skip));
    if (!compressed)
        return stored;
    return Inflated(stored);
}

// Whether the bytes are a frame ID: capital letters and digits.
bool IsFrameId(Bytes id)
{
    return std::all_of(id.begin(), id.end(), [](std::uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// Whether "POP" (the version 2.2 ID, and the start of POPM) stands anywhere in the bytes. A
// frame's ID is never compressed, encrypted or changed by unsynchronisation (which only adds
// zero bytes after 0xFF), so a complete parse cannot find a popularimeter in a tag without it.
bool MayHoldPopularimeter(Bytes tagBytes)
{
    constexpr std::string_view kId = "POP";
    const std::string_view bytes(reinterpret_cast<const char*>(tagBytes.data()), tagBytes.size());
    return bytes.find(kId) != std::string_view::npos;
}

// A popularimeter's data is read up to this many bytes: an address, the rating and a counter
// take far fewer.
constexpr std::int64_t kMostPopularimeterData = 64 * 1024;

std::uint8_t RatingOfTag(TagView& tag)
{
    const auto head = tag.At(0, 10);
    if (!head)
        return 0;
    const std::array<std::uint8_t, 10> h = {(*head)[0], (*head)[1], (*head)[2], (*head)[3], (*head)[4],
                                            (*head)[5], (*head)[6], (*head)[7], (*head)[8], (*head)[9]};
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3')
        return 0;
    const std::uint8_t version = h[3];
    const std::uint8_t flags = h[5];
    const std::optional<std::uint32_t> size = Syncsafe(h.data() + 6);
    if (version < 2 || version > 4 || !size)
        return 0;
    if (version == 2 && (flags & kTagCompressedV22))
        return 0;
    // The frames (and the extended header) after the header; a footer is not part of them.
    SubView body(tag, 10, 10 + std::int64_t{*size});
    ResynchronisedView resynchronised(body);
    const bool unsynchronised = flags & kTagUnsynchronised;
    TagView& frames = unsynchronised && version <= 3 ? static_cast<TagView&>(resynchronised) : body;

    std::int64_t pos = 0;
    if (version >= 3 && (flags & kTagExtendedHeader)) {
        const auto sizeBytes = frames.At(0, 4);
        if (!sizeBytes)
            return 0;
        // Version 2.3: a plain size that leaves out its own 4 bytes; 2.4: a syncsafe size that
        // counts the whole extended header.
        std::int64_t extended = 0;
        if (version == 3) {
            extended = 4 + std::int64_t{BigEndian(sizeBytes->data(), 4)};
        } else {
            const std::optional<std::uint32_t> counted = Syncsafe(sizeBytes->data());
            if (!counted || *counted < 6)
                return 0;
            extended = *counted;
        }
        if (!frames.SkipTo(extended))
            return 0;
        pos = extended;
    }

    const std::size_t idSize = version == 2 ? 3 : 4;
    const std::int64_t headerSize = version == 2 ? 6 : 10;
    const std::string_view popularimeter = version == 2 ? "POP" : "POPM";
    for (;;) {
        const auto bytes = frames.At(pos, headerSize);
        if (!bytes)
            break;
        std::array<std::uint8_t, 10> header{};
        std::copy(bytes->begin(), bytes->end(), header.begin());
        if (header[0] == 0 || !IsFrameId(std::span(header).first(idSize)))
            break; // padding, or no frame
        std::int64_t frameSize = 0;
        if (version == 2) {
            frameSize = BigEndian(header.data() + 3, 3);
        } else if (version == 3) {
            frameSize = BigEndian(header.data() + 4, 4);
        } else {
            const std::optional<std::uint32_t> syncsafe = Syncsafe(header.data() + 4);
            if (!syncsafe)
                break;
            frameSize = *syncsafe;
        }
        const std::int64_t dataStart = pos + headerSize;
        const std::int64_t end = dataStart + frameSize;
        const std::string_view id(reinterpret_cast<const char*>(header.data()), idSize);
        if (id == popularimeter) {
            const auto data = frames.At(dataStart, std::min(frameSize, kMostPopularimeterData));
            if (!data)
                return 0;
            const std::vector<std::uint8_t> kept(data->begin(), data->end());
            if (!frames.SkipTo(end))
                return 0; // the frame does not fit in the tag
            const std::uint8_t formatFlags = version == 2 ? 0 : header[9];
            const auto content = FrameContent(version, unsynchronised, formatFlags, kept);
            return content ? RatingAfterAddress(*content) : 0;
        }
        if (!frames.SkipTo(end))
            break; // the frame does not fit in the tag
        pos = end;
    }
    return 0;
}

} // namespace

std::uint8_t PopularimeterRating(std::span<const std::uint8_t> tagBytes) noexcept
{
    // Most tags that other programs write carry no popularimeter: their answer is 0 at once.
    if (!MayHoldPopularimeter(tagBytes))
        return 0;
    try {
        SpanView view(tagBytes);
        return RatingOfTag(view);
    } catch (...) {
        // Only an allocation can fail.
        return 0;
    }
}

std::uint8_t PopularimeterRating(io::ByteSource& song, std::int64_t tagEnd) noexcept
{
    try {
        SourceView view(song, std::min(tagEnd, song.Length()));
        return RatingOfTag(view);
    } catch (...) {
        return 0;
    }
}

} // namespace id3v2
