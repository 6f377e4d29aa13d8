#include "catalogue/CatalogueSession.h"

#include "catalogue/AttachInTime.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/EngineHolders.h"
#include "catalogue/Configuration.h"
#include "catalogue/ExitGuard.h"
#include "catalogue/Messages.h"
#include "catalogue/SongQuery.h"

#include <exception>
#include <utility>

namespace catalogue {

CatalogueSession::CatalogueSession(Credentials credentials)
    : database_(DefaultDatabaseName(), std::move(credentials))
{
}

CatalogueSession::~CatalogueSession()
{
    try {
        Shutdown();
    } catch (const std::exception&) {
        // The program is ending; there is no one left to tell.
    }
}

void CatalogueSession::Open()
{
    database_.Connect();
    // Closed before the engine's own shutdown however the process ends (see ExitGuard.h).
    exit_guard::Track(this, [this] { Shutdown(); });
    transaction_.Start(database_);
}

StartupOutcome CatalogueSession::Start(const std::filesystem::path& executablePath, std::chrono::milliseconds attachWait)
{
    return Start(LoadConfiguration(ConfigurationPath(executablePath)), attachWait);
}

StartupOutcome CatalogueSession::Start(const Configuration& configuration, std::chrono::milliseconds attachWait)
{
    if (!configuration.exists) {
        state_ = StartupState::ConfigurationMissing;
        return {state_, ConfigurationMissingMessage(configuration.path)};
    }
    const ConfigurationValues& values = configuration.values;
    database_.SetDatabaseName(values.databaseName);
    if (values.readError != 0) {
        // As a file that names no catalogue, but told as what it is.
        state_ = StartupState::ConnectionFailed;
        return {state_, ConfigurationUnreadableMessage(configuration.path, values.readError)};
    }
    // The file's user and password, when it gives them, in place of the session's own.
    if (values.credentials)
        database_.SetCredentials(*values.credentials);
    try {
        if (!AttachInTime(*this, attachWait)) {
            abandoned_ = true;
            // The process's exit must not wait for the attach either (the engine's shutdown would).
            exit_guard::Arm();
            state_ = StartupState::ConnectionFailed;
            return {state_, EngineHeldMessage(database_.DatabaseName(), attachWait, EngineHolders())};
        }
        state_ = StartupState::Ready;
    } catch (const CatalogueError& error) {
        // The failure's own text is not shown at start-up; one the user can act on is told.
        state_ = StartupState::ConnectionFailed;
        if (error.Failure() == CatalogueFailure::OpenInAnotherProgram)
            return {state_, OpenInAnotherProgramMessage(database_.DatabaseName())};
        if (error.Failure() == CatalogueFailure::LoginRefused)
            return {state_, LoginRefusedMessage(database_.UsedCredentials().userName)};
        return {state_, ConnectionFailedMessage()};
    }
    return {state_, {}};
}

void CatalogueSession::RunSongQuery(std::string_view searchText, std::string_view sortColumn)
{
    if (abandoned_)
        throw CatalogueError(EngineHeldMessage(database_.DatabaseName(), {}, {}));
    songs_.Close();
    std::string statement = SongQueryText(searchText, sortColumn);
    Open();
    state_ = StartupState::Ready;
    songs_.Open(database_, transaction_, std::move(statement));
}

void CatalogueSession::Shutdown()
{
    if (abandoned_)
        return; // the connection is the attach thread's
    exit_guard::Forget(this);
    songs_.Close();
    std::exception_ptr failure;
    try {
        transaction_.Commit();
    } catch (const CatalogueError&) {
        failure = std::current_exception();
    }
    try {
        database_.Disconnect();
    } catch (const CatalogueError&) {
        if (!failure)
            failure = std::current_exception();
    }
    if (state_ == StartupState::Ready)
        state_ = StartupState::NotStarted;
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace catalogue
