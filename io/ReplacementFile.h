#pragma once
// The new file of a rebuild, made beside the song and renamed over it in one step once it is
// complete and on disk; removed when it goes, unless it was renamed.
#include "io/BinaryFile.h"
#include "io/Outcome.h"
#include "io/SongFile.h"

#include <string>

namespace io {

class ReplacementFile {
public:
    explicit ReplacementFile(std::string path);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the new, empty file exclusively; a stale file of the same name (a symbolic link
    // included, never followed) is removed first when the create finds one. Failed (Create)
    // when either is refused.
    Outcome Create();
    // Whether Create removed a stale file of that name.
    bool RemovedLeftover() const { return removedLeftover_; }
    // The song's permission bits, exactly (the creation mask does not apply), and its owner
    // where the process may give it. Failed (Permissions) when the bits are refused.
    Outcome TakeOwnershipOf(const SongFile& song) const;
    // The song's extended attributes and ACL; Failed (Attributes) when one cannot be carried over.
    Outcome TakeAttributesOf(const SongFile& song) const;
    const BinaryFile& File() const { return file_; }
    // Flushes the new file to disk and closes it; Failed (Flush) when either reports an error.
    Outcome FlushAndClose();
    // Renames the new file over the target in one step, and flushes the folder, so that once
    // this returns a power cut can bring back neither the old file nor a missing one. Failed
    // (Rename) when the rename is refused.
    Outcome RenameOver(const std::string& target);

private:
    std::string path_;
    BinaryFile file_;
    bool created_ = false;
    bool renamed_ = false;
    bool removedLeftover_ = false;
};

} // namespace io
