#pragma once
// A song file opened for a tag write: an existing regular file of less than 2 GiB, opened for
// reading and writing when its permissions allow, else for reading until write permission is
// granted.
#include "id3v2/BinaryFile.h"
#include "id3v2/TagInfo.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace id3v2 {

// Tag sizes are 32-bit: files of this length or more are not written.
inline constexpr std::int64_t kLargestSongFile = std::int64_t{1} << 31;

class SongFile {
public:
    // False when the file does not exist, is no regular file, cannot be opened or is 2 GiB or
    // larger. Nothing is created or changed.
    bool Open(const std::string& path);

    // The first 10 bytes into the header fields of info and the length into FileLength; false
    // when the file holds fewer than 10 bytes or cannot be read.
    bool ReadHeader(TagInfo& info) const;

    // Grants the owner write permission when the file lacks it: this clears the file's
    // read-only mark. False when that is refused; the file is then as it was.
    bool GrantOwnerWrite();
    // Makes sure the file is open for writing (after GrantOwnerWrite).
    bool OpenForWriting();

    const std::string& Path() const { return path_; }
    const BinaryFile& File() const { return file_; }
    std::int64_t Length() const { return length_; }
    // Permission bits (with owner write once granted), owner and group.
    mode_t Permissions() const { return permissions_; }
    uid_t Owner() const { return owner_; }
    gid_t Group() const { return group_; }

    bool Close() { return file_.Close(); }

private:
    std::string path_;
    BinaryFile file_;
    bool writable_ = false;
    std::int64_t length_ = 0;
    mode_t permissions_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

} // namespace id3v2
