#include "tagkit/U_Funcoes.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "id3v2/TagBuilder.h"
#include "io/FileSystem.h"
#include "io/SongBytes.h"
#include "tagkit/FileExtension.h"
#include "tagkit/RecordTable.h"
#include "tagkit/RecordValues.h"
#include "text/IntegerText.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace tagkit {
namespace {

// What inspection found in the file, as the merge-writer decides on it.
struct Inspection {
    // The analyser judged the audio valid.
    bool audioValid = false;
    // The file's ID3v2 tag was read (found or not) into the ID3v2 reader: the merge-writer only
    // replaces a tag that it has read.
    bool tagRead = false;
    // The track number of the tag that supplied the values, when it has one.
    std::optional<std::uint16_t> track;
    // The ID3v2 tag's rating (0 without one).
    std::uint8_t rating = 0;
    // The song could be opened.
    bool fileOpened = false;
    // The file's first bytes (up to a tag header's 10) and its length, as a new tag is planned
    // from them.
    std::vector<std::uint8_t> head;
    std::int64_t fileLength = 0;
    // The whole tag, when it is small enough that a write could leave it as it is.
    std::vector<std::uint8_t> smallTag;

    // Empty again, keeping the byte buffers for the next song.
    void Clear()
    {
        std::vector<std::uint8_t> keptHead = std::move(head);
        std::vector<std::uint8_t> keptTag = std::move(smallTag);
        *this = Inspection{};
        keptHead.clear();
        keptTag.clear();
        head = std::move(keptHead);
        smallTag = std::move(keptTag);
    }
};

// The reader set of the song at hand and the one tag data record, alive for the whole run.
struct ModuleState {
    std::unique_ptr<audio::TMPEGaudio> audioInfo;
    std::unique_ptr<audio::TID3v1> id3v1Tag;
    std::unique_ptr<id3v2::TID3v2> id3v2Tag;
    Tag record;
    // What the last inspection found, as values; the record shows them as texts.
    Inspection found;
};

ModuleState& State()
{
    static ModuleState state;
    return state;
}

// The given value when there is one, else the inspected one.
const std::string& Pick(const std::string& given, const std::string& inspected)
{
    return given.empty() ? inspected : given;
}

// A track number as the tag can hold it; a number outside 0..65535 counts as not given rather
// than wrapping around. Text that is no integer is an error.
std::optional<std::uint16_t> TrackNumber(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number)
        throw ConversionError("'" + text + "' is not a valid integer value");
    if (*number < 0 || *number > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(*number);
}

// A rating byte: text that is no integer, the empty text and numbers outside 0..255 give 0.
std::uint8_t RatingByte(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number || *number < 0 || *number > 0xFF)
        return 0;
    return static_cast<std::uint8_t>(*number);
}

void SetTrack(id3v2::TID3v2& tag, const std::string& given, std::optional<std::uint16_t> inspected)
{
    std::optional<std::uint16_t> track;
    if (!given.empty())
        track = TrackNumber(given);
    if (!track)
        track = inspected;
    if (track)
        tag.SetTrack(*track);
}

void MergeValues(id3v2::TID3v2& tag, const TagValues& given, const Tag& inspected, const Inspection& found)
{
    for (const RecordRow& r : kRecordTable) {
        switch (r.merge) {
        case Merge::GivenOrFile:
            // Numbers come from the values inspection found, texts from the record.
            switch (id3v2::kFrameTable[r.row].read) {
            case id3v2::ReadAs::TrackNumber:
                SetTrack(tag, given.*r.given, found.track);
                break;
            case id3v2::ReadAs::RatingByte:
                tag.SetRating(!(given.*r.given).empty() ? RatingByte(given.*r.given) : found.rating);
                break;
            default:
                tag.SetText(r.row, Pick(given.*r.given, inspected.*r.field));
                break;
            }
            break;
        case Merge::FileOnly:
            tag.SetText(r.row, inspected.*r.field);
            break;
        case Merge::Mark:
            tag.SetText(r.row, kCatalogueMark);
            break;
        case Merge::Kept:
            break;
        }
    }
}

// Keeps what a plan of the new tag needs of the file: its head, its length and a small tag's
// bytes, served from the bytes that the readers have already read.
void KeepTagStart(io::ByteSource& song, Inspection& found)
{
    found.fileLength = song.Length();
    const auto head = song.View(0, std::min<std::int64_t>(found.fileLength, id3v2::kRebuiltTagSize));
    if (song.LastReadFailed())
        return;
    found.head.assign(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(std::min(head.size(), id3v2::kHeaderSize)));
    id3v2::TagHeader header;
    header.SetBytes(found.head);
    const std::int64_t tagSize = header.HasIdentifier() ? id3v2::TotalTagSize(header, found.fileLength) : 0;
    if (tagSize >= static_cast<std::int64_t>(id3v2::kHeaderSize) && tagSize <= static_cast<std::int64_t>(head.size()))
        found.smallTag.assign(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(tagSize));
}

} // namespace

void CreateTagObjects(std::string_view Extension)
{
    ModuleState& state = State();
    if (IsMp3Extension(Extension)) {
        state.audioInfo = std::make_unique<audio::TMPEGaudio>();
        state.id3v1Tag = std::make_unique<audio::TID3v1>();
        state.id3v2Tag = std::make_unique<id3v2::TID3v2>();
    }
    ClearTagRecord();
}

void ClearTagRecord()
{
    State().record.Clear();
    State().found.Clear();
}

void LoadFileInfo(const std::string& FileName)
{
    ModuleState& state = State();
    ClearTagRecord();
    if (FileName.empty())
        return;
    if (!state.audioInfo)
        CreateTagObjects(ExtensionOf(FileName));
    if (!state.audioInfo)
        return;

    // One open file for the three readers: each byte range is read once and shared. A missing
    // file, or one that cannot be opened, fails the analyser's read and leaves the record empty,
    // so the open itself is the existence test.
    io::SongBytes song;
    if (!song.Open(FileName))
        return;
    Inspection& found = state.found;
    found.fileOpened = true;
    Tag& record = state.record;
    if (!state.audioInfo->ReadFromSource(song))
        return;
    if (!state.audioInfo->Valid()) {
        record.AudioValid = kNo;
        return;
    }
    found.audioValid = true;
    DescribeAudio(*state.audioInfo, record);

    if (!state.id3v2Tag->ReadFromSource(song))
        return;
    found.tagRead = true;
    KeepTagStart(song, found);
    if (state.id3v2Tag->TagFound()) {
        CopyId3v2Values(*state.id3v2Tag, record);
        if (state.id3v2Tag->Track() != 0)
            found.track = state.id3v2Tag->Track();
        found.rating = state.id3v2Tag->Rating();
        return;
    }
    if (!state.id3v1Tag->ReadFromSource(song)) {
        record.TagExists = kNo;
        return;
    }
    if (state.id3v1Tag->Exists()) {
        CopyId3v1Values(*state.id3v1Tag, record);
        found.track = state.id3v1Tag->Track();
    }
}

bool SaveTagInfo(const std::string& FileName, const TagValues& values)
{
    ModuleState& state = State();
    bool written = false;
    if (state.id3v2Tag && state.found.tagRead && state.found.audioValid && io::Exists(FileName)) {
        MergeValues(*state.id3v2Tag, values, state.record, state.found);
        written = state.id3v2Tag->SaveToFile(FileName);
    }
    ClearTagRecord();
    return written;
}

Readiness InspectionReadiness()
{
    const Inspection& found = State().found;
    if (!found.fileOpened)
        return Readiness::NotOpened;
    if (!found.audioValid)
        return Readiness::AudioNotValid;
    return found.tagRead ? Readiness::Ready : Readiness::TagNotRead;
}

PlannedTag PlanTagInfo(const TagValues& values)
{
    ModuleState& state = State();
    PlannedTag planned;
    if (!state.id3v2Tag || InspectionReadiness() != Readiness::Ready)
        return planned;
    // The merge depends on the record and the values alone, so SaveTagInfo's merge after this one
    // gives the same tag.
    MergeValues(*state.id3v2Tag, values, state.record, state.found);
    id3v2::TagPlan plan;
    plan.Header.SetBytes(state.found.head);
    plan.FileLength = state.found.fileLength;
    if (!id3v2::BuildNewTag(state.id3v2Tag->Values(), plan, planned.NewTag))
        return planned;
    planned.Rebuild = plan.NeedRewrite;
    planned.Unchanged = !plan.NeedRewrite && planned.NewTag == state.found.smallTag;
    return planned;
}

std::span<const std::uint8_t> InspectedTagBytes()
{
    return State().found.smallTag;
}

void FreeTagObjects(std::string_view /*Extension*/)
{
    ModuleState& state = State();
    ClearTagRecord();
    state.audioInfo.reset();
    state.id3v1Tag.reset();
    state.id3v2Tag.reset();
}

const Tag& TagRecord()
{
    return State().record;
}

const audio::TMPEGaudio* AudioInfo()
{
    return State().audioInfo.get();
}

const audio::TID3v1* ID3v1Tag()
{
    return State().id3v1Tag.get();
}

const id3v2::TID3v2* ID3v2Tag()
{
    return State().id3v2Tag.get();
}

} // namespace tagkit
