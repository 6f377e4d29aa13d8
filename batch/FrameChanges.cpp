#include "batch/FrameChanges.h"

#include <algorithm>
#include <map>
#include <utility>

namespace batch {
namespace {

// The frames of both tags with one ID and identity, each tag's in its order.
struct FrameGroup {
    std::string id;
    std::size_t idRank = 0; // the place of the ID's first frame (the new tag's frames first)
    std::string identity;
    std::vector<FrameValue> old;
    std::vector<FrameValue> now;
};

// The groups of both tags' frames: by ID in the order the IDs first stand (the new tag first),
// and within an ID by identity in the same order.
std::vector<FrameGroup> GroupFrames(const std::vector<id3v2::ListedFrame>& before,
                                    const std::vector<id3v2::ListedFrame>& after)
{
    std::vector<FrameGroup> groups;
    std::map<std::pair<std::string, std::string>, std::size_t> groupIndex;
    std::map<std::string, std::size_t> idRank;
    const auto collect = [&](const std::vector<id3v2::ListedFrame>& frames, bool old) {
        for (const id3v2::ListedFrame& frame : frames) {
            FrameValue value = ValueOfFrame(frame);
            const std::size_t rank = idRank.try_emplace(frame.Id, idRank.size()).first->second;
            const auto [at, added] = groupIndex.try_emplace({frame.Id, value.identity}, groups.size());
            if (added)
                groups.push_back({frame.Id, rank, value.identity, {}, {}});
            FrameGroup& group = groups[at->second];
            (old ? group.old : group.now).push_back(std::move(value));
        }
    };
    collect(after, false);
    collect(before, true);
    std::stable_sort(groups.begin(), groups.end(),
                     [](const FrameGroup& a, const FrameGroup& b) { return a.idRank < b.idRank; });
    return groups;
}

// The group's frames paired in order; a change for each pair whose values differ and for each
// frame left over.
void AppendChanges(const FrameGroup& group, std::vector<FrameChange>& changes)
{
    FrameChange::Kind kind = FrameChange::Kind::Changed;
    if (group.old.empty())
        kind = FrameChange::Kind::Added;
    else if (group.now.empty())
        kind = FrameChange::Kind::Removed;
    for (std::size_t i = 0; i < std::max(group.old.size(), group.now.size()); ++i) {
        const FrameValue* old = i < group.old.size() ? &group.old[i] : nullptr;
        const FrameValue* now = i < group.now.size() ? &group.now[i] : nullptr;
        if (old && now && old->key == now->key)
            continue;
        changes.push_back({group.id, kind, old ? old->shown : std::string(), now ? now->shown : std::string(),
                           group.identity});
    }
}

} // namespace

std::vector<FrameChange> CompareFrames(const std::vector<id3v2::ListedFrame>& before,
                                       const std::vector<id3v2::ListedFrame>& after)
{
    std::vector<FrameChange> changes;
    for (const FrameGroup& group : GroupFrames(before, after))
        AppendChanges(group, changes);
    return changes;
}

std::string ChangeLine(const FrameChange& change)
{
    const std::string frame = change.identity.empty() ? change.id : change.id + " " + change.identity;
    switch (change.kind) {
    case FrameChange::Kind::Added: return frame + ": added " + change.after;
    case FrameChange::Kind::Removed: return frame + ": removed (was " + change.before + ")";
    case FrameChange::Kind::Changed: break;
    }
    return frame + ": " + (change.before.empty() ? "(none)" : change.before) + " -> " +
           (change.after.empty() ? "(none)" : change.after);
}

} // namespace batch
