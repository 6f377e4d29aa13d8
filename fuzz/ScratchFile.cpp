#include "ScratchFile.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace fuzzing {
namespace {

// Owns the scratch file's name and removes the file when the process ends.
class ScratchFile {
public:
    explicit ScratchFile(const char* harness)
        : path_("/dev/shm/fonarel-" + std::string(harness) + "-fuzz-" + std::to_string(::getpid()) + ".mp3")
    {
    }
    ~ScratchFile() { ::unlink(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

const std::string& ScratchPath(const char* harness)
{
    static const ScratchFile file(harness);
    return file.Path();
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::uint8_t block[4096];
        for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;)
            bytes.insert(bytes.end(), block, block + n);
        std::fclose(f);
    }
    return bytes;
}

void Check(bool condition, const char* harness, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s fuzz: %s\n", harness, what);
        std::abort();
    }
}

} // namespace fuzzing
