// Fuzzes the MPEG audio analyser over arbitrary file bytes: the input is analysed in memory,
// every derived value is computed, and the analyser's promises are checked. The same bytes in a
// scratch file must read the same, alone and as inspection reads them, the three readers
// sharing one open song.
#include "ScratchFile.h"
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "io/ByteSource.h"
#include "io/SongBytes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kHarness = "mpeg_audio";

// The ID3v2 header (10 bytes), two scan buffers and the last 3458 + 128 bytes.
constexpr std::int64_t MostBytesRead = 10 + 3458 + 3458 + 3586;

// The three readers over one open song, as inspection runs them: the analyser must find what
// it finds alone, the tag readers what they read alone, and no range may be read twice.
void CheckSharedReads(const std::string& path, const audio::TMPEGaudio& alone, bool readAlone)
{
    io::SongBytes song;
    if (!song.Open(path))
        return;
    audio::TMPEGaudio shared;
    fuzzing::Check(shared.ReadFromSource(song) == readAlone, kHarness, "shared analyser result");
    fuzzing::Check(shared.FileLength() == alone.FileLength() && shared.Frame().Found == alone.Frame().Found &&
              shared.Frame().Position == alone.Frame().Position && shared.VBR().Found == alone.VBR().Found &&
              shared.TailVendor() == alone.TailVendor() && shared.TagV1Exists() == alone.TagV1Exists() &&
              shared.BytesRead() == alone.BytesRead(), kHarness,
          "shared analyser disagrees");
    id3v2::TID3v2 tag2, tag2Alone;
    audio::TID3v1 tag1, tag1Alone;
    fuzzing::Check(tag2.ReadFromSource(song) == tag2Alone.ReadFromFile(path), kHarness, "shared ID3v2 result");
    fuzzing::Check(tag2.TagFound() == tag2Alone.TagFound() && tag2.TagSize() == tag2Alone.TagSize() &&
              tag2.Values().Text == tag2Alone.Values().Text && tag2.Values().Rating == tag2Alone.Values().Rating, kHarness,
          "shared ID3v2 values disagree");
    fuzzing::Check(tag1.ReadFromSource(song) == tag1Alone.ReadFromFile(path), kHarness, "shared ID3v1 result");
    fuzzing::Check(tag1.Exists() == tag1Alone.Exists() && tag1.Title() == tag1Alone.Title(), kHarness, "shared ID3v1 values disagree");
    fuzzing::Check(song.FileBytesRead() == song.KeptBytes() && song.FileBytesRead() <= song.Length(), kHarness, "a range read twice");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    io::MemoryBytes memory(input);
    audio::TMPEGaudio a;
    const bool read = a.ReadFromSource(memory);

    const std::string& path = fuzzing::ScratchPath(kHarness);
    if (fuzzing::WriteWholeFile(path, input)) {
        audio::TMPEGaudio fromFile;
        fuzzing::Check(fromFile.ReadFromFile(path) == read && fromFile.Frame().Position == a.Frame().Position &&
                           fromFile.BytesRead() == a.BytesRead() && fromFile.TailVendor() == a.TailVendor(),
                       kHarness, "the file reads other than the same bytes in memory");
        CheckSharedReads(path, a, read);
        ::unlink(path.c_str());
    }

    // Every value is computed on demand: compute them all.
    const std::string names = a.Version() + a.Layer() + a.ChannelMode() + a.Emphasis() + a.Encoder();
    const std::uint16_t bitRate = a.BitRate();
    const std::uint16_t sampleRate = a.SampleRate();
    const double duration = a.Duration();
    const bool valid = a.Valid();
    if (a.Frame().Found)
        static_cast<void>(a.Frames());

    fuzzing::Check(read == (size >= 128), kHarness, "ReadFromFile result");
    fuzzing::Check(a.BytesRead() <= MostBytesRead && a.BytesRead() <= static_cast<std::int64_t>(size) * 3 + 10, kHarness, "bytes read");
    fuzzing::Check(!names.empty(), kHarness, "names");
    if (!a.Frame().Found) {
        fuzzing::Check(a.FileLength() == 0 && !a.VBR().Found && !valid && bitRate == 0 && sampleRate == 0 && duration == 0, kHarness,
              "no frame but not in the reset state");
        return 0;
    }
    fuzzing::Check(a.FileLength() == static_cast<std::int64_t>(size), kHarness, "FileLength");
    fuzzing::Check(a.Frame().Position >= 0 && a.Frame().Position <= 1729 && a.Frame().Size > 0, kHarness, "frame position or size");
    fuzzing::Check(a.TagV2Size() >= 0 && a.TagV2Size() <= static_cast<std::int64_t>(size), kHarness, "tag size");
    if (valid)
        fuzzing::Check(bitRate >= 8 && bitRate <= 448 && duration >= 0.1, kHarness, "valid outside the limits");
    return 0;
}
