#include "songs/ShareWatch.h"

#include "io/FileSystem.h"

#include <cerrno>
#include <cstring>

namespace songs {
namespace {

// The folder a song's failure is checked on: the mapped folder of a Windows path, else the
// song's own folder.
std::string FolderOf(const SongWriteResult& song)
{
    if (!song.mappedFolder.empty())
        return song.mappedFolder;
    const std::size_t slash = song.path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : song.path.substr(0, slash);
}

} // namespace

bool IsLostServerError(int error)
{
    switch (error) {
    case EIO:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ESTALE:
    case ETIMEDOUT:
    case ENODEV:
    case ESHUTDOWN:
    case ECONNRESET: return true;
    default: return false;
    }
}

bool ShareWatch::Saw(const SongWriteResult& song, std::size_t position, std::string_view code)
{
    if (loss_)
        return true;
    const bool lostError = IsLostServerError(song.cause.error);
    const auto seen = devices_.find(song.mappedFolder);
    // A song missing from a mapped folder whose songs were there: is the share still mounted?
    if (!lostError && song.outcome == SongOutcome::Missing && seen != devices_.end())
        return Gone(song, seen->second, position, code);
    if (!lostError) {
        inARow_ = 0;
        if (!song.mappedFolder.empty() && song.device != 0)
            devices_.emplace(song.mappedFolder, song.device);
        return false;
    }
    ++inARow_;
    if (inARow_ >= kFailuresInARow)
        return Stop(song, std::strerror(song.cause.error), position, code);
    if (inARow_ > 1)
        return false;
    // The first such failure of a row: one call tells a lost server from a damaged file.
    const io::FolderCheck check = io::CheckFolder(FolderOf(song));
    if (IsLostServerError(check.error))
        return Stop(song, std::strerror(check.error), position, code);
    if (seen != devices_.end())
        return Gone(song, seen->second, position, code, check);
    return false;
}

bool ShareWatch::Gone(const SongWriteResult& song, unsigned long long device, std::size_t position,
                      std::string_view code, std::optional<io::FolderCheck> check)
{
    if (!check)
        check = io::CheckFolder(FolderOf(song));
    if (check->error != 0)
        return Stop(song, std::strerror(check->error), position, code);
    if (check->device != device)
        return Stop(song, "no longer mounted", position, code);
    return false;
}

bool ShareWatch::Stop(const SongWriteResult& song, std::string cause, std::size_t position, std::string_view code)
{
    loss_ = ShareLoss{FolderOf(song), std::move(cause), position, std::string(code)};
    return true;
}

} // namespace songs
