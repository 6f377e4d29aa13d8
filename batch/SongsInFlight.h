#pragma once
// Several songs written at once: worker threads take the songs in list order, each with the
// toolkit state of its own thread, while the calling thread tells what became of each song in
// list order, so that the listing, the report and the summary are those of a run one song at a
// time. A stop request ends the taking of songs; every song taken is written and told.
#include "io/FileSystem.h"
#include "songs/SongTagMapping.h"
#include "songs/SongWriting.h"

#include <atomic>
#include <csignal>
#include <cstddef>
#include <functional>

namespace batch {

struct SongDone {
    songs::SongTag tag;
    songs::SongWriteResult result;
};

// write(i, written) writes song i on a worker (adding the file systems it wrote to `written`);
// tell(i, done) runs on the calling thread, for i = 0, 1, ... in order. `jobs` songs at most are
// in flight; a few more wait to be told. The file systems every worker wrote to end in
// `written`. Returns the number of songs told.
std::size_t WriteSongsInFlight(std::size_t count, unsigned jobs,
                               const std::function<SongDone(std::size_t, io::WrittenFileSystems&)>& write,
                               const std::function<void(std::size_t, const SongDone&)>& tell,
                               const volatile std::sig_atomic_t& stop, const std::atomic<bool>& halt,
                               io::WrittenFileSystems& written);

} // namespace batch
