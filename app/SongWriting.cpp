#include "app/SongWriting.h"

#include "id3v2/TagReader.h"
#include "tagkit/FileExtension.h"

#include <exception>

namespace app {
namespace {

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

// After inspection of a song ready to be written.
void WriteInspectedSong(const SongTag& song, const SongWriteOptions& options, io::WrittenFileSystems& written,
                        SongWriteResult& result)
{
    if (PlansFirst(options)) {
        result.planned = tagkit::PlanTagInfo(song.values);
        if (options.keepTags) {
            // A small tag the inspection kept; a larger one is read again before it is replaced.
            const auto old = tagkit::InspectedTagBytes();
            result.oldTag = old.empty() ? id3v2::ReadWholeTag(result.path) : std::vector<std::uint8_t>(old.begin(), old.end());
        }
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
    if (tagkit::SaveTagInfo(result.path, song.values)) {
        written.Add(result.path);
        result.outcome = SongOutcome::Written;
    } else {
        result.outcome = SongOutcome::Failed;
        result.failure = "the tag could not be written";
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
        tagkit::LoadFileInfo(result.path);
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

} // namespace app
