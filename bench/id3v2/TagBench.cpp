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
#include "tools/mp3fixtures/FileBytes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Job = std::function<bool(const std::string&)>;

struct Contender {
    const char* name;
    Job run;
    std::vector<std::string> files;
    std::vector<double> micros;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double TimeOne(const Job& job, const std::string& path)
{
    const auto start = Clock::now();
    const bool ok = job(path);
    const auto end = Clock::now();
    if (!ok)
        std::fprintf(stderr, "failed on %s\n", path.c_str());
    return std::chrono::duration<double, std::micro>(end - start).count();
}

// Runs the contenders over their files, taking turns per file (the order rotates).
void RunInTurns(std::vector<Contender>& contenders)
{
    const std::size_t count = contenders.front().files.size();
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t k = 0; k < contenders.size(); ++k) {
            Contender& c = contenders[(i + k) % contenders.size()];
            c.micros.push_back(TimeOne(c.run, c.files[i]));
        }
}

double PairRatio(const Contender& a, const Contender& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.micros.size(); ++i)
        ratios.push_back(a.micros[i] / b.micros[i]);
    return Median(ratios);
}

void Report(const char* title, const std::vector<Contender>& contenders)
{
    std::printf("%s\n", title);
    for (const Contender& c : contenders)
        std::printf("  %-28s median %9.1f us per file\n", c.name, Median(c.micros));
    for (std::size_t k = 1; k < contenders.size(); ++k)
        std::printf("  %s / %s: median of pair ratios %.2f (ratio of medians %.2f)\n", contenders[0].name, contenders[k].name,
                    PairRatio(contenders[0], contenders[k]), Median(contenders[0].micros) / Median(contenders[k].micros));
}

std::vector<std::uint8_t> FirstBytes(const std::string& path, std::size_t count)
{
    auto bytes = fixtures::ReadFileBytes(path);
    bytes.resize(std::min(count, bytes.size()));
    return bytes;
}

void BenchInPlace(const bench::SizeClass& size, const std::string& work)
{
    const auto tag = FirstBytes(size.tagged, 4096);
    std::vector<Contender> contenders = {
        {"ours (read + save)", bench::OursReadAndSave, {}, {}},
        {"floor (pread, pwrite)", [&](const std::string& p) { return bench::FloorInPlace(p, tag); }, {}, {}},
        {"TagLib (read + save 2.3)", bench::TagLibReadAndSave, {}, {}},
    };
    for (Contender& c : contenders)
        c.files = bench::MakeWorkingSet(work + "/" + c.name, size.tagged, size.count);
    ::sync();
    RunInTurns(contenders);
    Report(("In place, " + std::to_string(size.count) + " files of " + size.name + " with a 4096-byte tag").c_str(), contenders);
    for (Contender& c : contenders)
        bench::RemoveFolder(work + "/" + c.name);
}

void BenchRebuild(const bench::SizeClass& size, const std::string& work)
{
    const auto tag = FirstBytes(size.tagged, 4096);
    std::vector<Contender> contenders = {
        {"ours (read + save)", bench::OursReadAndSave, {}, {}},
        {"floor (copy, fsync, rename)", [&](const std::string& p) { return bench::FloorRebuild(p, tag); }, {}, {}},
    };
    for (Contender& c : contenders)
        c.files = bench::MakeWorkingSet(work + "/" + c.name, size.master, size.count);
    ::sync();
    RunInTurns(contenders);
    Report(("Rebuild, " + std::to_string(size.count) + " files of " + size.name + " without a tag").c_str(), contenders);
    for (Contender& c : contenders)
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
