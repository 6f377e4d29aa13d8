// id3v2_bench [data folder]: times a tag write over many real MP3 files.
//
// In place: 2,000 files of about 40 KB and 100 files of 5 MB, each with a 4096-byte tag.
// Per file, ReadFromFile then SaveToFile of a 21-frame tag (ours), against
//   the floor: open, pread the first 10 KB and the last 4 KB, pwrite 4096 bytes, close;
//   TagLib: read the tag, set the same frames, save as version 2.3.
// Rebuild: the same files without a tag, ours against a floor that writes the tag and
// copy_file_ranges the file into a temporary file, fsyncs it and renames it over the original.
//
// Every contender works on its own copy of each file, and the contenders take turns file by
// file, so that a pair of timings sees the same machine state. Prints medians (microseconds per
// file) and the medians of the pair-by-pair ratios. Warm cache: the copies are fresh in memory.
#include "BenchFiles.h"
#include "Contenders.h"
#include "bench/support/Floors.h"
#include "bench/support/Turns.h"
#include "bench/support/WorkingSet.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::uint8_t> FirstBytes(const std::string& path, std::size_t count)
{
    auto bytes = fixtures::ReadFileBytes(path);
    bytes.resize(std::min(count, bytes.size()));
    return bytes;
}

void BenchInPlace(const bench::SizeClass& size, const std::string& work)
{
    const auto tag = FirstBytes(size.tagged, 4096);
    std::vector<bench::Contender> contenders = {
        {"ours (read + save)", bench::OursReadAndSave, {}, {}},
        {"floor (pread, pwrite)", [&](const std::string& p) { return bench::FloorInPlace(p, tag); }, {}, {}},
        {"TagLib (read + save 2.3)", bench::TagLibReadAndSave, {}, {}},
    };
    for (bench::Contender& c : contenders)
        c.files = bench::MakeWorkingSet(work + "/" + c.name, size.tagged, size.count);
    ::sync();
    bench::RunInTurns(contenders);
    bench::Report(("In place, " + std::to_string(size.count) + " files of " + size.name + " with a 4096-byte tag"), contenders);
    for (bench::Contender& c : contenders)
        bench::RemoveFolder(work + "/" + c.name);
}

void BenchRebuild(const bench::SizeClass& size, const std::string& work)
{
    const auto tag = FirstBytes(size.tagged, 4096);
    std::vector<bench::Contender> contenders = {
        {"ours (read + save)", bench::OursReadAndSave, {}, {}},
        {"floor (copy, fsync, rename)", [&](const std::string& p) { return bench::FloorRebuild(p, tag); }, {}, {}},
    };
    for (bench::Contender& c : contenders)
        c.files = bench::MakeWorkingSet(work + "/" + c.name, size.master, size.count);
    ::sync();
    bench::RunInTurns(contenders);
    bench::Report(("Rebuild, " + std::to_string(size.count) + " files of " + size.name + " without a tag"), contenders);
    for (bench::Contender& c : contenders)
        bench::RemoveFolder(work + "/" + c.name);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? argv[1] : FONAREL_BENCH_DATA;
    std::vector<bench::SizeClass> sizes;
    if (!bench::PrepareMasters(data, sizes)) {
        std::fprintf(stderr, "cannot make the MP3 files (lame, ffmpeg)\n");
        return 1;
    }
    const std::string work = data + "/work";
    for (const bench::SizeClass& size : sizes)
        BenchInPlace(size, work);
    for (const bench::SizeClass& size : sizes)
        BenchRebuild(size, work);
    bench::RemoveFolder(work);
    return 0;
}
