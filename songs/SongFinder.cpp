#include "songs/SongFinder.h"

#include "io/FileSystem.h"
#include "text/CaseFolding.h"
#include "text/Cp1252.h"

#include <cstring>
#include <utility>

namespace songs {
namespace {

SongPlace FromLookup(const io::CaseLookup& found, SongPlace place)
{
    using Kind = io::CaseLookup::Kind;
    const std::string folder = place.mapped.Folder();
    switch (found.kind) {
    case Kind::Found:
        place.kind = SongPlace::Kind::Here;
        place.path = found.path;
        return place;
    case Kind::NotListed:
        return place;
    case Kind::Ambiguous:
        place.kind = SongPlace::Kind::Ambiguous;
        place.path = found.path;
        place.reason = "ambiguous: ";
        for (std::size_t i = 0; i < found.matches.size(); ++i)
            place.reason += (i > 0 ? ", " : "") + text::Utf8OrCp1252(found.matches[i]);
        return place;
    case Kind::Missing:
        place.kind = SongPlace::Kind::Missing;
        place.reason = "no " + text::Utf8OrCp1252(found.missingName) + " in " + text::Utf8OrCp1252(found.path) +
                       ", in any letter case";
        return place;
    case Kind::RootMissing:
        place.kind = SongPlace::Kind::Missing;
        place.reason = "the folder " + folder + " given for " + place.mapped.prefix + " is not there";
        return place;
    case Kind::RootEmpty:
        place.kind = SongPlace::Kind::Missing;
        place.reason = folder + " is empty: is the share mounted?";
        return place;
    case Kind::Unreadable:
        place.kind = SongPlace::Kind::Unreadable;
        place.error = found.error;
        place.reason = "the folder " + text::Utf8OrCp1252(found.path) + " cannot be listed: " + std::strerror(found.error);
        return place;
    }
    return place;
}

} // namespace

SongFinder::SongFinder(FolderMap folders)
    : folders_(std::move(folders))
{
}

SongPlace SongFinder::Find(std::string_view cp1252Path)
{
    SongPlace place;
    place.mapped = folders_.Map(cp1252Path);
    switch (place.mapped.kind) {
    case MappedPath::Kind::Posix:
        // Used as it always was, at the same cost.
        place.path = FileSystemPath(cp1252Path);
        return place;
    case MappedPath::Kind::Unmapped:
        place.kind = SongPlace::Kind::Unmapped;
        place.reason = "no folder of this machine is given for " + place.mapped.prefix +
                       " ([PASTAS] in RevoZadoz.ini, or --map-folder)";
        return place;
    case MappedPath::Kind::Outside:
        place.kind = SongPlace::Kind::Outside;
        place.reason = "the path climbs out of " + place.mapped.Folder() + ", the folder given for " +
                       place.mapped.prefix + " (a \"..\" too many)";
        return place;
    case MappedPath::Kind::Mapped: break;
    }
    place.path = place.mapped.Path();
    const io::CaseLookup listed = io::FindListed(place.mapped.folder, place.mapped.rest, listings_);
    return FromLookup(listed, std::move(place));
}

SongPlace SongFinder::FindIgnoringCase(const SongPlace& first)
{
    if (first.mapped.kind != MappedPath::Kind::Mapped)
        return first;
    return FromLookup(io::FindIgnoringCase(first.mapped.folder, first.mapped.rest, listings_), first);
}

std::string FileSystemPath(std::string_view cp1252Path)
{
    std::string utf8 = text::Utf8FromCp1252(cp1252Path);
    if (utf8 == cp1252Path || io::Exists(utf8))
        return utf8;
    std::string raw(cp1252Path);
    return io::Exists(raw) ? raw : utf8;
}

} // namespace songs
