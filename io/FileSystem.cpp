#include "io/FileSystem.h"

#include "io/HeldStatus.h"
#include "io/StatIdentity.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

namespace io {

bool Exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

bool PathNames(const std::string& path, const FileIdentity& identity)
{
    // The name is looked up again; which file it names needs no fresh attributes.
    struct stat status {};
    return HeldStatusOf(path.c_str(), status) && IdentityOf(status) == identity;
}

bool IsFolder(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

bool ReadFileStart(const std::string& path, std::string& bytes, std::size_t maxBytes, int* error)
{
    bytes.clear();
    // The open itself refuses, without waiting, anything but a regular file.
    BinaryFile file;
    FileStatus status;
    const auto failed = [&file, error] {
        if (error != nullptr)
            *error = file.LastError();
        return false;
    };
    if (!file.Open(path, BinaryFile::Mode::Read, &status))
        return failed();
    bytes.resize(static_cast<std::size_t>(std::min<std::int64_t>(status.length, static_cast<std::int64_t>(maxBytes))));
    const std::int64_t got =
        file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
    if (got < 0) {
        bytes.clear();
        return failed();
    }
    bytes.resize(static_cast<std::size_t>(got));
    return true;
}

FolderCheck CheckFolder(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {errno, 0};
    if (!S_ISDIR(st.st_mode))
        return {ENOTDIR, 0};
    return {0, static_cast<unsigned long long>(st.st_dev)};
}

bool SyncFolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

std::string LinkTarget(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::path(path), error))
        return path;
    const std::filesystem::path target = std::filesystem::canonical(std::filesystem::path(path), error);
    return error ? path : target.string();
}

void WrittenFileSystems::Add(unsigned long long device, const std::string& path)
{
    // Told for every file: a song's folder does not tell its file system, since a song may be a
    // link to another disk.
    for (const auto& [known, file] : files_)
        if (known == device)
            return;
    files_.emplace_back(device, path);
}

void WrittenFileSystems::AddByName(const std::string& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0)
        Add(IdentityOf(status).device, path);
}

void WrittenFileSystems::Merge(const WrittenFileSystems& other)
{
    for (const auto& [device, file] : other.files_)
        Add(device, file);
}

std::size_t WrittenFileSystems::FlushAll()
{
    std::size_t flushed = 0;
    for (const auto& [device, file] : files_) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        flushed += ::syncfs(fd) == 0;
        ::close(fd);
    }
    files_.clear();
    return flushed;
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
