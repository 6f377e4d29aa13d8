#include "id3v2/OtherFrames.h"

#include "id3v2/ByteOrder.h"
#include "id3v2/ChapterFrames.h"
#include "id3v2/EncodedLayouts.h"
#include "id3v2/FrameWalk.h"
#include "id3v2/HeaderFlags.h"
#include "id3v2/TagHeader.h"
#include "id3v2/TagView.h"
#include "id3v2/Timestamp.h"
#include "id3v2/V22Frames.h"
#include "id3v2/V23Encoding.h"
#include "id3v2/V23Forms.h"
#include "id3v2/WrittenFrames.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <string_view>

namespace id3v2 {
namespace {

using namespace flags;
using Bytes = std::span<const std::uint8_t>;
using Output = std::vector<std::uint8_t>;

constexpr std::int64_t kHeaderBytes = 10; // of a tag, and of a version 2.3 or 2.4 frame
constexpr int kMostNesting = 3;          // frames embedded in frames embedded in ...

namespace why {
constexpr std::string_view kEmpty = "empty";
constexpr std::string_view kEncrypted = "encrypted";
constexpr std::string_view kUnreadable = "unreadable";
constexpr std::string_view kTagAlter = "to be discarded when the tag is altered";
constexpr std::string_view kNoV23Form = "no ID3v2.3 form";
constexpr std::string_view kWrittenId = "its ID3v2.3 ID is one the writer writes";
constexpr std::string_view kIplsPresent = "the tag has an IPLS already";
constexpr std::string_view kTooLarge = "too large";
constexpr std::string_view kTooDeep = "nested too deeply";
} // namespace why

struct V23Frame {
    std::string Id;
    std::uint8_t Status = 0;
    std::uint8_t Format = 0;
    Output Data;
};

// A walk over a list of frames with a visitor, and the most of a frame's data it reads; false
// when the bytes are no tag.
using Walk = std::function<bool(const FrameVisitor&, std::int64_t)>;

std::uint8_t V23StatusOf(std::uint8_t v24Status)
{
    return ((v24Status & kV24DiscardOnFileAlter) ? kV23DiscardOnFileAlter : 0) | ((v24Status & kV24ReadOnly) ? kV23ReadOnly : 0);
}

void AppendFrame(const V23Frame& frame, Output& out)
{
    out.insert(out.end(), frame.Id.begin(), frame.Id.end());
    const auto size = static_cast<std::uint32_t>(frame.Data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(size >> shift));
    out.push_back(frame.Status);
    out.push_back(frame.Format);
    out.insert(out.end(), frame.Data.begin(), frame.Data.end());
}

// The frames of one list (a tag's, or those a frame embeds) as version 2.3 frames.
class FrameConversion {
public:
    // room: the bytes the kept frames may still take, shared with the conversions of embedded
    // frames. Every conversion but the tag's own (depth 0) keeps the frames the writer writes.
    FrameConversion(int depth, std::string_view within, std::int64_t& room, std::vector<DroppedFrame>& dropped)
        : depth_(depth)
        , within_(within)
        , room_(room)
        , dropped_(dropped)
    {
    }

    // Walks the frames twice: for the IDs the list has (a frame made from another's is not made
    // again where the list has it already, wherever it stands), then to convert them. False when
    // the bytes are no tag.
    bool Convert(const Walk& walk)
    {
        const auto noData = [this](const FrameSite& site) {
            present_.emplace(site.Id);
            return false;
        };
        if (!walk({noData, nullptr}, kMostFrameContent))
            return false;
        const auto everyFrame = [](const FrameSite&) { return true; };
        const auto visit = [this](const FrameSite& site, Bytes stored) {
            Visit(site, stored);
            return true;
        };
        return walk({everyFrame, visit}, kMostKeptTag);
    }

    // The kept frames, in order.
    Output Finish()
    {
        FinishPeople();
        Output out;
        std::size_t size = 0;
        for (const V23Frame& frame : frames_)
            size += kHeaderBytes + frame.Data.size();
        out.reserve(size);
        for (const V23Frame& frame : frames_)
            AppendFrame(frame, out);
        return out;
    }

private:
    void Visit(const FrameSite& site, Bytes stored)
    {
        const std::string id(site.Id);
        if (!KeepsWrittenFrames() && IsWrittenTextFrame(id, site.Version))
            return;
        if (site.Size == 0)
            return Drop(id, why::kEmpty);
        const std::uint8_t encrypted = site.Version == 3 ? kV23Encrypted : site.Version == 4 ? kV24Encrypted : 0;
        if (site.FormatFlags & encrypted)
            return Drop(id, why::kEncrypted);
        const std::optional<Output> content = FrameContent(site, stored, kMostKeptTag);
        if (!content)
            return Drop(id, why::kUnreadable);
        if (!KeepsWrittenFrames() && IsWrittenFrame(id, site.Version, *content))
            return;
        const std::uint8_t tagAlter = site.Version == 3 ? kV23DiscardOnTagAlter : site.Version == 4 ? kV24DiscardOnTagAlter : 0;
        if (site.StatusFlags & tagAlter)
            return Drop(id, why::kTagAlter);
        if (site.Version == 2)
            KeepV22(id, *content);
        else if (site.Version == 3)
            Keep(id, {id, site.StatusFlags, site.FormatFlags, Output(stored.begin(), stored.end())});
        else
            KeepV24(site, stored, *content);
    }

    bool KeepsWrittenFrames() const { return depth_ > 0; }

    void KeepV22(const std::string& id, const Output& content)
    {
        const V22Form* form = V22FormOf(id);
        if (!form)
            return Drop(id, why::kNoV23Form);
        if (!KeepsWrittenFrames() && IsWrittenTextFrame(form->idV23, 3))
            return Drop(id, why::kWrittenId);
        std::optional<Output> data = V22DataAsV23(form->change, content);
        if (!data)
            return Drop(id, why::kUnreadable);
        Keep(id, {std::string(form->idV23), 0, 0, std::move(*data)});
    }

    void KeepV24(const FrameSite& site, Bytes stored, const Output& content)
    {
        const std::string id(site.Id);
        if (const V24Form* form = V24FormOf(id))
            return ConvertV24Only(id, form->change, content);
        std::size_t embedded = 0;
        std::optional<Output> data = content;
        if (EmbedsFrames(id)) {
            data = WithEmbeddedAsV23(id, content, embedded);
            if (!data)
                return; // dropped there, with its reason
        } else if (const EncodedLayout* layout = EncodedLayoutOf(id)) {
            data = InV23Encoding(FieldsOf(*layout), content);
            if (!data)
                return Drop(id, why::kUnreadable);
        }
        if (data->empty())
            return Drop(id, why::kEmpty); // a data length with nothing after it
        V23Frame frame{id, V23StatusOf(site.StatusFlags), 0, {}};
        // Unsynchronisation never changes a frame's first byte: the group byte is the stored one.
        if ((site.FormatFlags & kV24Grouped) && !stored.empty()) {
            frame.Format = kV23Grouped;
            frame.Data.push_back(stored[0]);
        }
        frame.Data.insert(frame.Data.end(), data->begin(), data->end());
        Keep(id, std::move(frame), embedded);
    }

    void ConvertV24Only(const std::string& id, V24Change change, const Output& content)
    {
        if (change == V24Change::Dropped)
            return Drop(id, why::kNoV23Form);
        const std::optional<TextStrings> text = TextStringsOf(content);
        if (!text)
            return Drop(id, why::kUnreadable);
        if (change == V24Change::InvolvedPeople)
            return AddPeople(id, *text);
        if (text->Strings.empty())
            return;
        const Timestamp stamp = TimestampOf(text->Strings.front());
        // Only the first time of a kind counts; a frame the tag has already is not made again.
        if (!converted_.insert(id).second)
            return;
        if (change == V24Change::DayAndTime) {
            AddDigits(id, "TDAT", DayMonthText(stamp));
            AddDigits(id, "TIME", HourMinuteText(stamp));
        } else {
            AddDigits(id, "TORY", YearText(stamp));
        }
    }

    void AddDigits(const std::string& sourceId, std::string_view id, const std::string& digits)
    {
        if (digits.empty() || present_.contains(id))
            return;
        V23Frame frame{std::string(id), 0, 0, {0}};
        frame.Data.insert(frame.Data.end(), digits.begin(), digits.end());
        Keep(sourceId, std::move(frame));
    }

    // The pairs of both lists join in one IPLS, in the place of the first: the production
    // credits first, then the musicians.
    void AddPeople(const std::string& id, const TextStrings& text)
    {
        if (present_.contains("IPLS"))
            return Drop(id, why::kIplsPresent);
        TextStrings& people = id == "TIPL" ? production_ : musicians_;
        people.Wide = people.Wide || text.Wide;
        people.Strings.insert(people.Strings.end(), text.Strings.begin(), text.Strings.end());
        if (people.Strings.size() % 2 != 0)
            people.Strings.emplace_back(); // a role without a name
        if (!peopleAt_) {
            peopleAt_ = frames_.size();
            peopleId_ = id;
            frames_.push_back({"IPLS", 0, 0, {}});
        }
    }

    void FinishPeople()
    {
        if (!peopleAt_)
            return;
        TextStrings all{production_.Wide || musicians_.Wide, production_.Strings};
        all.Strings.insert(all.Strings.end(), musicians_.Strings.begin(), musicians_.Strings.end());
        Output data = TextFrameData(all);
        if (!Fits(data.size())) {
            frames_.erase(frames_.begin() + static_cast<std::ptrdiff_t>(*peopleAt_));
            return Drop(peopleId_, why::kTooLarge);
        }
        frames_[*peopleAt_].Data = std::move(data);
    }

    // The frame's data with its embedded frames converted; `embedded` their size.
    std::optional<Output> WithEmbeddedAsV23(const std::string& id, const Output& content, std::size_t& embedded)
    {
        const std::optional<std::size_t> start = EmbeddedFramesStart(id, content);
        if (!start) {
            Drop(id, why::kUnreadable);
            return std::nullopt;
        }
        if (depth_ + 1 > kMostNesting) {
            Drop(id, why::kTooDeep);
            return std::nullopt;
        }
        // Embedded frames are version 2.4 frames, each unsynchronised by its own flag.
        SpanView view(Bytes(content).subspan(*start));
        FrameConversion inner(depth_ + 1, " in " + id, room_, dropped_);
        inner.Convert([&view](const FrameVisitor& visitor, std::int64_t most) {
            WalkFrameList(view, 4, false, visitor, most);
            return true;
        });
        Output frames = inner.Finish();
        embedded = frames.size();
        Output data(content.begin(), content.begin() + static_cast<std::ptrdiff_t>(*start));
        data.insert(data.end(), frames.begin(), frames.end());
        return data;
    }

    // Whether a frame of this data size fits in the room left, which it then takes.
    bool Fits(std::size_t dataSize)
    {
        const std::int64_t size = kHeaderBytes + static_cast<std::int64_t>(dataSize);
        if (size > room_)
            return false;
        room_ -= size;
        return true;
    }

    // Keeps the frame when it fits; `embedded` bytes of its data are frames that took their
    // room already.
    void Keep(const std::string& sourceId, V23Frame frame, std::size_t embedded = 0)
    {
        if (!Fits(frame.Data.size() - embedded))
            return Drop(sourceId, why::kTooLarge);
        frames_.push_back(std::move(frame));
    }

    void Drop(const std::string& id, std::string_view why)
    {
        dropped_.push_back({id, std::string(why) + within_});
    }

    int depth_;
    std::string within_; // where the frames are, for a dropped frame's reason
    std::int64_t& room_;
    std::vector<DroppedFrame>& dropped_;
    std::set<std::string, std::less<>> present_; // the IDs of every frame of the list
    std::vector<V23Frame> frames_;
    std::set<std::string, std::less<>> converted_; // the time stamps (by ID) converted already
    TextStrings production_, musicians_;
    std::optional<std::size_t> peopleAt_; // the IPLS frame, once a list has come
    std::string peopleId_;
};

} // namespace

bool OtherFramesAsV23(std::span<const std::uint8_t> tagBytes, OtherFrames& frames) noexcept
{
    frames.Bytes.clear();
    frames.Dropped.clear();
    TagHeader header;
    header.SetBytes(tagBytes.first(std::min(tagBytes.size(), kHeaderSize)));
    if (header.HasIdentifier() && StandardTagSize(header).value_or(0) > kMostKeptTag)
        return false;
    try {
        std::int64_t room = kMostKeptTag - kHeaderBytes;
        SpanView view(tagBytes);
        FrameConversion conversion(0, {}, room, frames.Dropped);
        if (!conversion.Convert([&view](const FrameVisitor& visitor, std::int64_t most) { return WalkFrames(view, visitor, most); })) {
            frames.Dropped.clear();
            return false;
        }
        frames.Bytes = conversion.Finish();
        return true;
    } catch (...) {
        // Only an allocation can fail.
        frames.Bytes.clear();
        frames.Dropped.clear();
        return false;
    }
}

} // namespace id3v2
