#include "id3v2/TagView.h"

#include <algorithm>

namespace id3v2 {
namespace {

// Raw bytes decoded in one step of a resynchronised view.
constexpr std::int64_t kDecodeStep = 64 * 1024;

} // namespace

void AppendResynchronised(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out, bool& lastKeptFF)
{
    for (const std::uint8_t byte : bytes) {
        if (lastKeptFF && byte == 0x00) {
            lastKeptFF = false;
            continue;
        }
        out.push_back(byte);
        lastKeptFF = byte == 0xFF;
    }
}

std::vector<std::uint8_t> Resynchronised(std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> out;
    out.reserve(bytes.size());
    bool lastKeptFF = false;
    AppendResynchronised(bytes, out, lastKeptFF);
    return out;
}

std::optional<std::span<const std::uint8_t>> SpanView::At(std::int64_t offset, std::int64_t count)
{
    const auto size = static_cast<std::int64_t>(bytes_.size());
    if (offset < 0 || count < 0 || offset > size || count > size - offset)
        return std::nullopt;
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

std::optional<std::span<const std::uint8_t>> SourceView::At(std::int64_t offset, std::int64_t count)
{
    if (offset < 0 || count < 0 || offset > end_ || count > end_ - offset)
        return std::nullopt;
    buffer_.resize(static_cast<std::size_t>(count));
    if (song_.ReadPassing(offset, buffer_) != count) {
        end_ = offset; // a read error ends the view where it struck
        return std::nullopt;
    }
    return std::span<const std::uint8_t>(buffer_);
}

std::optional<std::span<const std::uint8_t>> SubView::At(std::int64_t offset, std::int64_t count)
{
    if (offset < 0 || count < 0 || count > end_ - begin_ - offset)
        return std::nullopt;
    return inner_.At(begin_ + offset, count);
}

bool SubView::Reaches(std::int64_t offset)
{
    return offset >= 0 && offset <= end_ - begin_ && inner_.Reaches(begin_ + offset);
}

void ResynchronisedView::DropBeforeFloor()
{
    const std::int64_t drop = std::min<std::int64_t>(floor_ - outStart_, static_cast<std::int64_t>(out_.size()));
    if (drop <= 0)
        return;
    out_.erase(out_.begin(), out_.begin() + drop);
    outStart_ += drop;
}

void ResynchronisedView::DecodeUntil(std::int64_t until)
{
    while (!rawEnded_ && DecodedEnd() < until) {
        // Whole steps while the inner view holds them; the last step takes what remains.
        std::int64_t step = kDecodeStep;
        std::optional<std::span<const std::uint8_t>> raw;
        while (step > 0 && !(raw = inner_.At(rawPos_, step)))
            step /= 2;
        if (!raw) {
            rawEnded_ = true;
            return;
        }
        AppendResynchronised(*raw, out_, lastKeptFF_);
        rawPos_ += static_cast<std::int64_t>(raw->size());
        DropBeforeFloor();
    }
}

std::optional<std::span<const std::uint8_t>> ResynchronisedView::At(std::int64_t offset, std::int64_t count)
{
    if (offset < floor_ || count < 0)
        return std::nullopt;
    floor_ = offset;
    DropBeforeFloor();
    DecodeUntil(offset + count);
    if (outStart_ != offset && !out_.empty())
        return std::nullopt;
    if (DecodedEnd() < offset + count)
        return std::nullopt;
    return std::span<const std::uint8_t>(out_).first(static_cast<std::size_t>(count));
}

bool ResynchronisedView::Reaches(std::int64_t offset)
{
    DecodeUntil(offset);
    return offset <= DecodedEnd();
}

bool ResynchronisedView::SkipTo(std::int64_t offset)
{
    if (offset > floor_)
        floor_ = offset;
    DropBeforeFloor();
    DecodeUntil(offset);
    return offset <= DecodedEnd();
}

} // namespace id3v2
