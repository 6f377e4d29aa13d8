#include "io/FileSystem.h"

#include "io/BinaryFile.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <span>
#include <unistd.h>

namespace io {

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

bool ReadFileStart(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    bytes.clear();
    // Asked by name first, so that opening never waits on a pipe or a device.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), error))
        return false;
    BinaryFile file;
    FileStatus status;
    if (!file.Open(path, BinaryFile::Mode::Read, &status))
        return false;
    bytes.resize(static_cast<std::size_t>(std::min<std::int64_t>(status.length, static_cast<std::int64_t>(maxBytes))));
    const std::int64_t got =
        file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
    if (got < 0) {
        bytes.clear();
        return false;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* account = getpwuid(getuid()); account != nullptr && account->pw_dir != nullptr)
        return account->pw_dir;
    return "/";
}

} // namespace io
