#pragma once
// The catalogue link as the window drives it: start-up (configuration file, connection,
// transaction), the song query run on demand, and shut-down. It owns DB_Audio,
// Transaction_Audio and Q_Musicas for the life of the window.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueTransaction.h"
#include "catalogue/Configuration.h"
#include "catalogue/SongList.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace catalogue {

enum class StartupState {
    NotStarted,
    ConfigurationMissing, // no RevoZadoz.ini: nothing was tried
    ConnectionFailed,     // the connection or the transaction could not be opened
    Ready,                // connected, transaction active
};

// How long a program waits for its catalogue's attach by default.
inline constexpr std::chrono::seconds kDefaultAttachWait{5};

struct StartupOutcome {
    StartupState state = StartupState::NotStarted;
    // The text of the information message box the window shows (Windows-1252); empty when Ready.
    std::string message;
};

class CatalogueSession {
public:
    // The database name starts as the fixed default (DefaultDatabaseName()).
    explicit CatalogueSession(Credentials credentials = {});
    // Shuts down, dropping any error.
    ~CatalogueSession();
    CatalogueSession(const CatalogueSession&) = delete;
    CatalogueSession& operator=(const CatalogueSession&) = delete;

    // The start-up sequence up to the first song query: finds RevoZadoz.ini beside the
    // executable, takes the database name from it, connects and starts the transaction. A
    // failure is reported in the outcome, never thrown; what was achieved before it stays (a
    // connection stays open when only the transaction failed). The window then shows the
    // outcome's message, or runs the first song query when Ready.
    // An attach still waiting after attachWait (on another program that holds the embedded
    // engine) is given up: it goes on on a thread of its own, and the session is left to it for
    // good (every later song query fails, Shutdown does nothing; see AttachInTime.h).
    StartupOutcome Start(const std::filesystem::path& executablePath,
                         std::chrono::milliseconds attachWait = kDefaultAttachWait);
    // The same with the configuration file read already (LoadConfiguration).
    StartupOutcome Start(const Configuration& configuration, std::chrono::milliseconds attachWait = kDefaultAttachWait);

    // Ready once connected with an active transaction (at start-up or by a later song query);
    // otherwise the state start-up ended in. NotStarted again after Shutdown.
    StartupState State() const { return state_; }

    // Connects and starts the transaction when they are not open, with the database name then in
    // effect. Throws CatalogueError on failure, leaving the connection state as it got.
    void Open();

    // Closes the song list, connects and starts the transaction when they are not open (with the
    // database name then in effect), and opens the song list for the search text and the sort
    // column. Throws CatalogueError on any failure, leaving the song list closed and the
    // connection state as it got.
    void RunSongQuery(std::string_view searchText, std::string_view sortColumn);

    // Closes the song list, commits an active transaction, then detaches. Errors are thrown after
    // everything has been given up; nothing happens when not connected.
    void Shutdown();

    CatalogueDatabase& DB_Audio() { return database_; }
    CatalogueTransaction& Transaction_Audio() { return transaction_; }
    SongList& Q_Musicas() { return songs_; }
    const SongList& Q_Musicas() const { return songs_; }

private:

    CatalogueDatabase database_;
    CatalogueTransaction transaction_;
    SongList songs_;
    StartupState state_ = StartupState::NotStarted;
    // An attach was given up at start-up; its thread may still use the connection.
    bool abandoned_ = false;
};

} // namespace catalogue
