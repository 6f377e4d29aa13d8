#pragma once
// The window's own texts about where its songs are and what a run made of them, built without a
// widget.
#include "app/MessageBoxes.h"
#include "songs/FolderMap.h"
#include "songs/ShareWatch.h"
#include "songs/SongWriting.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <vector>

namespace app {

// The start-up message for [PASTAS] lines that cannot be taken; empty when there are none.
QString RefusedFolderLinesText(const std::filesystem::path& configuration,
                               const std::vector<songs::RefusedFolderLine>& refused);

// What a batch run made of its songs, as its closing message tells it.
class RunAccount {
public:
    explicit RunAccount(std::size_t songs = 0)
        : songs_(songs)
    {
    }
    // A song processed: code and catalogue path (Windows-1252) and what became of it.
    void Add(std::string_view code, std::string_view cataloguePath, const songs::SongWriteResult& song);
    // The run stopped taking songs after `processed` of them: its folder stopped answering.
    void Stopped(const songs::ShareLoss& loss, std::size_t processed);

    // The closing message: the plain one when no song of the run was left unwritten (songs
    // that are no MP3 aside); otherwise how many were not written, with the warning icon and
    // each song in the details.
    MessageRequest ClosingMessage(const QString& caption) const;

private:
    std::size_t songs_ = 0;
    std::size_t notWritten_ = 0;
    std::size_t notTried_ = 0;
    QString folderLost_;
    QStringList notWrittenLines_;
    QStringList notMp3Lines_;
};

} // namespace app
