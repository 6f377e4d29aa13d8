// Prints, for fonarel-write over N songs (100,000 by default) of an embedded catalogue, each in
// its own file, tags rewritten in place on a warm cache, in alternating rounds of one run:
//   - a whole run against the bare toolkit loop (each song's inspection held for writing, its
//     plan and its save) over the same files with the same values; the run's writing alone is the
//     whole run less a run that lists the same songs and writes none (--code of no song);
//   - a second run with --skip-unchanged (which writes nothing) against the inspection alone
//     (the loop without the plan and the save);
//   - the same work in one process (the command's mapping and song write against the bare loops),
//     without the process and the catalogue's engine around it, and the mapping alone;
//   - the peak resident memory of a run, of the run that writes none, and the song list's rows.
//
//   command_bench [songs] [rounds]    (100000 and 3 by default)
#include "bench/support/CatalogueSongs.h"
#include "bench/support/Measures.h"
#include "bench/support/WorkingSet.h"

#include "songs/SongTagMapping.h"
#include "songs/SongWriting.h"
#include "catalogue/CatalogueSession.h"
#include "catalogue/SongQuery.h"
#include "io/FileSystem.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Seconds;

const std::string kData = FONAREL_BENCH_DATA;
const std::string kCommand = FONAREL_WRITE_TOOL;

// The catalogue's song list, open, and its songs mapped once for the bare loops.
struct Songs {
    explicit Songs(const std::string& database)
    {
        session.DB_Audio().SetDatabaseName(database);
        session.RunSongQuery("", catalogue::kDefaultSortColumn);
        mapped = bench::MappedSongs(session.Q_Musicas());
    }
    catalogue::CatalogueSession session;
    std::vector<songs::SongTag> mapped;
};

// The mapping of every row alone.
double MappingAlone(catalogue::SongList& list)
{
    std::size_t bytes = 0;
    const auto start = Clock::now();
    for (catalogue::SongList::RowId row = 0; row < list.RowCount(); ++row)
        bytes += songs::MapSongToTag(list.Row(row)).fileName.size();
    const double seconds = Seconds(Clock::now() - start);
    if (bytes == 0)
        std::fprintf(stderr, "command_bench: no song mapped\n");
    return seconds;
}

// The command's own work for each song, in this process: the mapping of its row and the song
// write with the command's options, then the one flush of a run that wrote.
double CommandSongs(catalogue::SongList& list, const songs::SongWriteOptions& options)
{
    io::WrittenFileSystems written;
    std::size_t done = 0;
    const auto start = Clock::now();
    for (catalogue::SongList::RowId row = 0; row < list.RowCount(); ++row) {
        const songs::SongTag tag = songs::MapSongToTag(list.Row(row));
        const songs::SongWriteResult result = songs::WriteCatalogueSong(tag, options, written);
        done += result.outcome == songs::SongOutcome::Written || result.outcome == songs::SongOutcome::Unchanged;
    }
    written.FlushAll();
    const double seconds = Seconds(Clock::now() - start);
    if (done != list.RowCount())
        std::fprintf(stderr, "command_bench: the command's songs wrote or kept %zu of %zu\n", done, list.RowCount());
    return seconds;
}

// The bare toolkit loop over the songs, with or without the save and the run's one flush at its
// end: seconds.
double BareLoopSeconds(const std::vector<songs::SongTag>& songs, bool save, bool flush = false)
{
    return Seconds(bench::BareLoop(songs, save, flush));
}

struct CommandRun {
    double seconds = 0;
    double peakMiB = 0;
    int status = -1;
};

// fonarel-write with the arguments, its output (and with quiet its errors) thrown away: its time
// and peak resident memory.
CommandRun RunCommand(std::vector<std::string> args, bool quiet = false)
{
    args.insert(args.begin(), kCommand);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    CommandRun run;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, kCommand.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.seconds = Seconds(Clock::now() - start);
        run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (run.status != 0)
        std::fprintf(stderr, "command_bench: fonarel-write ended with %d\n", run.status);
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    fs::create_directories(kData);
    const std::string master = kData + "/master-1s.mp3";
    if (!bench::EncodeOnce(master, {"-b", "32"}, 1.0)) {
        std::fprintf(stderr, "command_bench: lame could not make %s\n", master.c_str());
        return 1;
    }
    const std::string folder = kData + "/songs";
    const std::string database = kData + "/command.fdb";
    std::printf("making %zu songs...\n", count);
    std::fflush(stdout);
    bench::MakeWorkingSet(folder, master, static_cast<int>(count));
    // Codes 1..count, each song in a file of its own.
    bench::BuildSongCatalogue(database, folder, count, count);
    // The embedded engine keeps the database to the process that has it open: the list is read
    // here and closed again before the command runs.
    std::vector<songs::SongTag> mapped;
    std::size_t keptBytes = 0;
    {
        Songs songs(database);
        mapped = songs.mapped;
        keptBytes = songs.session.Q_Musicas().KeptBytes();
    }
    // Untimed: every file gets its first tag (a rebuild); from here on tags are rewritten in place,
    // and the files are in the cache.
    BareLoopSeconds(mapped, true);

    const std::vector<std::string> base = {"--database", database, "--quiet"};
    const auto with = [&base](std::vector<std::string> more) {
        more.insert(more.begin(), base.begin(), base.end());
        return more;
    };
    std::vector<double> whole, bare, bareFlushed, none, skip, inspect, ownWrite, ownSkip, mapping;
    CommandRun lastWhole, lastNone, lastSkip;
    for (int r = 0; r < rounds; ++r) {
        const bool commandFirst = r % 2 == 0;
        if (!commandFirst) {
            bare.push_back(BareLoopSeconds(mapped, true));
            bareFlushed.push_back(BareLoopSeconds(mapped, true, true));
        }
        lastWhole = RunCommand(base);
        whole.push_back(lastWhole.seconds);
        if (commandFirst) {
            bare.push_back(BareLoopSeconds(mapped, true));
            bareFlushed.push_back(BareLoopSeconds(mapped, true, true));
        }
        lastNone = RunCommand(with({"--code", "0"}), true);
        none.push_back(lastNone.seconds);
        // Every tag is now what the catalogue gives: a run that skips the unchanged writes none.
        if (commandFirst)
            inspect.push_back(BareLoopSeconds(mapped, false));
        lastSkip = RunCommand(with({"--skip-unchanged"}));
        skip.push_back(lastSkip.seconds);
        if (!commandFirst)
            inspect.push_back(BareLoopSeconds(mapped, false));
    }
    {
        // The same work without the process around it, alternating with the bare loops.
        Songs songs(database);
        catalogue::SongList& list = songs.session.Q_Musicas();
        songs::SongWriteOptions skipping;
        skipping.skipUnchanged = true;
        for (int r = 0; r < rounds; ++r) {
            ownWrite.push_back(CommandSongs(list, {}));
            bareFlushed.push_back(BareLoopSeconds(mapped, true, true));
            inspect.push_back(BareLoopSeconds(mapped, false));
            ownSkip.push_back(CommandSongs(list, skipping));
            mapping.push_back(MappingAlone(list));
        }
    }

    const double w = bench::Median(whole), b = bench::Median(bare), n = bench::Median(none);
    const double f = bench::Median(bareFlushed);
    const double s = bench::Median(skip), i = bench::Median(inspect);
    const double perSong = 1e6 / static_cast<double>(count);
    std::printf("fonarel-write over %zu songs, tags rewritten in place, warm cache (%d rounds, medians):\n", count, rounds);
    std::printf("  whole run %.2f s (%.0f songs/s); listing the songs and writing none %.2f s\n", w, count / w, n);
    std::printf("  its writing %.2f s (%.1f us a song) against the bare toolkit loop %.2f s (%.1f us a song): %.3fx;\n"
                "  against the bare loop with the run's one flush at its end %.2f s (%.1f us a song): %.3fx\n",
                w - n, (w - n) * perSong, b, b * perSong, (w - n) / b, f, f * perSong, (w - n) / f);
    std::printf("  --skip-unchanged, second run: whole %.2f s, its songs %.2f s (%.1f us a song) against the "
                "inspection alone %.2f s (%.1f us a song): %.3fx\n",
                s, s - n, (s - n) * perSong, i, i * perSong, (s - n) / i);
    const double ow = bench::Median(ownWrite), os = bench::Median(ownSkip), m = bench::Median(mapping);
    std::printf("  in one process, the command's mapping and song write: %.1f us a song against the bare loop with "
                "its flush %.1f: %.3fx; with --skip-unchanged %.1f us a song against the inspection alone %.1f: %.3fx\n",
                ow * perSong, f * perSong, ow / f, os * perSong, i * perSong, os / i);
    std::printf("  of which mapping the catalogue rows %.1f us a song; --skip-unchanged less the mapping against the "
                "inspection alone: %.3fx\n",
                m * perSong, (os - m) / i);
    std::printf("  peak resident memory: run %.1f MiB, --skip-unchanged %.1f MiB, listing and writing none %.1f MiB; "
                "the song list's rows %.2f MiB\n",
                lastWhole.peakMiB, lastSkip.peakMiB, lastNone.peakMiB, bench::MiB(static_cast<double>(keptBytes)));
    bench::RemoveFolder(folder);
    fs::remove(database);
    return 0;
}
