#pragma once
// Questions to the file system by name, the start of a small file read at once, and the home
// folder.
#include <cstddef>
#include <string>

namespace io {

// Whether anything (a file, a folder, whatever a link leads to) exists at the path.
bool Exists(const std::string& path);

// Whether the path names a folder (or a link to one).
bool IsFolder(const std::string& path);

// Reads the first maxBytes at most of a regular file (a link to one included) into bytes;
// false when there is none at the path or it cannot be read.
bool ReadFileStart(const std::string& path, std::string& bytes, std::size_t maxBytes);

// HOME, or the account's home folder when HOME is unset or empty; "/" when neither is known.
std::string HomeFolder();

} // namespace io
