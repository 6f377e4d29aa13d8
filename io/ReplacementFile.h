#pragma once
// The new file of a rebuild, made beside the song and renamed over it in one step once it is
// complete and on disk; removed when it goes, unless it was renamed.
#include "io/BinaryFile.h"
#include "io/SongFile.h"

#include <string>

namespace io {

class ReplacementFile {
public:
    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Replaces a stale file of the same name by a new, empty one, created exclusively (a
    // symbolic link of that name is removed, never followed).
    bool Create();
    // The song's permission bits, exactly (the creation mask does not apply), and its owner
    // where the process may give it.
    bool TakeOwnershipOf(const SongFile& song) const;
    const BinaryFile& File() const { return file_; }
    // Flushes the new file to disk and closes it.
    bool FlushAndClose();
    // Renames the new file over the target in one step, and flushes the folder, so that once
    // this returns a power cut can bring back neither the old file nor a missing one.
    bool RenameOver(const std::string& target);

private:
    std::string path_;
    BinaryFile file_;
    bool created_ = false;
    bool renamed_ = false;
};

} // namespace io
