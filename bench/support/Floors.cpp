#include "bench/support/Floors.h"

#include <array>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {

bool FloorInPlace(const std::string& path, const std::vector<std::uint8_t>& tag)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    std::array<std::uint8_t, 10240> head{};
    std::array<std::uint8_t, 4096> tail{};
    bool ok = ::fstat(fd, &st) == 0;
    ok = ok && ::pread(fd, head.data(), head.size(), 0) > 0;
    ok = ok && ::pread(fd, tail.data(), tail.size(), st.st_size > 4096 ? st.st_size - 4096 : 0) > 0;
    ok = ok && ::pwrite(fd, tag.data(), tag.size(), 0) == static_cast<ssize_t>(tag.size());
    return ::close(fd) == 0 && ok;
}

bool FloorRebuild(const std::string& path, const std::vector<std::uint8_t>& tag)
{
    const std::string temporary = path + "~";
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    struct stat st {};
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = out >= 0 && ::fstat(in, &st) == 0;
    ok = ok && ::write(out, tag.data(), tag.size()) == static_cast<ssize_t>(tag.size());
    for (off_t left = st.st_size; ok && left > 0;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<std::size_t>(left), 0);
        ok = n > 0;
        left -= n;
    }
    ok = ok && ::fsync(out) == 0;
    ok = (out >= 0 && ::close(out) == 0) && ok;
    ::close(in);
    return ok && ::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace bench
