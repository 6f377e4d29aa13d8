#include "id3v2/TagBuilder.h"

#include "id3v2/TextDecoding.h"
#include "text/IntegerText.h"

#include <algorithm>

namespace id3v2 {
namespace {

constexpr std::int64_t kFrameOverhead = 11; // 10 header bytes and the encoding byte
// The largest tag size (without its header) that the 28 bits of a syncsafe size can hold.
constexpr std::int64_t kLargestTagBody = (std::int64_t{1} << 28) - 1;

std::int64_t FramesSize(const TagInfo& info)
{
    std::int64_t size = 0;
    for (const std::string& text : info.FrameData)
        if (!text.empty())
            size += static_cast<std::int64_t>(text.size()) + kFrameOverhead;
    return size;
}

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendFrame(std::vector<std::uint8_t>& out, std::string_view id, const std::string& text)
{
    out.insert(out.end(), id.begin(), id.end());
    AppendBigEndian32(out, static_cast<std::uint32_t>(text.size() + 1));
    out.push_back(0); // flags
    out.push_back(0);
    out.push_back(EncodingLatin1);
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace

void FillFrameData(const TagValues& values, TagInfo& info)
{
    for (const FrameRow& f : kFrameTable) {
        std::string& data = info.FrameData[f.row];
        const std::string& text = values.Text[f.row];
        switch (f.write) {
        case WriteAs::Text:
            data = text;
            break;
        case WriteAs::TrackNumber:
            data = values.Track != 0 ? text::DecimalText(values.Track) : std::string();
            break;
        case WriteAs::Comment:
            data = text.empty() ? std::string() : std::string("eng") + '\0' + text;
            break;
        case WriteAs::Link:
            data = text.empty() ? std::string() : '\0' + text;
            break;
        case WriteAs::RatingByte:
            data = std::string(1, static_cast<char>(values.Rating));
            break;
        case WriteAs::Never:
            data.clear();
            break;
        }
    }
}

bool BuildTagHeader(TagInfo& info)
{
    const std::int64_t newSize = static_cast<std::int64_t>(kHeaderSize) + FramesSize(info);
    if (newSize - static_cast<std::int64_t>(kHeaderSize) > kLargestTagBody)
        return false;
    const std::int64_t old = TotalTagSize(info);
    info.NeedRewrite = !info.HasIdentifier() || old < newSize || old > kRebuiltTagSize;
    info.PaddingSize = static_cast<std::int32_t>(info.NeedRewrite ? kRebuiltTagSize - newSize : old - newSize);
    const std::int64_t total = newSize + std::max(info.PaddingSize, 0);
    const std::int64_t body = total - static_cast<std::int64_t>(kHeaderSize);

    info.Identifier = {'I', 'D', '3'};
    info.MajorVersion = 3;
    info.Revision = 0;
    info.Flags = 0;
    for (int k = 0; k < 4; ++k)
        info.SizeBytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((body >> (7 * (3 - k))) & 0x7F);
    return true;
}

std::vector<std::uint8_t> AssembleTag(const TagInfo& info)
{
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + static_cast<std::size_t>(FramesSize(info)) + static_cast<std::size_t>(std::max(info.PaddingSize, 0)));
    const auto header = info.HeaderBytes();
    out.insert(out.end(), header.begin(), header.end());
    for (std::size_t row = 0; row < kFrameRows; ++row)
        if (!info.FrameData[row].empty())
            AppendFrame(out, FrameIdsV23[row], info.FrameData[row]);
    out.resize(out.size() + static_cast<std::size_t>(std::max(info.PaddingSize, 0)), 0);
    return out;
}

} // namespace id3v2
