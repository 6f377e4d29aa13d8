#include "id3v2/TagBuilder.h"

#include "id3v2/FrameScanner.h"
#include "id3v2/FrameWalk.h"
#include "id3v2/TextDecoding.h"
#include "id3v2/WideText.h"
#include "text/IntegerText.h"

#include <algorithm>

namespace id3v2 {
namespace {

constexpr std::int64_t kFrameOverhead = 11; // 10 header bytes and the encoding byte
// The largest tag size (without its header) that the 28 bits of a syncsafe size can hold.
constexpr std::int64_t kLargestTagBody = (std::int64_t{1} << 28) - 1;

std::int64_t FramesSize(const TagPlan& plan)
{
    std::int64_t size = static_cast<std::int64_t>(plan.OtherFrames.size());
    for (const std::string& text : plan.FrameData)
        if (!text.empty())
            size += static_cast<std::int64_t>(text.size()) + kFrameOverhead;
    return size;
}

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendFrame(std::vector<std::uint8_t>& out, std::string_view id, std::uint8_t encoding, const std::string& text)
{
    out.insert(out.end(), id.begin(), id.end());
    AppendBigEndian32(out, static_cast<std::uint32_t>(text.size() + 1));
    out.push_back(0); // flags
    out.push_back(0);
    out.push_back(encoding);
    out.insert(out.end(), text.begin(), text.end());
}

// A text frame's data: the single-byte text, or its UTF-16 form (after `widePrefix`) where a
// reader of the standard would misread the single bytes and the wide frame stays readable whole.
void SetTextData(TagPlan& plan, Row row, std::string singleByte, std::string_view text, std::string_view widePrefix)
{
    plan.FrameEncoding[row] = EncodingLatin1;
    plan.FrameData[row] = std::move(singleByte);
    if (!WritesAsWideText(text))
        return;
    std::string wide = std::string(widePrefix) + WideText(text);
    if (wide.size() + 1 > kFrameDataSize)
        return;
    plan.FrameEncoding[row] = EncodingUtf16;
    plan.FrameData[row] = std::move(wide);
}

// Whether the kept frames (version 2.3 frames, headers included) hold a frame of this ID.
bool KeptFramesHold(std::span<const std::uint8_t> kept, std::string_view id)
{
    bool held = false;
    SpanView frames(kept);
    const auto sameId = [&](const FrameSite& site) {
        held = held || site.Id == id;
        return false; // no frame's data is wanted
    };
    WalkFrameList(frames, 3, false, {sameId, nullptr});
    return held;
}

// A comment or link with no value, beside kept frames of its ID (another language, description
// or e-mail), is written as an empty frame after them: a reader that lets the last frame of an
// ID decide then reads back no value, not the kept frame's.
void StandInForNoValue(TagPlan& plan, Row row, std::string_view id, std::string data)
{
    if (plan.FrameData[row].empty() && KeptFramesHold(plan.OtherFrames, id)) {
        plan.FrameEncoding[row] = EncodingLatin1;
        plan.FrameData[row] = std::move(data);
    }
}

} // namespace

void FillFrameData(const TagValues& values, TagPlan& plan)
{
    for (const FrameRow& f : kFrameTable) {
        std::string& data = plan.FrameData[f.row];
        plan.FrameEncoding[f.row] = EncodingLatin1;
        const std::string& text = values.Text[f.row];
        switch (f.write) {
        case WriteAs::Text:
            SetTextData(plan, f.row, text, text, {});
            break;
        case WriteAs::TrackNumber:
            data = values.Track != 0 ? text::DecimalText(values.Track) : std::string();
            break;
        case WriteAs::Comment:
            if (!text.empty())
                SetTextData(plan, f.row, std::string("eng") + '\0' + text, text, std::string_view("eng\xFF\xFE\0\0", 7));
            else
                data.clear();
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
    if (!plan.OtherFrames.empty()) {
        StandInForNoValue(plan, RowComment, "COMM", std::string("eng") + '\0');
        StandInForNoValue(plan, RowLink, "WXXX", std::string(1, '\0'));
    }
}

bool BuildTagHeader(TagPlan& plan)
{
    const std::int64_t newSize = static_cast<std::int64_t>(kHeaderSize) + FramesSize(plan);
    if (newSize - static_cast<std::int64_t>(kHeaderSize) > kLargestTagBody)
        return false;
    const std::int64_t old = TotalTagSize(plan.Header, plan.FileLength);
    plan.NeedRewrite = !plan.Header.HasIdentifier() || old < newSize || old > kRebuiltTagSize;
    plan.PaddingSize = static_cast<std::int32_t>(plan.NeedRewrite ? kRebuiltTagSize - newSize : old - newSize);
    const std::int64_t total = newSize + std::max(plan.PaddingSize, 0);
    const std::int64_t body = total - static_cast<std::int64_t>(kHeaderSize);

    TagHeader& header = plan.Header;
    header.Identifier = {'I', 'D', '3'};
    header.MajorVersion = 3;
    header.Revision = 0;
    header.Flags = 0;
    for (int k = 0; k < 4; ++k)
        header.SizeBytes[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((body >> (7 * (3 - k))) & 0x7F);
    return true;
}

std::vector<std::uint8_t> AssembleTag(const TagPlan& plan)
{
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + static_cast<std::size_t>(FramesSize(plan)) + static_cast<std::size_t>(std::max(plan.PaddingSize, 0)));
    const auto header = plan.Header.Bytes();
    out.insert(out.end(), header.begin(), header.end());
    // A tag is read with the last frame of an ID winning, and the other frames kept may hold more
    // comments, links and ratings: the table's own come after them, so that they are read back.
    const auto described = [](const FrameRow& f) { return f.row == RowComment || f.row == RowLink || f.row == RowRating; };
    const auto append = [&](bool describedOnes) {
        for (const FrameRow& f : kFrameTable)
            if (!plan.FrameData[f.row].empty() && described(f) == describedOnes)
                AppendFrame(out, f.idV23, plan.FrameEncoding[f.row], plan.FrameData[f.row]);
    };
    if (plan.OtherFrames.empty()) {
        for (const FrameRow& f : kFrameTable)
            if (!plan.FrameData[f.row].empty())
                AppendFrame(out, f.idV23, plan.FrameEncoding[f.row], plan.FrameData[f.row]);
    } else {
        append(false);
        out.insert(out.end(), plan.OtherFrames.begin(), plan.OtherFrames.end());
        append(true);
    }
    out.resize(out.size() + static_cast<std::size_t>(std::max(plan.PaddingSize, 0)), 0);
    return out;
}

bool BuildNewTag(const TagValues& values, TagPlan& plan, std::vector<std::uint8_t>& tag)
{
    tag.clear();
    FillFrameData(values, plan);
    if (!BuildTagHeader(plan))
        return false;
    tag = AssembleTag(plan);
    return true;
}

} // namespace id3v2
