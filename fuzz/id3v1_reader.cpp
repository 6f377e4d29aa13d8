// Fuzzes the ID3v1 reader over arbitrary file bytes: the file is written to a scratch file and
// read back; the values must be those of the last 128 bytes read from memory.
#include "audio/ID3v1.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <string>
#include <unistd.h>

namespace {

const std::string& ScratchPath()
{
    static const std::string path = "/dev/shm/fonarel-id3v1-fuzz-" + std::to_string(::getpid()) + ".mp3";
    return path;
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "id3v1 fuzz: %s\n", what);
        std::abort();
    }
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    const std::string& path = ScratchPath();
    if (!WriteWholeFile(path, input))
        return 0;
    audio::TID3v1 tag;
    const bool read = tag.ReadFromFile(path);
    ::unlink(path.c_str());

    Check(read == (size >= audio::TagV1Size), "ReadFromFile result");
    if (!read) {
        Check(!tag.Exists() && tag.GenreID() == 255 && tag.Title().empty(), "failed read left values");
        return 0;
    }
    audio::TID3v1 fromMemory;
    fromMemory.ReadFromBlock(input.last<audio::TagV1Size>());
    Check(tag.Exists() == audio::HasTagV1Marker(input.last(audio::TagV1Size)), "Exists");
    Check(tag.Exists() == fromMemory.Exists() && tag.Title() == fromMemory.Title() &&
              tag.Artist() == fromMemory.Artist() && tag.Album() == fromMemory.Album() &&
              tag.Year() == fromMemory.Year() && tag.Comment() == fromMemory.Comment() &&
              tag.Track() == fromMemory.Track() && tag.GenreID() == fromMemory.GenreID() &&
              tag.VersionID() == fromMemory.VersionID(),
          "file and memory reads disagree");
    Check(tag.Title().size() <= 30 && tag.Artist().size() <= 30 && tag.Album().size() <= 30 &&
              tag.Year().size() <= 4 && tag.Comment().size() <= 30,
          "field longer than its bytes");
    Check(tag.VersionID() == 1 || tag.VersionID() == 2, "VersionID");
    Check(tag.Genre().empty() == (tag.GenreID() >= 148), "Genre");
    return 0;
}
