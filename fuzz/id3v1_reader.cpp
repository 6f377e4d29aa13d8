// Fuzzes the ID3v1 reader over arbitrary file bytes: the file is written to a scratch file and
// read back; the values must be those of the last 128 bytes read from memory.
#include "ScratchFile.h"
#include "audio/ID3v1.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kHarness = "id3v1";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    const std::string& path = fuzzing::ScratchPath(kHarness);
    if (!fuzzing::WriteWholeFile(path, input))
        return 0;
    audio::TID3v1 tag;
    const bool read = tag.ReadFromFile(path);
    ::unlink(path.c_str());

    fuzzing::Check(read == (size >= audio::TagV1Size), kHarness, "ReadFromFile result");
    if (!read) {
        fuzzing::Check(!tag.Exists() && tag.GenreID() == 255 && tag.Title().empty(), kHarness, "failed read left values");
        return 0;
    }
    audio::TID3v1 fromMemory;
    fromMemory.ReadFromBlock(input.last<audio::TagV1Size>());
    fuzzing::Check(tag.Exists() == audio::HasTagV1Marker(input.last(audio::TagV1Size)), kHarness, "Exists");
    fuzzing::Check(tag.Exists() == fromMemory.Exists() && tag.Title() == fromMemory.Title() &&
              tag.Artist() == fromMemory.Artist() && tag.Album() == fromMemory.Album() &&
              tag.Year() == fromMemory.Year() && tag.Comment() == fromMemory.Comment() &&
              tag.Track() == fromMemory.Track() && tag.GenreID() == fromMemory.GenreID() &&
              tag.VersionID() == fromMemory.VersionID(), kHarness,
          "file and memory reads disagree");
    fuzzing::Check(tag.Title().size() <= 30 && tag.Artist().size() <= 30 && tag.Album().size() <= 30 &&
              tag.Year().size() <= 4 && tag.Comment().size() <= 30, kHarness,
          "field longer than its bytes");
    fuzzing::Check(tag.VersionID() == 1 || tag.VersionID() == 2, kHarness, "VersionID");
    fuzzing::Check(tag.Genre().empty() == (tag.GenreID() >= 148), kHarness, "Genre");
    return 0;
}
