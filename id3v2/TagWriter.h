#pragma once
// Puts a new version 2.3 tag into a song file in place of the tag it begins with: over the old
// tag when that is at most 4096 bytes and large enough (the file keeps its length), otherwise by
// rebuilding the file through a temporary file next to it (path + "~").
//
// A write holds the writers' lock on the song from the moment it opens the song for writing
// until the new bytes are in place, so that two writers of one song never mix their bytes; the
// temporary file of a song whose lock a writer holds is that writer's alone, and one found there
// is stale (its writer is gone).
#include "io/BinaryFile.h"
#include "io/Outcome.h"
#include "io/SongFile.h"
#include "id3v2/TagValues.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace id3v2 {

// How long a write waits for another writer of the same song.
inline constexpr std::chrono::milliseconds kDefaultLockWait{5000};

// The song as its inspection found it, which the new tag's values were merged from.
struct InspectedFile {
    io::FileIdentity identity;
    std::int64_t length = 0;
    // The song's first bytes as inspection read them: its whole tag when inspection held it in
    // memory, else at least the tag header (fewer for a shorter file).
    std::span<const std::uint8_t> start;
};

// What a write puts into the song: the values of the table's frames, the old tag's other frames
// kept (version 2.3 frames, written after them; none by default), and whether the song keeps the
// times it had (when it was last read and written).
struct TagWrite {
    const TagValues& Values;
    std::span<const std::uint8_t> OtherFrames = {};
    bool KeepTimes = false;
    // The new tag already built, for the song's header and length as the write finds them (a
    // plan made from the song's inspection), and whether it replaces the old tag by a rebuild:
    // the write puts these bytes in, and builds nothing. Empty: the write builds the tag itself.
    std::span<const std::uint8_t> Built = {};
    bool Rebuild = false;
};

struct WriteGuard {
    std::chrono::milliseconds lockWait = kDefaultLockWait;
    // When given, the song must still be this file with these bytes once it is locked.
    const InspectedFile* inspected = nullptr;
};

// The whole write of one tag under the writers' lock: Done when the new tag is in the file;
// Failed, with the step the system refused, when the file holds what it held (its read-only mark
// may be gone); Busy when another writer held the song for the whole wait; Changed when the song
// is not what was inspected any more. Nothing is done but for Done, and no temporary file is left.
io::Outcome WriteTag(const std::string& path, const TagWrite& write, const WriteGuard& guard);

// The write proper, into a song this writer has held locked since it read the song's first bytes
// (`head`: at least the tag header; a song without one is not written), from which the new tag
// is planned. Changed when the file a link leads to is no longer the song held.
io::Outcome WriteLockedTag(io::SongFile& song, const TagWrite& write, std::span<const std::uint8_t> head);

// The same with the default wait and no inspection to hold to: true when the new tag is in the
// file. A song replaced while waiting for it is opened again, once.
bool WriteTag(const std::string& path, const TagValues& values);

// Writes the tag bytes from offset 0 of the open file; their number is the old tag's length. With
// keepTimes, the song then gets back the times it had (a refusal of that is no failure: the tag
// is in the song).
io::Outcome OverwriteTag(io::SongFile& song, std::span<const std::uint8_t> tag, bool keepTimes = false);

// Writes the tag and then the song's bytes from `skip` on into path + "~", flushes it to disk
// and renames it over the song in one step. The new file keeps the song's permission bits (with
// owner write), its extended attributes and ACL and, where allowed, its owner. On failure the
// temporary file is removed. With keepTimes, the new file gets the song's times before its
// rename. The song stays open (and so locked) until the rename and the folder's flush are done.
io::Outcome RebuildWithTag(io::SongFile& song, std::int64_t skip, std::span<const std::uint8_t> tag,
                           bool keepTimes = false);

} // namespace id3v2
