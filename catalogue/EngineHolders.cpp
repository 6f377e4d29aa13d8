#include "catalogue/EngineHolders.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace catalogue {
namespace {

// A file as /proc/locks names it: device major and minor, inode.
struct FileKey {
    unsigned long major;
    unsigned long minor;
    unsigned long inode;
    auto operator<=>(const FileKey&) const = default;
};

std::filesystem::path LockFolder()
{
    const char* folder = std::getenv("FIREBIRD_LOCK");
    return folder && *folder ? folder : "/tmp/firebird";
}

std::set<FileKey> LockFiles()
{
    std::set<FileKey> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(LockFolder(), error)) {
        struct stat about {};
        if (::stat(entry.path().c_str(), &about) == 0)
            files.insert({major(about.st_dev), minor(about.st_dev), about.st_ino});
    }
    return files;
}

// "1: POSIX  ADVISORY  WRITE 4711 fe:00:10952884 0 EOF"; a waiter's line has "->" after the number.
bool ParseLockLine(const std::string& line, long& pid, FileKey& file)
{
    std::istringstream fields(line);
    std::string number, type, kind, mode, where;
    fields >> number >> type;
    if (type == "->")
        return false; // waits for a lock rather than holds one
    fields >> kind >> mode >> pid >> where;
    if (!fields)
        return false;
    char colon1 = 0, colon2 = 0;
    std::istringstream parts(where);
    parts >> std::hex >> file.major >> colon1 >> file.minor >> colon2 >> std::dec >> file.inode;
    return parts && colon1 == ':' && colon2 == ':';
}

std::string ProcessName(long pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "?" : name;
}

} // namespace

std::vector<std::string> EngineHolders()
{
    const std::set<FileKey> files = LockFiles();
    std::set<long> holders;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        long pid = 0;
        FileKey file{};
        if (ParseLockLine(line, pid, file) && pid != ::getpid() && files.contains(file))
            holders.insert(pid);
    }
    std::vector<std::string> named;
    for (const long pid : holders)
        named.push_back(ProcessName(pid) + " (" + std::to_string(pid) + ")");
    return named;
}

} // namespace catalogue
