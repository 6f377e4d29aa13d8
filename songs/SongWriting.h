#pragma once
// One catalogue song written into its file through the tag toolkit, as both batch runs (the
// window's and the command line's) write it, with what became of it and why. No window involved.
#include "songs/SongFinder.h"
#include "songs/SongTagMapping.h"
#include "id3v2/FrameList.h"
#include "id3v2/TagWriter.h"
#include "io/FileSystem.h"
#include "io/Outcome.h"
#include "tagkit/SongExamination.h"

#include <chrono>
#include <string>
#include <vector>

namespace songs {

enum class SongOutcome {
    Written,    // the new tag is in the file
    WouldWrite, // a dry run: the tag would be written
    Unchanged,  // the new tag is byte for byte the file's own: not written
    NotMp3,     // the file's name has no MP3 extension: nothing was done
    Missing,    // no file by that name (in any letter case, under a mapped Windows folder)
    Unmapped,   // a Windows folder that no line maps onto a folder of this machine
    Outside,    // a Windows path whose ".." climbs out of the folder its prefix maps to
    Ambiguous,  // two or more files whose names differ only in letter case: none is touched
    PassedOver, // the file, its audio or its tag could not be read: the file is left as it is
    Failed,     // the write failed; the file is as it was
    Busy,       // another writer held the song for the whole wait: the file is left as it is
    NotTried,   // the run stopped before it (its folder stopped answering)
};

// Whether the run left the song's file without the catalogue's tag for any reason: every
// outcome but written (or would be, in a dry run), unchanged and not MP3 (a catalogue of mixed
// formats is normal and never makes a run look failed).
bool IsNotWritten(SongOutcome outcome);

struct SongWriteOptions {
    // Inspect and plan only: no file is opened for writing.
    bool dryRun = false;
    // A song whose new tag would be the tag it has is not written.
    bool skipUnchanged = false;
    // Keep the file's old tag's frames for a look at what the write changes.
    bool keepTags = false;
    // What the new tag and the write keep of the song: its other frames, its times.
    tagkit::Keeping keep;
    // How long to wait for another writer of the same song before it counts as busy.
    std::chrono::milliseconds lockWait = id3v2::kDefaultLockWait;
    // Where the run finds its songs (shared by its threads); none: POSIX paths only, every
    // Windows path unmapped.
    SongFinder* finder = nullptr;
};

struct SongWriteResult {
    SongOutcome outcome = SongOutcome::NotMp3;
    // The file system's name for the song's file (for a song of a Windows folder, the mapped and
    // case-resolved one); empty for a song that is no MP3 or has no path on this machine.
    std::string path;
    // For a song of a Windows folder: its prefix ("M:\"), mapped or not, and the folder of this
    // machine it is mapped to.
    std::string prefix;
    std::string mappedFolder;
    // The file system the song's file is on, once it was opened.
    unsigned long long device = 0;
    // A rebuild removed the "~" file an earlier one left behind.
    bool removedLeftover = false;
    // Why a song was not found or cannot be told apart (missing, unmapped, outside, ambiguous,
    // a folder that could not be listed), in words.
    std::string why;
    // For a song passed over: how far its inspection got.
    tagkit::Readiness readiness = tagkit::Readiness::NotOpened;
    // For a song failed or passed over: the step the system refused and its error number, when
    // the system said why; else, for a failure of our own (an error raised), its text.
    io::Cause cause;
    std::string failure;
    // For an inspected song ready to be written: the new tag; with keepTags, unless the new tag
    // is the old one, the old tag's frames as they were before the write.
    tagkit::PlannedTag planned;
    std::vector<id3v2::ListedFrame> oldFrames;
};

// Why the song failed, was passed over, was busy or was not found, in words: "rename: No space
// left on device", "audio not recognised", "another writer holds the song"; empty for the other
// outcomes.
std::string ReasonOf(const SongWriteResult& song);

// Inspects the song's file and writes the new tag (unless the options hold it back), through one
// tagkit::SongExamination released on every path. A file written is added to `written`, to be flushed
// when the run ends. Lets no exception out.
SongWriteResult WriteCatalogueSong(const SongTag& song, const SongWriteOptions& options, io::WrittenFileSystems& written);

} // namespace songs
