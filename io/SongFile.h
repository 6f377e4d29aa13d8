#pragma once
// A song file opened for a tag write: an existing regular file of less than 2 GiB, opened for
// reading and writing when its permissions allow, else for reading until write permission is
// granted.
//
// Writers of a song keep out of each other's way with the writers' lock: an exclusive advisory
// lock on one byte far beyond any song's end, owned by the open file, so that it travels with
// the file to other machines (NFS forwards it) and never stops a reader, even where a server
// enforces byte-range locks on what is read. Readers take no lock.
#include "io/BinaryFile.h"
#include "io/Outcome.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace io {

// Tag sizes are 32-bit: files of this length or more are not written.
inline constexpr std::int64_t kLargestSongFile = std::int64_t{1} << 31;

// The byte the writers' lock covers: far past the end of any song that is written.
inline constexpr std::int64_t kSongLockByte = std::int64_t{1} << 62;

class SongFile {
public:
    // False when the file does not exist, is no regular file, cannot be opened or is 2 GiB or
    // larger. Nothing is created or changed.
    bool Open(const std::string& path);

    // Reads the file's first bytes into head: the count read (fewer at the end of a short file),
    // or -1 when the file cannot be read.
    std::int64_t ReadHead(std::span<std::uint8_t> head) const;

    // The system's error number of the open that failed.
    int OpenError() const { return file_.LastError(); }

    // Grants the owner write permission when the file lacks it: this clears the file's
    // read-only mark. Failed (Permissions) when that is refused; the file is then as it was.
    Outcome GrantOwnerWrite();
    // Makes sure the file is open for writing (after GrantOwnerWrite); Failed (Open) if not.
    Outcome OpenForWriting();

    // Opens the song for writing (granting owner write when the song cannot be opened so
    // otherwise) and takes the writers' lock, trying again for up to `wait` while another writer
    // holds it. Done: this writer holds the song, which its path still names, and its status is
    // fresh; Busy: another writer held it for the whole wait; Changed: the path names another
    // file now (a writer replaced the song); Failed: the song cannot be opened for writing or
    // locked. Held until Close.
    Outcome LockForWriting(std::chrono::milliseconds wait);
    // Open and LockForWriting in one, for a writer that reads the song only under its lock:
    // Failed, with nothing changed and the file closed, when the song cannot be opened for
    // writing as it is (its read-only mark is left alone). Closed unless Done.
    Outcome OpenLocked(const std::string& path, std::chrono::milliseconds wait);

    const std::string& Path() const { return path_; }
    // Goes by another of the song's names from here on (the file a link leads to); false, and
    // the name kept, when that name does not name this file.
    bool UsePath(const std::string& path);
    FileIdentity Identity() const { return identity_; }
    const BinaryFile& File() const { return file_; }
    std::int64_t Length() const { return length_; }
    // Permission bits (with owner write once granted), owner and group.
    unsigned Permissions() const { return permissions_; }
    unsigned Owner() const { return owner_; }
    unsigned Group() const { return group_; }
    // When the song was last read and written, as it was opened (or locked, after a wait).
    const FileTimes& Times() const { return times_; }

    bool Close() { return file_.Close(); }

private:
    // Takes the status of the open file as it is now; false for a file too large to write.
    bool TakeStatus(const FileStatus& status);

    std::string path_;
    BinaryFile file_;
    bool writable_ = false;
    FileIdentity identity_;
    std::int64_t length_ = 0;
    unsigned permissions_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    FileTimes times_;
};

} // namespace io
