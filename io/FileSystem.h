#pragma once
// Questions to the file system by name, the start of a small file read at once, and the home
// folder.
#include "io/BinaryFile.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace io {

// Whether anything (a file, a folder, whatever a link leads to) exists at the path.
bool Exists(const std::string& path);

// Whether the path names (through its links) the file of that identity.
bool PathNames(const std::string& path, const FileIdentity& identity);

// Whether the path names a folder (or a link to one).
bool IsFolder(const std::string& path);

// Reads the first maxBytes at most of a regular file (a link to one included) into bytes;
// false when there is none at the path or it cannot be read, with the system's error number in
// *error when given (EACCES for a file this user may not read, EINVAL for no regular file).
bool ReadFileStart(const std::string& path, std::string& bytes, std::size_t maxBytes, int* error = nullptr);

// A folder as one call to the system finds it: the error number when it cannot be asked about
// (0 when it can), and the file system it is on.
struct FolderCheck {
    int error = 0;
    unsigned long long device = 0;
};
FolderCheck CheckFolder(const std::string& path);

// Flushes the folder that holds the path (its entries: a rename, a new file) to disk. Best
// effort: false when the folder cannot be opened or flushed.
bool SyncFolderOf(const std::string& path);

// The file a path names, every symbolic link on the way resolved; the path itself when it
// names no file or cannot be resolved.
std::string LinkTarget(const std::string& path);

// The file systems a batch run wrote to, one file of each, so that the run can flush each once
// at its end (in-place writes are not flushed one by one).
class WrittenFileSystems {
public:
    // Remembers the file system of a file written (its device, as the open file told it).
    void Add(unsigned long long device, const std::string& path);
    // The same for a file known by its name alone (its file system asked by name).
    void AddByName(const std::string& path);
    // Remembers the file systems another list remembers.
    void Merge(const WrittenFileSystems& other);
    // Flushes every remembered file system once (syncfs), then forgets them; how many.
    std::size_t FlushAll();

private:
    std::vector<std::pair<unsigned long long, std::string>> files_; // device, one file on it
};

// HOME, or the account's home folder when HOME is unset or empty; "/" when neither is known.
std::string HomeFolder();

} // namespace io
