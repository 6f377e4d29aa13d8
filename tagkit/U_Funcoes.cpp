#include "tagkit/U_Funcoes.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/FrameScanner.h"
#include "id3v2/ID3v2.h"
#include "id3v2/TagBuilder.h"
#include "id3v2/TagReader.h"
#include "io/SongBytes.h"
#include "io/SongFile.h"
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
    // How far inspection got: the file opened, its audio judged valid, its ID3v2 tag read (found
    // or not) into the ID3v2 reader. The merge-writer only replaces a tag that it has read.
    Readiness readiness = Readiness::NotOpened;
    // The track number of the tag that supplied the values, when it has one.
    std::optional<std::uint16_t> track;
    // The ID3v2 tag's rating (0 without one).
    std::uint8_t rating = 0;
    // Which file was inspected; its first bytes (the tag header) and its length, as a new tag is
    // planned from them.
    io::FileIdentity identity;
    std::vector<std::uint8_t> headBytes;
    std::int64_t fileLength = 0;
    // The whole tag, header first, when the readers held it in memory (every tag but one too
    // large for that, which they read a frame at a time); empty without a tag.
    std::vector<std::uint8_t> tagBytes;

    // Empty again, keeping the tag's buffer for the next song.
    void Clear()
    {
        std::vector<std::uint8_t> kept = std::move(tagBytes);
        *this = Inspection{};
        kept.clear();
        tagBytes = std::move(kept);
    }

    // What a write holds the song to: the file and the bytes that the values came from.
    id3v2::InspectedFile AsInspected() const
    {
        return {identity, fileLength, tagBytes.empty() ? std::span<const std::uint8_t>(headBytes) : tagBytes};
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
    // The song inspected for writing: open and locked from before its inspection until it is
    // written or the record is emptied; closed otherwise.
    io::SongFile held;
};

// One per thread: the toolkit is the design for one song at a time, and a thread that writes
// songs beside others (fonarel-write --jobs) works on its own.
ModuleState& State()
{
    static thread_local ModuleState state;
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

// Keeps what a plan of the new tag and a look at the old one need of the file: its header, its
// length and the tag's bytes, served from the bytes that the readers have already read.
void KeepTagStart(io::SongBytes& song, const id3v2::TID3v2& tag, Inspection& found)
{
    found.identity = song.Identity();
    found.fileLength = song.Length();
    const auto head = song.View(0, static_cast<std::int64_t>(id3v2::kHeaderSize));
    found.headBytes.assign(head.begin(), head.end());
    id3v2::TagHeader header;
    header.SetBytes(head);
    if (song.LastReadFailed() || !tag.TagFound() || tag.TagSize() == 0 ||
        id3v2::ScanReach(header, found.fileLength) > id3v2::kMostTagInMemory)
        return;
    const auto bytes = song.View(0, tag.TagSize());
    if (!song.LastReadFailed())
        found.tagBytes.assign(bytes.begin(), bytes.end());
}

// Empties the record and makes the reader set for the file when there is none yet: false when
// the file has no MP3 extension then.
bool ReadyToInspect(const std::string& FileName)
{
    ModuleState& state = State();
    ClearTagRecord();
    if (FileName.empty())
        return false;
    if (!state.audioInfo)
        CreateTagObjects(ExtensionOf(FileName));
    return state.audioInfo != nullptr;
}

// The inspection proper, through the one open file that the three readers share.
void Inspect(io::SongBytes& song)
{
    ModuleState& state = State();
    Inspection& found = state.found;
    found.readiness = Readiness::AudioNotValid;
    Tag& record = state.record;
    if (!state.audioInfo->ReadFromSource(song))
        return;
    if (!state.audioInfo->Valid()) {
        record.AudioValid = kNo;
        return;
    }
    found.readiness = Readiness::TagNotRead;
    DescribeAudio(*state.audioInfo, record);

    if (!state.id3v2Tag->ReadFromSource(song))
        return;
    found.readiness = Readiness::Ready;
    KeepTagStart(song, *state.id3v2Tag, found);
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

// The save of a song inspected without holding it: under the lock taken now, the song must still
// be the file inspected; a song another writer changed after it was inspected is inspected again,
// once.
id3v2::WriteResult SaveReadSong(const std::string& FileName, const TagValues& values, std::chrono::milliseconds lockWait)
{
    ModuleState& state = State();
    id3v2::WriteResult result = id3v2::WriteResult::Failed;
    for (int inspections = 1; inspections <= 2; ++inspections) {
        if (inspections == 2)
            LoadFileInfo(FileName);
        result = id3v2::WriteResult::Failed;
        // A file that is gone fails at its open.
        if (!state.id3v2Tag || state.found.readiness != Readiness::Ready)
            break;
        MergeValues(*state.id3v2Tag, values, state.record, state.found);
        const id3v2::InspectedFile inspected = state.found.AsInspected();
        result = state.id3v2Tag->SaveToFile(FileName, id3v2::WriteGuard{lockWait, &inspected});
        if (result != id3v2::WriteResult::Changed)
            break;
    }
    return result;
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
    State().held.Close();
}

void LoadFileInfo(const std::string& FileName)
{
    if (!ReadyToInspect(FileName))
        return;
    // One open file for the three readers: each byte range is read once and shared. A missing
    // file, or one that cannot be opened, fails the analyser's read and leaves the record empty,
    // so the open itself is the existence test.
    io::SongBytes song;
    if (song.Open(FileName))
        Inspect(song);
}

Hold LoadFileInfoForWriting(const std::string& FileName, std::chrono::milliseconds lockWait)
{
    if (!ReadyToInspect(FileName))
        return Hold::NotHeld;
    ModuleState& state = State();
    io::SongFile::Lock lock = state.held.OpenLocked(FileName, lockWait);
    // Another writer replaced the song while this one waited for it: the new file, once.
    if (lock == io::SongFile::Lock::Changed)
        lock = state.held.OpenLocked(FileName, lockWait);
    switch (lock) {
    case io::SongFile::Lock::Held:
        break;
    case io::SongFile::Lock::Failed:
        return Hold::NotHeld;
    default:
        return Hold::Busy;
    }
    io::SongBytes song;
    song.Use(state.held.File(), state.held.Length(), state.held.Identity());
    Inspect(song);
    return Hold::Held;
}

bool SaveTagInfo(const std::string& FileName, const TagValues& values)
{
    return SaveInspectedTag(FileName, values, id3v2::kDefaultLockWait) == SaveOutcome::Written;
}

SaveOutcome SaveInspectedTag(const std::string& FileName, const TagValues& values, std::chrono::milliseconds lockWait)
{
    ModuleState& state = State();
    id3v2::WriteResult result = id3v2::WriteResult::Failed;
    if (state.held.File().IsOpen() && state.held.Path() == FileName) {
        // Held since before its inspection: the song is what was inspected.
        if (state.id3v2Tag && state.found.readiness == Readiness::Ready) {
            MergeValues(*state.id3v2Tag, values, state.record, state.found);
            result = state.id3v2Tag->SaveToLockedSong(state.held, state.found.headBytes);
        }
    } else {
        result = SaveReadSong(FileName, values, lockWait);
    }
    ClearTagRecord();
    switch (result) {
    case id3v2::WriteResult::Written:
        return SaveOutcome::Written;
    case id3v2::WriteResult::Busy:
    case id3v2::WriteResult::Changed:
        return SaveOutcome::Busy;
    default:
        return SaveOutcome::NotWritten;
    }
}

Readiness InspectionReadiness()
{
    return State().found.readiness;
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
    plan.Header.SetBytes(state.found.headBytes);
    plan.FileLength = state.found.fileLength;
    if (!id3v2::BuildNewTag(state.id3v2Tag->Values(), plan, planned.NewTag))
        return planned;
    planned.Rebuild = plan.NeedRewrite;
    // Byte for byte the tag the file has, whether it would be written in place or rebuilt (a tag
    // whose frames need more than 4096 bytes is always rebuilt, into the same bytes).
    planned.Unchanged = !state.found.tagBytes.empty() && planned.NewTag == state.found.tagBytes;
    return planned;
}

io::FileIdentity InspectedIdentity()
{
    return State().found.identity;
}

std::span<const std::uint8_t> InspectedTagBytes()
{
    return State().found.tagBytes;
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
