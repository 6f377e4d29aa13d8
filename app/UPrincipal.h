#pragma once
// FrmPrincipal, the program's one window: the search box, the song list and the three buttons,
// the progress panel of the batch runs, start-up and shut-down of the catalogue link, and the
// general error report of every handler.
#include "app/GridLook.h"
#include "app/RunMessages.h"
#include "catalogue/CatalogueSession.h"
#include "songs/SongWriting.h"
#include "io/FileSystem.h"

#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSocketNotifier;

namespace app {

class ContinuousProgressBar;
class WindowLabel;
class MessageBoxes;
class SongGrid;
class SongTableModel;

class TFrmPrincipal final : public QWidget {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate. executablePath locates RevoZadoz.ini; every box the
    // window shows goes through boxes, which must outlive the window.
    TFrmPrincipal(MessageBoxes& boxes, std::filesystem::path executablePath, QWidget* parent = nullptr);
    // Runs FormDestroy.
    ~TFrmPrincipal() override;

    // The controls, owned by the window.
    QGroupBox* GBLocalizarMusicas = nullptr;
    QLineEdit* MEBuscarMusicas = nullptr;
    QGroupBox* GBRelacaoMusicas = nullptr;
    SongGrid* DBMusicas = nullptr;
    QFrame* pnlAguarde = nullptr;
    WindowLabel* Label1 = nullptr;
    WindowLabel* lblContador = nullptr;
    ContinuousProgressBar* ProgressBar1 = nullptr;
    QPushButton* BTodas = nullptr;
    QPushButton* BSelecionadas = nullptr;
    QPushButton* BFechar = nullptr;

    // Start-up and shut-down.
    void FormCreate();
    void FormDestroy();
    void BFecharClick();

    // Browsing.
    void MEBuscarMusicasChange();
    void DBMusicasTitleClick(int column);
    void DBMusicasMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void DBMusicasDrawColumnCell(GridCanvas& canvas, const QRect& rect, int DataCol, const QModelIndex& column,
                                 CellState state);

    // Batch runs.
    void BTodasClick();
    void BSelecionadasClick();
    void ShowProgressPanel(bool Show);
    void WriteSongTag();

    // The column the song query is ordered by: empty until the first run.
    const std::string& SortField() const { return sortField_; }
    catalogue::CatalogueSession& Catalogue() { return session_; }
    SongTableModel& SongModel() { return *songModel_; }
    // Whether a batch run is under way.
    bool Running() const { return running_; }
    // Called before each song of a batch run is written, with the song list's cursor on it
    // (tests watch the counter and the bar through it).
    void SetBeforeSongHook(std::function<void()> hook) { beforeSong_ = std::move(hook); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    // Runs an event handler; an error it lets out goes to the general error report.
    void Guarded(const std::function<void()>& handler);
    void ReportFailure(const std::exception& error);
    // The search box changed: its text is searched once the events already waiting (more
    // keystrokes of a quick typist, say) have been served.
    void SearchTextChanged();
    void RunPendingSearch();
    void CurrentRowMoved(int row);
    void SetCounter(std::size_t song, std::size_t songs, std::string_view fullName);
    void SuspendDisplay();
    void ResumeDisplay();
    void ServePendingEvents();
    // A batch run over n songs: moveTo(i) puts the song list's cursor on the i-th song (from 0)
    // and says whether there is one. Ends with the closing message unless the walk failed.
    void WalkSongs(std::size_t n, const std::function<bool(std::size_t)>& moveTo);
    void EndRun();
    // Closes the window when a close was asked for during the run; whether it was.
    bool CloseIfAsked();
    // SIGTERM, SIGINT and SIGHUP close the window as "&Fechar" does; a run stops after the song
    // at hand first.
    void TakeStopSignals();
    void StopSignalArrived();

    MessageBoxes& boxes_;
    std::filesystem::path executablePath_;
    catalogue::CatalogueSession session_;
    std::unique_ptr<SongTableModel> songModel_;
    std::string sortField_;
    std::function<void()> beforeSong_;
    // The file systems the run at hand wrote to: flushed once when it ends.
    io::WrittenFileSystems written_;
    // How songs are written, as RevoZadoz.ini's [GRAVACAO] says at start-up.
    songs::SongWriteOptions writing_;
    // Where the Windows folders are, as RevoZadoz.ini's [PASTAS] says at start-up, and where the
    // run at hand finds its songs.
    songs::FolderMap folders_;
    std::unique_ptr<songs::SongFinder> finder_;
    // What the run at hand made of its songs so far, and of the last one.
    RunAccount account_;
    songs::SongWriteResult lastSong_;
    bool searchPending_ = false;
    bool running_ = false;
    bool displaySuspended_ = false;
    bool closePending_ = false;
    bool stopRequested_ = false;
    QSocketNotifier* stopNotifier_ = nullptr;
};

} // namespace app
