#pragma once
// A song file opened for a tag write: an existing regular file of less than 2 GiB, opened for
// reading and writing when its permissions allow, else for reading until write permission is
// granted.
#include "io/BinaryFile.h"

#include <cstdint>
#include <span>
#include <string>

namespace io {

// Tag sizes are 32-bit: files of this length or more are not written.
inline constexpr std::int64_t kLargestSongFile = std::int64_t{1} << 31;

class SongFile {
public:
    // False when the file does not exist, is no regular file, cannot be opened or is 2 GiB or
    // larger. Nothing is created or changed.
    bool Open(const std::string& path);

    // Reads the file's first bytes into head: the count read (fewer at the end of a short file),
    // or -1 when the file cannot be read.
    std::int64_t ReadHead(std::span<std::uint8_t> head) const;

    // Grants the owner write permission when the file lacks it: this clears the file's
    // read-only mark. False when that is refused; the file is then as it was.
    bool GrantOwnerWrite();
    // Makes sure the file is open for writing (after GrantOwnerWrite).
    bool OpenForWriting();

    const std::string& Path() const { return path_; }
    const BinaryFile& File() const { return file_; }
    std::int64_t Length() const { return length_; }
    // Permission bits (with owner write once granted), owner and group.
    unsigned Permissions() const { return permissions_; }
    unsigned Owner() const { return owner_; }
    unsigned Group() const { return group_; }

    bool Close() { return file_.Close(); }

private:
    std::string path_;
    BinaryFile file_;
    bool writable_ = false;
    std::int64_t length_ = 0;
    unsigned permissions_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
};

} // namespace io
