#pragma once
// The counts a run ends with, and the words for what became of each song.
#include "songs/SongWriting.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace batch {

struct RunTally {
    std::size_t listed = 0;  // songs the run was to write
    std::size_t done = 0;    // songs it got to (fewer after an interruption)
    std::size_t written = 0; // written, or in a dry run would be written
    std::size_t unchanged = 0;
    std::size_t notMp3 = 0;
    std::size_t missing = 0;
    std::size_t unmapped = 0;  // a Windows folder that no line maps
    std::size_t outside = 0;   // a ".." out of a mapped folder
    std::size_t ambiguous = 0; // names that differ only in letter case
    std::size_t passedOver = 0;
    std::size_t failed = 0;
    std::size_t busy = 0; // another writer held the song
    std::size_t notTried = 0; // the run stopped before them: their folder stopped answering
    std::size_t notWritten = 0; // every song left without the catalogue's tag (not MP3 aside)

    // The unmapped Windows prefixes, each with how many songs it held, in the order first met.
    std::vector<std::pair<std::string, std::size_t>> unmappedPrefixes;

    void Count(const songs::SongWriteResult& song);
};


// The outcome's word in the report: written, would-write, unchanged, not-mp3, missing,
// unmapped, outside, ambiguous, passed-over, failed, busy, not-tried.
std::string_view OutcomeWord(songs::SongOutcome outcome);

// The outcome's line in a dry run's listing, with the song's reason where it has one: "not MP3",
// "missing: ...", "passed over (audio not recognised)", "would fail: ..."; empty for a song
// written (its frame changes stand there).
std::string OutcomeListing(const songs::SongWriteResult& song);

// The summary's lines; a dry run says "would be written".
std::string SummaryText(const RunTally& tally, bool dryRun, bool interrupted);

} // namespace batch
