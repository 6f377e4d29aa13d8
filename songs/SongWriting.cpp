#include "songs/SongWriting.h"

#include "tagkit/FileExtension.h"

#include <cerrno>
#include <exception>
#include <optional>

namespace songs {
namespace {

// No file by that name: nothing at the path, or a folder on the way that is none.
bool NamesNoFile(const io::Cause& cause)
{
    return cause.step == io::Step::Open && (cause.error == ENOENT || cause.error == ENOTDIR);
}

std::string_view ReadinessWords(tagkit::Readiness readiness)
{
    switch (readiness) {
    case tagkit::Readiness::NotOpened: return "file not readable";
    case tagkit::Readiness::AudioNotValid: return "audio not recognised";
    case tagkit::Readiness::TagNotRead: return "tag not readable";
    case tagkit::Readiness::Ready: break;
    }
    return "";
}

// After inspection of a song ready to be written.
void WriteInspectedSong(tagkit::SongExamination& inspection, const SongTag& song, const SongWriteOptions& options,
                        io::WrittenFileSystems& written, SongWriteResult& result)
{
    result.planned = inspection.Plan(song.values, options.keep);
    if (options.keepTags && !result.planned.Unchanged)
        result.oldFrames = inspection.OldFrames();
    if (result.planned.Unchanged && (options.dryRun || options.skipUnchanged)) {
        result.outcome = SongOutcome::Unchanged;
        return;
    }
    if (result.planned.NewTag.empty()) {
        // Refused by the plan: nothing is opened for writing.
        result.outcome = SongOutcome::Failed;
        result.why = std::string(tagkit::RefusalText(result.planned.Refusal));
        return;
    }
    if (options.dryRun) {
        result.outcome = SongOutcome::WouldWrite;
        return;
    }
    // The file system written to, as the inspection's open file told it (a rebuild renames its new
    // file into the same folder, so onto the same file system).
    const unsigned long long device = inspection.Identity().device;
    const io::Outcome saved = inspection.Save(result.planned);
    result.removedLeftover = saved.removedLeftover;
    switch (saved.kind) {
    case io::Outcome::Kind::Done:
        written.Add(device, result.path);
        result.outcome = SongOutcome::Written;
        break;
    case io::Outcome::Kind::Busy:
    case io::Outcome::Kind::Changed:
        result.outcome = SongOutcome::Busy;
        break;
    case io::Outcome::Kind::Failed:
        result.outcome = SongOutcome::Failed;
        result.cause = saved.cause;
        break;
    }
}

// A song with no file to open: why, and its path on this machine where it has one.
SongWriteResult& NotFound(const SongPlace& place, SongWriteResult& result)
{
    result.why = place.reason;
    switch (place.kind) {
    case SongPlace::Kind::Unmapped: result.outcome = SongOutcome::Unmapped; break;
    case SongPlace::Kind::Outside: result.outcome = SongOutcome::Outside; break;
    case SongPlace::Kind::Ambiguous:
        result.outcome = SongOutcome::Ambiguous;
        result.path = place.path;
        break;
    case SongPlace::Kind::Missing:
        result.outcome = SongOutcome::Missing;
        result.path = place.path;
        break;
    case SongPlace::Kind::Unreadable:
        result.outcome = SongOutcome::PassedOver;
        result.path = place.path;
        result.cause = {io::Step::Open, place.error};
        break;
    case SongPlace::Kind::Here: break;
    }
    return result;
}

} // namespace

bool IsNotWritten(SongOutcome outcome)
{
    switch (outcome) {
    case SongOutcome::Written:
    case SongOutcome::WouldWrite:
    case SongOutcome::Unchanged:
    case SongOutcome::NotMp3: return false;
    default: return true;
    }
}

std::string ReasonOf(const SongWriteResult& song)
{
    if (!song.why.empty())
        return song.why;
    if (song.removedLeftover && song.outcome == SongOutcome::Written)
        return "a leftover " + std::string(song.path.substr(song.path.rfind('/') + 1)) + "~ of an unfinished rebuild was removed";
    switch (song.outcome) {
    case SongOutcome::Failed:
        if (!song.failure.empty())
            return song.failure;
        return song.cause.step == io::Step::None && song.cause.error == 0 ? "the tag could not be written"
                                                                          : io::CauseText(song.cause);
    case SongOutcome::PassedOver: {
        std::string reason(ReadinessWords(song.readiness));
        if (song.cause.step != io::Step::None)
            reason += ": " + io::CauseText(song.cause);
        return reason;
    }
    case SongOutcome::Busy:
        return "another writer holds the song";
    case SongOutcome::Missing:
        return io::CauseText(song.cause);
    default:
        return {};
    }
}

SongWriteResult WriteCatalogueSong(const SongTag& song, const SongWriteOptions& options, io::WrittenFileSystems& written)
{
    SongWriteResult result;
    // Files of other kinds are passed over before anything is made for them.
    if (!tagkit::IsMp3Extension(song.extension))
        return result;
    try {
        std::optional<SongFinder> posixOnly;
        SongFinder& finder = options.finder ? *options.finder : posixOnly.emplace();
        SongPlace place = finder.Find(song.fileName);
        result.prefix = place.mapped.prefix;
        if (place.mapped.kind == MappedPath::Kind::Mapped)
            result.mappedFolder = place.mapped.Folder();
        if (place.kind != SongPlace::Kind::Here)
            return NotFound(place, result);
        result.path = place.path;
        // Held for writing from the start, so that it is opened once, unless the run writes
        // nothing (a song that cannot be opened for writing as it is is read instead).
        const tagkit::Access access = options.dryRun ? tagkit::Access::ReadOnly(options.lockWait)
                                                     : tagkit::Access::HeldForWriting(options.lockWait);
        tagkit::SongExamination inspection = tagkit::SongExamination::Of(result.path, access);
        if (inspection.Readiness() == tagkit::Readiness::NotOpened && NamesNoFile(inspection.Cause()) &&
            place.mapped.kind == MappedPath::Kind::Mapped) {
            // Not there with the catalogue's letter case: as Windows finds it.
            place = finder.FindIgnoringCase(place);
            if (place.kind != SongPlace::Kind::Here)
                return NotFound(place, result);
            result.path = place.path;
            inspection = tagkit::SongExamination::Of(result.path, access);
        }
        result.readiness = inspection.Readiness();
        result.cause = inspection.Cause();
        if (result.readiness != tagkit::Readiness::NotOpened)
            result.device = inspection.Identity().device;
        if (inspection.Busy()) {
            result.outcome = SongOutcome::Busy;
        } else if (result.readiness != tagkit::Readiness::Ready) {
            result.outcome = NamesNoFile(result.cause) ? SongOutcome::Missing : SongOutcome::PassedOver;
        } else {
            WriteInspectedSong(inspection, song, options, written, result);
        }
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
