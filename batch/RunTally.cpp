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

std::string_view OutcomeWord(SongOutcome outcome)
{
    switch (outcome) {
    case SongOutcome::Written: return "written";
    case SongOutcome::WouldWrite: return "would-write";
    case SongOutcome::Unchanged: return "unchanged";
    case SongOutcome::NotMp3: return "not-mp3";
    case SongOutcome::Missing: return "missing";
    case SongOutcome::Unmapped: return "unmapped";
    case SongOutcome::Outside: return "outside";
    case SongOutcome::Ambiguous: return "ambiguous";
    case SongOutcome::PassedOver: return "passed-over";
    case SongOutcome::Failed: return "failed";
    case SongOutcome::Busy: return "busy";
    case SongOutcome::NotTried: return "not-tried";
    }
    return "failed";
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
