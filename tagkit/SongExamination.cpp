#include "tagkit/SongExamination.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/FrameScanner.h"
#include "id3v2/ID3v2.h"
#include "id3v2/TagBuilder.h"
#include "id3v2/TagReader.h"
#include "io/SongBytes.h"
#include "tagkit/RecordValues.h"

#include <cerrno>

namespace tagkit {

SongExamination::SongExamination()
    : audioInfo_(std::make_unique<audio::TMPEGaudio>())
    , id3v1Tag_(std::make_unique<audio::TID3v1>())
    , id3v2Tag_(std::make_unique<id3v2::TID3v2>())
{
}

SongExamination::~SongExamination() = default;
SongExamination::SongExamination(SongExamination&&) noexcept = default;
SongExamination& SongExamination::operator=(SongExamination&&) noexcept = default;

SongExamination SongExamination::Of(const std::string& path, Access access)
{
    SongExamination inspection;
    inspection.path_ = path;
    inspection.lockWait_ = access.lockWait;
    if (access.mode == Access::Mode::HoldForWriting && inspection.InspectHeld())
        return inspection;
    inspection.InspectRead();
    return inspection;
}

bool SongExamination::Held() const
{
    return held_.File().IsOpen();
}

bool SongExamination::InspectHeld()
{
    io::Outcome lock = held_.OpenLocked(path_, lockWait_);
    // Another writer replaced the song while this one waited for it: the new file, once.
    if (lock.kind == io::Outcome::Kind::Changed)
        lock = held_.OpenLocked(path_, lockWait_);
    if (lock.kind == io::Outcome::Kind::Failed)
        return false;
    if (!lock.Done()) {
        busy_ = true;
        return true;
    }
    io::SongBytes song;
    song.Use(held_.File(), held_.Length(), held_.Identity());
    Inspect(song);
    return true;
}

void SongExamination::InspectRead()
{
    // A missing file, or one that cannot be opened, leaves the record empty: the open itself is
    // the existence test.
    io::SongBytes song;
    if (!song.Open(path_)) {
        cause_ = {io::Step::Open, song.Error()};
        return;
    }
    Inspect(song);
}

// The inspection proper, through the one open file that the three readers share.
void SongExamination::Inspect(io::SongBytes& song)
{
    readiness_ = Readiness::AudioNotValid;
    identity_ = song.Identity();
    // A read error that stopped inspection short is its cause.
    const auto stoppedBy = [&] {
        if (song.Error() != 0)
            cause_ = {io::Step::Read, song.Error()};
    };
    if (!audioInfo_->ReadFromSource(song))
        return stoppedBy();
    if (!audioInfo_->Valid()) {
        record_.AudioValid = kNo;
        return stoppedBy();
    }
    readiness_ = Readiness::TagNotRead;
    DescribeAudio(*audioInfo_, record_);

    if (!id3v2Tag_->ReadFromSource(song))
        return stoppedBy();
    readiness_ = Readiness::Ready;
    KeepTagStart(song);
    if (id3v2Tag_->TagFound()) {
        CopyId3v2Values(*id3v2Tag_, record_);
        if (id3v2Tag_->Track() != 0)
            numbers_.track = id3v2Tag_->Track();
        numbers_.rating = id3v2Tag_->Rating();
        return;
    }
    if (!id3v1Tag_->ReadFromSource(song)) {
        record_.TagExists = kNo;
        return;
    }
    if (id3v1Tag_->Exists()) {
        CopyId3v1Values(*id3v1Tag_, record_);
        numbers_.track = id3v1Tag_->Track();
    }
}

// Keeps what a plan of the new tag and a look at the old one need of the file: its header, its
// length and the tag's bytes, served from the bytes that the readers have already read.
void SongExamination::KeepTagStart(io::SongBytes& song)
{
    fileLength_ = song.Length();
    const auto head = song.View(0, static_cast<std::int64_t>(id3v2::kHeaderSize));
    headBytes_.assign(head.begin(), head.end());
    id3v2::TagHeader header;
    header.SetBytes(head);
    if (song.LastReadFailed() || !id3v2Tag_->TagFound() || id3v2Tag_->TagSize() == 0 ||
        id3v2::ScanReach(header, fileLength_) > id3v2::kMostTagInMemory)
        return;
    const auto bytes = song.View(0, id3v2Tag_->TagSize());
    if (!song.LastReadFailed())
        tagBytes_.assign(bytes.begin(), bytes.end());
}

std::vector<id3v2::ListedFrame> SongExamination::OldFrames() const
{
    std::vector<id3v2::ListedFrame> frames;
    if (!tagBytes_.empty()) {
        id3v2::ListFrames(tagBytes_, frames);
        return frames;
    }
    if (!id3v2Tag_->TagFound() || id3v2Tag_->TagSize() == 0)
        return frames;
    io::SongBytes song;
    if (OpenBytes(song))
        id3v2::ListFrames(song, id3v2Tag_->TagSize(), frames);
    return frames;
}

bool SongExamination::OpenBytes(io::SongBytes& song) const
{
    if (Held()) {
        song.Use(held_.File(), held_.Length(), held_.Identity(), io::SongBytes::Readers::One);
        return true;
    }
    return song.Open(path_, io::SongBytes::Readers::One) && song.Identity() == identity_;
}

bool SongExamination::HoldWholeTag()
{
    if (!tagBytes_.empty() || !id3v2Tag_->TagFound() || id3v2Tag_->TagSize() == 0)
        return true;
    if (id3v2Tag_->TagSize() > id3v2::kMostKeptTag)
        return false;
    io::SongBytes song;
    if (!OpenBytes(song))
        return false;
    const auto bytes = song.View(0, id3v2Tag_->TagSize());
    if (song.LastReadFailed() || bytes.size() != static_cast<std::size_t>(id3v2Tag_->TagSize()))
        return false;
    tagBytes_.assign(bytes.begin(), bytes.end());
    return true;
}

PlannedTag SongExamination::Plan(const TagValues& values, Keeping keep)
{
    PlannedTag planned;
    planned.Given = values;
    planned.Keep = keep;
    if (readiness_ != Readiness::Ready)
        return planned;
    // The rows the merge does not set keep what the file's tag was read with.
    planned.Merged = id3v2Tag_->Values();
    MergeValues(planned.Merged, values, record_, numbers_);
    if (keep.OtherFrames) {
        if (!HoldWholeTag()) {
            planned.Refusal = Refusal::TooLargeToKeep;
            return planned;
        }
        // A tag of another version has no frames to keep, as it has none that were read.
        id3v2::OtherFrames other;
        if (!tagBytes_.empty() && id3v2::OtherFramesAsV23(tagBytes_, other)) {
            planned.OtherFrames = std::move(other.Bytes);
            planned.Dropped = std::move(other.Dropped);
        }
    }
    id3v2::TagPlan plan;
    plan.Header.SetBytes(headBytes_);
    plan.FileLength = fileLength_;
    plan.OtherFrames = planned.OtherFrames;
    const bool built = id3v2::BuildNewTag(planned.Merged, plan, planned.NewTag);
    if (!built || (keep.OtherFrames && static_cast<std::int64_t>(planned.NewTag.size()) > id3v2::kMostKeptTag)) {
        planned.NewTag.clear();
        planned.Refusal = Refusal::TooLarge;
        return planned;
    }
    planned.Rebuild = plan.NeedRewrite;
    // Byte for byte the tag the file has, whether it would be written in place or rebuilt (a tag
    // whose frames need more than 4096 bytes is always rebuilt, into the same bytes).
    planned.Unchanged = !tagBytes_.empty() && planned.NewTag == tagBytes_;
    return planned;
}

std::string_view RefusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::TooLarge: return "the new tag is too large";
    case Refusal::TooLargeToKeep: return "the old tag is too large to keep its frames";
    case Refusal::None: break;
    }
    return {};
}

namespace {

// What the save writes: the bytes the plan built, for the song as it was inspected (held since,
// or found unchanged under the lock).
id3v2::TagWrite WriteOf(const PlannedTag& plan)
{
    return {plan.Merged, plan.OtherFrames, plan.Keep.Times, plan.NewTag, plan.Rebuild};
}

} // namespace

io::Outcome SongExamination::Save(const PlannedTag& plan)
{
    io::Outcome outcome = io::Outcome::Failure(io::Step::None, 0);
    try {
        if (readiness_ != Readiness::Ready)
            outcome = io::Outcome::Failure(cause_.step, cause_.error);
        else if (plan.NewTag.empty())
            outcome = io::Outcome::Failure(io::Step::None, 0); // refused by the plan: its Refusal says why
        else if (Held())
            // Held since before its inspection: the song is what was inspected.
            outcome = id3v2::WriteLockedTag(held_, WriteOf(plan), headBytes_);
        else
            outcome = SaveRead(plan);
    } catch (...) {
        // Only an allocation can fail.
        outcome = io::Outcome::Failure(io::Step::None, ENOMEM);
    }
    held_.Close();
    // A link that leads elsewhere now, or a song changed twice: another writer is at work on it.
    return outcome.kind == io::Outcome::Kind::Changed ? io::Outcome::Busy() : outcome;
}

// The save of a song inspected without holding it: under the lock taken now, the song must still
// be the file inspected; a song another writer changed after it was inspected is inspected again,
// once.
io::Outcome SongExamination::SaveRead(const PlannedTag& plan)
{
    const auto write = [this](const PlannedTag& planned) {
        const id3v2::InspectedFile inspected{identity_, fileLength_,
                                             tagBytes_.empty() ? std::span<const std::uint8_t>(headBytes_) : tagBytes_};
        return id3v2::WriteTag(path_, WriteOf(planned), id3v2::WriteGuard{lockWait_, &inspected});
    };
    const io::Outcome outcome = write(plan);
    if (outcome.kind != io::Outcome::Kind::Changed)
        return outcome;
    *this = Of(path_, Access::ReadOnly(lockWait_));
    if (readiness_ != Readiness::Ready)
        return io::Outcome::Failure(cause_.step, cause_.error);
    const PlannedTag again = Plan(plan.Given, plan.Keep);
    // The tag another writer left may be refused where the first was not: nothing is written.
    if (again.NewTag.empty())
        return io::Outcome::Failure(io::Step::None, 0);
    return write(again);
}

void SongExamination::Clear()
{
    readiness_ = Readiness::NotOpened;
    busy_ = false;
    cause_ = {};
    record_.Clear();
    numbers_ = {};
    identity_ = {};
    fileLength_ = 0;
    headBytes_.clear();
    tagBytes_.clear();
    held_.Close();
}

} // namespace tagkit
