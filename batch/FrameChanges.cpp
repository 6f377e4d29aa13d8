#include "batch/FrameChanges.h"

#include <map>

namespace batch {

std::vector<FrameChange> CompareFrames(const std::vector<id3v2::ListedFrame>& before,
                                       const std::vector<id3v2::ListedFrame>& after)
{
    std::vector<std::string> order;
    std::map<std::string, std::pair<std::vector<FrameValue>, std::vector<FrameValue>>> byId;
    const auto collect = [&](const std::vector<id3v2::ListedFrame>& frames, bool old) {
        for (const id3v2::ListedFrame& frame : frames) {
            auto [entry, added] = byId.try_emplace(frame.Id);
            if (added)
                order.push_back(frame.Id);
            (old ? entry->second.first : entry->second.second).push_back(ValueOfFrame(frame));
        }
    };
    collect(after, false);
    collect(before, true);

    std::vector<FrameChange> changes;
    for (const std::string& id : order) {
        const auto& [old, now] = byId[id];
        std::size_t i = 0;
        while (i < old.size() && i < now.size() && old[i].key == now[i].key)
            ++i;
        if (i == old.size() && i == now.size())
            continue;
        FrameChange change{id, FrameChange::Kind::Changed, {}, {}};
        if (old.empty())
            change.kind = FrameChange::Kind::Added;
        else if (now.empty())
            change.kind = FrameChange::Kind::Removed;
        if (i < old.size())
            change.before = old[i].shown;
        if (i < now.size())
            change.after = now[i].shown;
        changes.push_back(std::move(change));
    }
    return changes;
}

std::string ChangeLine(const FrameChange& change)
{
    switch (change.kind) {
    case FrameChange::Kind::Added: return change.id + ": added " + change.after;
    case FrameChange::Kind::Removed: return change.id + ": removed (was " + change.before + ")";
    case FrameChange::Kind::Changed: break;
    }
    return change.id + ": " + (change.before.empty() ? "(none)" : change.before) + " -> " +
           (change.after.empty() ? "(none)" : change.after);
}

} // namespace batch
