// Times TMPEGaudio::ReadFromFile over 2,000 real MP3 files against TagLib's MPEG audio
// properties (its fast read style), in the same run, and reports the bytes each reads per file.
//
//   audio_bench [cache folder] [file count]
#include "audio/MPEGaudio.h"
#include "bench/support/Measures.h"

#include <taglib/mpegfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchFiles.h"

namespace {

using bench::Clock;
using bench::Median;

// Bytes this process has read through read system calls so far.
std::uint64_t BytesReadByProcess()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return 0;
}

struct PassResult {
    std::vector<double> microseconds;  // one per file
    double bytesPerFile = 0;           // from the process's read count
};

// Runs `read` over every file once, timing each call.
PassResult Pass(const std::vector<std::string>& files, const std::function<void(const std::string&)>& read)
{
    PassResult result;
    result.microseconds.reserve(files.size());
    const std::uint64_t before = BytesReadByProcess();
    for (const std::string& file : files) {
        const auto start = Clock::now();
        read(file);
        result.microseconds.push_back(bench::Microseconds(Clock::now() - start));
    }
    result.bytesPerFile = static_cast<double>(BytesReadByProcess() - before) / static_cast<double>(files.size());
    return result;
}

volatile double sink = 0;  // keeps the compiler from dropping the values read

void ReadWithAnalyser(const std::string& path)
{
    audio::TMPEGaudio analyser;
    if (analyser.ReadFromFile(path) && analyser.Valid())
        sink = sink + analyser.Duration() + analyser.BitRate() + analyser.SampleRate() + analyser.Frames() +
               static_cast<double>(analyser.Encoder().size() + analyser.ChannelMode().size());
}

void ReadWithTagLib(const std::string& path)
{
    TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Fast);
    if (const TagLib::MPEG::Properties* p = file.audioProperties())
        sink = sink + p->lengthInMilliseconds() + p->bitrate() + p->sampleRate() + p->channels();
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : FONAREL_AUDIO_BENCH_CACHE;
    const std::size_t count = argc > 2 ? std::stoul(argv[2]) : 2000;
    const std::vector<std::string> files = bench::BenchFiles(folder, count);
    if (files.empty()) {
        std::fprintf(stderr, "could not make the benchmark files in %s\n", folder.c_str());
        return 1;
    }

    // What the analyser finds and reads, file by file.
    std::size_t valid = 0;
    std::vector<double> analyserBytes;
    for (const std::string& file : files) {
        audio::TMPEGaudio analyser;
        valid += analyser.ReadFromFile(file) && analyser.Valid();
        analyserBytes.push_back(static_cast<double>(analyser.BytesRead()));
    }

    // A warm-up pass of each, then alternating measured passes.
    Pass(files, ReadWithAnalyser);
    Pass(files, ReadWithTagLib);
    constexpr int Rounds = 5;
    std::vector<double> ours, theirs;
    double oursBytes = 0, theirBytes = 0;
    for (int round = 0; round < Rounds; ++round) {
        const PassResult a = Pass(files, ReadWithAnalyser);
        const PassResult t = Pass(files, ReadWithTagLib);
        ours.insert(ours.end(), a.microseconds.begin(), a.microseconds.end());
        theirs.insert(theirs.end(), t.microseconds.begin(), t.microseconds.end());
        oursBytes += a.bytesPerFile / Rounds;
        theirBytes += t.bytesPerFile / Rounds;
    }

    const double oursMedian = Median(ours);
    const double theirMedian = Median(theirs);
    std::printf("files: %zu (%zu valid), %d measured passes each\n", files.size(), valid, Rounds);
    std::printf("TMPEGaudio::ReadFromFile   median %8.2f us/file   bytes read/file: %.0f (min %.0f, median %.0f, max %.0f by BytesRead)\n",
                oursMedian, oursBytes, *std::min_element(analyserBytes.begin(), analyserBytes.end()),
                Median(analyserBytes), *std::max_element(analyserBytes.begin(), analyserBytes.end()));
    std::printf("TagLib MPEG::File (Fast)   median %8.2f us/file   bytes read/file: %.0f\n", theirMedian, theirBytes);
    std::printf("ratio analyser/TagLib: %.2fx (goal: at most 0.5x)\n", oursMedian / theirMedian);
    return 0;
}
