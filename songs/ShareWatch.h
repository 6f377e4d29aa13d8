#pragma once
// A run over a share whose server goes away must not go on failing song after song for days: the
// run watches its songs' outcomes, in the order they arrive, for the errors a lost server gives,
// and says when to stop taking songs.
#include "io/FileSystem.h"
#include "songs/SongWriting.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace songs {

// EIO, ENOTCONN, EHOSTDOWN, EHOSTUNREACH, ESTALE, ETIMEDOUT, ENODEV, ESHUTDOWN, ECONNRESET.
bool IsLostServerError(int error);

// Why a run stopped: the folder that stopped answering and after which song.
struct ShareLoss {
    std::string folder;    // the mapped folder of a Windows path, else the song's own folder
    std::string cause;     // "Input/output error", "no longer mounted"
    std::size_t position = 0; // the song's place in the run's list, from 1
    std::string code;      // its MUS_CODIGO
};

class ShareWatch {
public:
    // Takes what became of the song at `position` (from 1); true once the run is to stop taking
    // songs: after a song failed with such an error, its folder checked with one call fails the
    // same way, or 10 songs in a row failed so; or a song is missing from a mapped folder whose
    // songs were there, and that folder is gone or lies on another file system than they did
    // (the share is no longer mounted over it). One failure among successes never stops a run.
    bool Saw(const SongWriteResult& song, std::size_t position, std::string_view code);

    const std::optional<ShareLoss>& Loss() const { return loss_; }

    static constexpr std::size_t kFailuresInARow = 10;

private:
    // Whether the song's mapped folder, whose songs were on `device`, is gone: not there, or
    // another file system (the share no longer mounted over it).
    bool Gone(const SongWriteResult& song, unsigned long long device, std::size_t position, std::string_view code,
              std::optional<io::FolderCheck> check = std::nullopt);
    bool Stop(const SongWriteResult& song, std::string cause, std::size_t position, std::string_view code);

    std::size_t inARow_ = 0;
    // The file system each mapped folder's songs were found on.
    std::map<std::string, unsigned long long> devices_;
    std::optional<ShareLoss> loss_;
};

} // namespace songs
