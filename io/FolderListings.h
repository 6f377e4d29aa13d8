#pragma once
// The names in a folder, listed once per run and shared by the run's threads, and a song's path
// found in them as Windows finds it: letter case ignored.
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace io {

struct FolderListing {
    int error = 0;                   // the system's error number when the folder could not be listed
    std::vector<std::string> names;  // the names as the system gives them, "." and ".." left out
    std::vector<std::string> folded; // each as UTF-8 (Windows-1252 when not valid UTF-8), case folded
};

// The folders a run has listed: each is listed at most once, however many songs and threads
// ask for it, and its listing (or its failure) is kept for the rest of the run.
class FolderListings {
public:
    // The folder's listing, from the system the first time it is asked for.
    std::shared_ptr<const FolderListing> Of(const std::string& folder);
    // The folder's listing when it has been listed; none otherwise (nothing is asked).
    std::shared_ptr<const FolderListing> IfListed(const std::string& folder) const;
    // The folder found for one named with the catalogue's letter case, once a lookup found it.
    void RememberFolder(const std::string& asNamed, const std::string& found);
    std::string FoundFolder(const std::string& asNamed) const;
    // How many folders have been listed.
    std::size_t Count() const;

private:
    struct Entry {
        std::mutex mutex;
        std::shared_ptr<const FolderListing> listing;
    };
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<Entry>> entries_;
    std::map<std::string, std::string> foundFolders_;
};

// A song's path found below a folder with the letter case of its names ignored.
struct CaseLookup {
    enum class Kind {
        Found,         // path: the song's path with the names as the folders hold them
        NotListed,     // the folders on the way are not listed yet (FindListed only)
        Ambiguous,     // two or more names differ only in case: matches, relative to the root;
                       // path: the name as asked for, in the folder found
        Missing,       // path: the deepest folder that exists; missingName: the name not in it
        RootMissing,   // the root folder is not there
        RootEmpty,     // the root folder is there and empty (a share not mounted over it)
        Unreadable,    // path: a folder that could not be listed; error: why
    };
    Kind kind = Kind::NotListed;
    std::string path;
    std::string missingName;
    std::vector<std::string> matches;
    int error = 0;
};

// From listings already at hand alone, before the song is opened: Found, Ambiguous or
// NotListed. rest: the names below root (folders, then the file's name).
CaseLookup FindListed(const std::string& root, std::span<const std::string> rest, FolderListings& listings);

// After the path with the catalogue's letter case named nothing: lists the song's folder (or,
// when that is not there either, each folder from root down) and looks the names up in it.
CaseLookup FindIgnoringCase(const std::string& root, std::span<const std::string> rest, FolderListings& listings);

} // namespace io
