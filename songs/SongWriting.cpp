#include "songs/SongWriting.h"

#include "id3v2/ID3v2.h"
#include "io/SongBytes.h"
#include "tagkit/FileExtension.h"

#include <exception>

namespace songs {
namespace {

constexpr const char* kBusyFailure = "another writer holds the song";

// The reader set of one song, released however the song ends.
class ReaderSet {
public:
    explicit ReaderSet(std::string_view extension)
        : extension_(extension)
    {
        tagkit::CreateTagObjects(extension_);
    }
    ~ReaderSet() { tagkit::FreeTagObjects(extension_); }
    ReaderSet(const ReaderSet&) = delete;
    ReaderSet& operator=(const ReaderSet&) = delete;

private:
    std::string_view extension_;
};

SongOutcome NotReadyOutcome(tagkit::Readiness readiness, const std::string& path)
{
    if (readiness == tagkit::Readiness::NotOpened && !io::Exists(path))
        return SongOutcome::Missing;
    return SongOutcome::PassedOver;
}

// Whether the options need the new tag planned before anything is written.
bool PlansFirst(const SongWriteOptions& options)
{
    return options.dryRun || options.skipUnchanged || options.keepTags;
}

// The old tag's frames, before a write replaces them: from the tag its readers held, or, for a
// tag too large for memory, read a frame at a time from the file.
std::vector<id3v2::ListedFrame> OldFrames(const std::string& path)
{
    std::vector<id3v2::ListedFrame> frames;
    const std::span<const std::uint8_t> held = tagkit::InspectedTagBytes();
    const id3v2::TID3v2* tag = tagkit::ID3v2Tag();
    if (!held.empty()) {
        id3v2::ListFrames(held, frames);
    } else if (tag != nullptr && tag->TagFound() && tag->TagSize() > 0) {
        io::SongBytes song;
        if (song.Open(path, io::SongBytes::Readers::One))
            id3v2::ListFrames(song, tag->TagSize(), frames);
    }
    return frames;
}

// Inspects the song: one held for writing from the start, so that it is opened once, unless the
// run writes nothing or the song cannot be opened for writing as it is. False when another writer
// held it for the whole wait.
bool Inspect(const std::string& path, const SongWriteOptions& options)
{
    if (!options.dryRun) {
        const tagkit::Hold hold = tagkit::LoadFileInfoForWriting(path, options.lockWait);
        if (hold != tagkit::Hold::NotHeld)
            return hold == tagkit::Hold::Held;
    }
    tagkit::LoadFileInfo(path);
    return true;
}

// After inspection of a song ready to be written.
void WriteInspectedSong(const SongTag& song, const SongWriteOptions& options, io::WrittenFileSystems& written,
                        SongWriteResult& result)
{
    if (PlansFirst(options)) {
        result.planned = tagkit::PlanTagInfo(song.values);
        if (options.keepTags && !result.planned.Unchanged)
            result.oldFrames = OldFrames(result.path);
        if (result.planned.Unchanged && (options.dryRun || options.skipUnchanged)) {
            result.outcome = SongOutcome::Unchanged;
            return;
        }
        if (options.dryRun) {
            result.outcome = result.planned.NewTag.empty() ? SongOutcome::Failed : SongOutcome::WouldWrite;
            if (result.planned.NewTag.empty())
                result.failure = "the new tag would be too large";
            return;
        }
    }
    // The file system written to, as the inspection's open file told it (a rebuild renames its new
    // file into the same folder, so onto the same file system).
    const unsigned long long device = tagkit::InspectedIdentity().device;
    switch (tagkit::SaveInspectedTag(result.path, song.values, options.lockWait)) {
    case tagkit::SaveOutcome::Written:
        written.Add(device, result.path);
        result.outcome = SongOutcome::Written;
        break;
    case tagkit::SaveOutcome::Busy:
        result.outcome = SongOutcome::Busy;
        result.failure = kBusyFailure;
        break;
    case tagkit::SaveOutcome::NotWritten:
        result.outcome = SongOutcome::Failed;
        result.failure = "the tag could not be written";
        break;
    }
}

} // namespace

SongWriteResult WriteCatalogueSong(const SongTag& song, const SongWriteOptions& options, io::WrittenFileSystems& written)
{
    SongWriteResult result;
    // Files of other kinds are passed over before anything is made for them.
    if (!tagkit::IsMp3Extension(song.extension))
        return result;
    try {
        result.path = FileSystemPath(song.fileName);
        ReaderSet readers(song.extension);
        if (!Inspect(result.path, options)) {
            result.outcome = SongOutcome::Busy;
            result.failure = kBusyFailure;
            return result;
        }
        result.readiness = tagkit::InspectionReadiness();
        if (result.readiness != tagkit::Readiness::Ready) {
            result.outcome = NotReadyOutcome(result.readiness, result.path);
            return result;
        }
        WriteInspectedSong(song, options, written, result);
    } catch (const std::exception& error) {
        result.outcome = SongOutcome::Failed;
        result.failure = error.what();
    } catch (...) {
        result.outcome = SongOutcome::Failed;
        result.failure = "unknown error";
    }
    return result;
}

} // namespace songs
