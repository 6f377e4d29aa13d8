#include "batch/RunTally.h"

#include <cstdio>

namespace batch {

using songs::SongOutcome;

void RunTally::Count(SongOutcome outcome)
{
    ++done;
    switch (outcome) {
    case SongOutcome::Written:
    case SongOutcome::WouldWrite: ++written; break;
    case SongOutcome::Unchanged: ++unchanged; break;
    case SongOutcome::NotMp3: ++notMp3; break;
    case SongOutcome::Missing: ++missing; break;
    case SongOutcome::PassedOver: ++passedOver; break;
    case SongOutcome::Failed: ++failed; break;
    case SongOutcome::Busy: ++busy; break;
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
    case SongOutcome::PassedOver: return "passed-over";
    case SongOutcome::Failed: return "failed";
    case SongOutcome::Busy: return "busy";
    }
    return "failed";
}

std::string SummaryText(const RunTally& tally, bool dryRun, bool interrupted)
{
    std::string out;
    const auto line = [&out](std::string_view label, std::size_t count) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%-22.*s %9zu\n", static_cast<int>(label.size()), label.data(), count);
        out += buffer;
    };
    if (interrupted)
        out += "interrupted after " + std::to_string(tally.done) + " of " + std::to_string(tally.listed) + " songs\n";
    line("songs listed:", tally.listed);
    line(dryRun ? "would be written:" : "written:", tally.written);
    line(dryRun ? "unchanged:" : "unchanged (skipped):", tally.unchanged);
    line("not MP3:", tally.notMp3);
    line("missing:", tally.missing);
    line("passed over:", tally.passedOver);
    line(dryRun ? "would fail:" : "failed writes:", tally.failed);
    if (!dryRun)
        line("busy (other writer):", tally.busy);
    return out;
}

} // namespace batch
