#include "io/FolderListings.h"

#include "text/CaseFolding.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace io {
namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

std::shared_ptr<const FolderListing> ListFolder(const std::string& folder)
{
    auto listing = std::make_shared<FolderListing>();
    const std::unique_ptr<DIR, FolderCloser> handle(opendir(folder.empty() ? "/" : folder.c_str()));
    if (!handle) {
        listing->error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (!entry)
            break;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        listing->names.emplace_back(name);
        listing->folded.push_back(text::FoldCase(text::Utf8OrCp1252(name)));
    }
    if (errno != 0) {
        *listing = FolderListing{};
        listing->error = errno;
    }
    return listing;
}

// The names of a listing that are `name`: the exact name alone when the folder holds it, else
// every name that differs from it in letter case only.
std::vector<std::string> Matches(const FolderListing& listing, const std::string& name)
{
    if (std::find(listing.names.begin(), listing.names.end(), name) != listing.names.end())
        return {name};
    std::vector<std::string> matches;
    const std::string folded = text::FoldCase(text::Utf8OrCp1252(name));
    for (std::size_t i = 0; i < listing.names.size(); ++i)
        if (listing.folded[i] == folded)
            matches.push_back(listing.names[i]);
    std::sort(matches.begin(), matches.end());
    return matches;
}

std::string Joined(const std::string& folder, std::span<const std::string> names)
{
    std::string path = folder;
    for (const std::string& name : names)
        path += "/" + name;
    return path;
}

bool NamesNothing(int error)
{
    return error == ENOENT || error == ENOTDIR;
}

// The file's name looked up in its folder's listing.
CaseLookup FindInFolder(const std::string& root, const std::string& folder, const FolderListing& listing,
                        const std::string& name)
{
    CaseLookup found;
    const std::vector<std::string> matches = Matches(listing, name);
    if (matches.size() == 1) {
        found.kind = CaseLookup::Kind::Found;
        found.path = folder + "/" + matches.front();
    } else if (matches.empty()) {
        found.kind = CaseLookup::Kind::Missing;
        found.path = folder.empty() ? "/" : folder;
        found.missingName = name;
    } else {
        found.kind = CaseLookup::Kind::Ambiguous;
        found.path = folder + "/" + name;
        const std::string below = folder.size() > root.size() ? folder.substr(root.size() + 1) + "/" : "";
        for (const std::string& match : matches)
            found.matches.push_back(below + match);
    }
    return found;
}

CaseLookup Failure(CaseLookup::Kind kind, std::string path, int error = 0)
{
    CaseLookup failure;
    failure.kind = kind;
    failure.path = path.empty() ? "/" : std::move(path);
    failure.error = error;
    return failure;
}

} // namespace

std::shared_ptr<const FolderListing> FolderListings::Of(const std::string& folder)
{
    std::shared_ptr<Entry> entry;
    {
        const std::lock_guard lock(mutex_);
        std::shared_ptr<Entry>& slot = entries_[folder];
        if (!slot)
            slot = std::make_shared<Entry>();
        entry = slot;
    }
    // Another thread listing the same folder is waited for, not joined by a second listing.
    const std::lock_guard lock(entry->mutex);
    if (!entry->listing)
        entry->listing = ListFolder(folder);
    return entry->listing;
}

std::shared_ptr<const FolderListing> FolderListings::IfListed(const std::string& folder) const
{
    std::shared_ptr<Entry> entry;
    {
        const std::lock_guard lock(mutex_);
        const auto found = entries_.find(folder);
        if (found == entries_.end())
            return nullptr;
        entry = found->second;
    }
    const std::lock_guard lock(entry->mutex);
    return entry->listing;
}

void FolderListings::RememberFolder(const std::string& asNamed, const std::string& found)
{
    const std::lock_guard lock(mutex_);
    foundFolders_[asNamed] = found;
}

std::string FolderListings::FoundFolder(const std::string& asNamed) const
{
    const std::lock_guard lock(mutex_);
    const auto found = foundFolders_.find(asNamed);
    return found == foundFolders_.end() ? std::string() : found->second;
}

std::size_t FolderListings::Count() const
{
    const std::lock_guard lock(mutex_);
    return entries_.size();
}

CaseLookup FindListed(const std::string& root, std::span<const std::string> rest, FolderListings& listings)
{
    if (rest.empty())
        return {};
    const std::string folder = listings.FoundFolder(Joined(root, rest.first(rest.size() - 1)));
    const std::shared_ptr<const FolderListing> listing = folder.empty() ? nullptr : listings.IfListed(folder);
    if (!listing || listing->error != 0)
        return {};
    CaseLookup found = FindInFolder(root, folder, *listing, rest.back());
    // A name the listing lacks may have come since: the song's own open tells.
    return found.kind == CaseLookup::Kind::Missing ? CaseLookup{} : found;
}

CaseLookup FindIgnoringCase(const std::string& root, std::span<const std::string> rest, FolderListings& listings)
{
    if (rest.empty())
        return Failure(CaseLookup::Kind::Missing, root);
    const std::string asNamed = Joined(root, rest.first(rest.size() - 1));
    std::string folder = listings.FoundFolder(asNamed);
    if (folder.empty())
        folder = asNamed;
    std::shared_ptr<const FolderListing> listing = listings.Of(folder);
    if (listing->error != 0 && !NamesNothing(listing->error))
        return Failure(CaseLookup::Kind::Unreadable, folder, listing->error);
    if (listing->error != 0) {
        // A folder on the way differs in case too (or the root is not there): down from the root.
        const std::shared_ptr<const FolderListing> top = listings.Of(root);
        if (NamesNothing(top->error))
            return Failure(CaseLookup::Kind::RootMissing, root, top->error);
        if (top->error != 0)
            return Failure(CaseLookup::Kind::Unreadable, root, top->error);
        if (top->names.empty())
            return Failure(CaseLookup::Kind::RootEmpty, root);
        folder = root;
        listing = top;
        for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
            CaseLookup step = FindInFolder(root, folder, *listing, rest[i]);
            if (step.kind != CaseLookup::Kind::Found)
                return step;
            listing = listings.Of(step.path);
            if (NamesNothing(listing->error)) { // a file where a folder was looked for
                CaseLookup missing = Failure(CaseLookup::Kind::Missing, folder);
                missing.missingName = rest[i];
                return missing;
            }
            folder = step.path;
            if (listing->error != 0)
                return Failure(CaseLookup::Kind::Unreadable, folder, listing->error);
        }
        listings.RememberFolder(asNamed, folder);
    } else {
        listings.RememberFolder(asNamed, folder);
    }
    return FindInFolder(root, folder, *listing, rest.back());
}

} // namespace io
