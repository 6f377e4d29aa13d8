#include "batch/RunTally.h"

#include <algorithm>
#include <cstdio>

namespace batch {

using songs::SongOutcome;

void RunTally::Count(const songs::SongWriteResult& song)
{
    if (song.outcome != SongOutcome::NotTried)
        ++done;
    if (songs::IsNotWritten(song.outcome))
        ++notWritten;
    switch (song.outcome) {
    case SongOutcome::Written:
    case SongOutcome::WouldWrite: ++written; break;
    case SongOutcome::Unchanged: ++unchanged; break;
    case SongOutcome::NotMp3: ++notMp3; break;
    case SongOutcome::Missing: ++missing; break;
    case SongOutcome::Unmapped: {
        ++unmapped;
        const auto same = std::find_if(unmappedPrefixes.begin(), unmappedPrefixes.end(),
                                       [&song](const auto& entry) { return entry.first == song.prefix; });
        if (same == unmappedPrefixes.end())
            unmappedPrefixes.emplace_back(song.prefix, 1);
        else
            ++same->second;
        break;
    }
    case SongOutcome::Outside: ++outside; break;
    case SongOutcome::Ambiguous: ++ambiguous; break;
    case SongOutcome::PassedOver: ++passedOver; break;
    case SongOutcome::Failed: ++failed; break;
    case SongOutcome::Busy: ++busy; break;
    case SongOutcome::NotTried: ++notTried; break;
    }
}

namespace {

// The words of each outcome: the report's, and the listing's before the reason.
struct OutcomeWords {
    SongOutcome outcome;
    std::string_view report;
    std::string_view listing;
};

constexpr OutcomeWords kOutcomeWords[] = {
    {SongOutcome::Written, "written", ""},
    {SongOutcome::WouldWrite, "would-write", ""},
    {SongOutcome::Unchanged, "unchanged", "unchanged"},
    {SongOutcome::NotMp3, "not-mp3", "not MP3"},
    {SongOutcome::Missing, "missing", "missing"},
    {SongOutcome::Unmapped, "unmapped", "unmapped"},
    {SongOutcome::Outside, "outside", "outside"},
    {SongOutcome::Ambiguous, "ambiguous", ""}, // its reason begins "ambiguous: "
    {SongOutcome::PassedOver, "passed-over", "passed over"},
    {SongOutcome::Failed, "failed", "would fail"},
    {SongOutcome::Busy, "busy", "busy"},
    {SongOutcome::NotTried, "not-tried", "not tried"},
};

const OutcomeWords& WordsOf(SongOutcome outcome)
{
    for (const OutcomeWords& words : kOutcomeWords)
        if (words.outcome == outcome)
            return words;
    return kOutcomeWords[9]; // failed
}

} // namespace

std::string_view OutcomeWord(SongOutcome outcome)
{
    return WordsOf(outcome).report;
}

std::string OutcomeListing(const songs::SongWriteResult& song)
{
    const std::string word(WordsOf(song.outcome).listing);
    switch (song.outcome) {
    case SongOutcome::Written:
    case SongOutcome::WouldWrite: return {};
    case SongOutcome::Unchanged:
    case SongOutcome::NotMp3: return word;
    case SongOutcome::Missing: return song.why.empty() ? word : word + ": " + song.why;
    case SongOutcome::Ambiguous: return songs::ReasonOf(song);
    case SongOutcome::PassedOver: return word + " (" + songs::ReasonOf(song) + ")";
    default: return word + ": " + songs::ReasonOf(song);
    }
}

std::string SummaryText(const RunTally& tally, bool dryRun, bool interrupted)
{
    std::string out;
    const auto line = [&out](std::string_view label, std::size_t count) {
        char number[32];
        std::snprintf(number, sizeof number, " %9zu\n", count);
        std::string text(label);
        if (text.size() < 22)
            text.resize(22, ' ');
        out += text + number;
    };
    if (interrupted)
        out += "interrupted after " + std::to_string(tally.done) + " of " + std::to_string(tally.listed) + " songs\n";
    line("songs listed:", tally.listed);
    line(dryRun ? "would be written:" : "written:", tally.written);
    line(dryRun ? "unchanged:" : "unchanged (skipped):", tally.unchanged);
    line("not MP3:", tally.notMp3);
    line("missing:", tally.missing);
    // A catalogue made on Windows only: lines a POSIX catalogue never needs.
    if (tally.unmapped > 0) {
        line("unmapped:", tally.unmapped);
        for (const auto& [prefix, count] : tally.unmappedPrefixes)
            line("  " + prefix, count);
    }
    if (tally.outside > 0)
        line("outside their folder:", tally.outside);
    if (tally.ambiguous > 0)
        line("ambiguous:", tally.ambiguous);
    line("passed over:", tally.passedOver);
    line(dryRun ? "would fail:" : "failed writes:", tally.failed);
    if (!dryRun)
        line("busy (other writer):", tally.busy);
    if (tally.notTried > 0)
        line("not tried:", tally.notTried);
    return out;
}

} // namespace batch
