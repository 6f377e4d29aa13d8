#pragma once
// Where a run finds its songs' files: a catalogue path made on Windows through the folders
// mapped onto this machine's, its names looked up as Windows looks them up (letter case
// ignored), each folder listed once per run for all of the run's threads; a POSIX path as it is.
#include "io/FolderListings.h"
#include "songs/FolderMap.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace songs {

struct SongPlace {
    enum class Kind {
        Here,      // path: the file to open
        Unmapped,  // a Windows prefix that no line maps
        Outside,   // a ".." climbs out of the mapped folder
        Ambiguous, // two or more names differ only in case
        Missing,   // no file, in any letter case (mapped paths; path: the path looked for)
        Unreadable,// a folder on the way could not be listed (error)
    };
    Kind kind = Kind::Here;
    std::string path;
    MappedPath mapped;
    // Why the song cannot be written, for the kinds other than Here.
    std::string reason;
    // Unreadable: the system's error number.
    int error = 0;
};

class SongFinder {
public:
    SongFinder() = default;
    explicit SongFinder(FolderMap folders);

    // Where the song is before it is opened; a mapped song whose folder is listed already is
    // found in the listing (no failed open for a name in another letter case).
    SongPlace Find(std::string_view cp1252Path);
    // After the path Find gave named no file: a mapped song looked for with letter case ignored
    // (a POSIX path comes back as it was).
    SongPlace FindIgnoringCase(const SongPlace& first);

    // How many folders the run has listed.
    std::size_t FoldersListed() const { return listings_.Count(); }

private:
    FolderMap folders_;
    io::FolderListings listings_;
};

// The name the file system knows a POSIX catalogue path by: its UTF-8 form, or the catalogue's
// raw bytes when only they name an existing file (folders copied from older systems keep their
// Windows-1252 names).
std::string FileSystemPath(std::string_view cp1252Path);

} // namespace songs
