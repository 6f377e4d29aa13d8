// Start-up states and the on-demand connection, with real configuration files and catalogues.
#include "CatalogueTesting.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Configuration.h"
#include "catalogue/Messages.h"
#include "catalogue/SongQuery.h"
#include "text/Cp1252.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <sys/stat.h>

namespace catalogue::testing {
namespace {

using ::testing::HasSubstr;

class SessionTest : public CatalogueTest {
protected:
    // Writes RevoZadoz.ini beside a pretend executable and starts a session from it.
    StartupOutcome StartWith(CatalogueSession& session, std::string_view ini)
    {
        WriteFile(folder_ / "RevoZadoz.ini", ini);
        return session.Start(folder_ / "fonarel");
    }

    std::size_t ListedSongs(CatalogueSession& session)
    {
        session.RunSongQuery("", kDefaultSortColumn);
        session.Q_Musicas().FetchAll();
        return session.Q_Musicas().RowCount();
    }
};

TEST_P(SessionTest, ReadyWithATrimmedDatabaseName)
{
    const std::string name = Build(SmallCatalogue());
    CatalogueSession session;
    const StartupOutcome outcome = StartWith(session, "[banco]\r\nCAMINHO = \t " + name + " \t\r\n");
    EXPECT_EQ(outcome.state, StartupState::Ready);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(session.DB_Audio().DatabaseName(), name);
    EXPECT_TRUE(session.Transaction_Audio().Active());
    EXPECT_EQ(ListedSongs(session), 9u);

    session.Shutdown();
    EXPECT_FALSE(session.DB_Audio().Connected());
    EXPECT_FALSE(session.Transaction_Audio().Active());
    EXPECT_FALSE(session.Q_Musicas().IsOpen());
}

TEST_P(SessionTest, ConnectsOnDemandOnceTheDatabaseIsReachable)
{
    const std::string name = DatabaseName("later.fdb");
    CatalogueSession session;
    EXPECT_EQ(StartWith(session, "[BANCO]\ncaminho=" + name + "\n").state, StartupState::ConnectionFailed);
    EXPECT_THROW(session.RunSongQuery("", kDefaultSortColumn), CatalogueError);
    EXPECT_EQ(session.State(), StartupState::ConnectionFailed);
    EXPECT_FALSE(session.Q_Musicas().IsOpen());

    Build(SmallCatalogue(), "later.fdb");
    session.RunSongQuery("A", kDefaultSortColumn);
    EXPECT_EQ(session.State(), StartupState::Ready);
    EXPECT_TRUE(session.Q_Musicas().HasCurrentRow());
}

TEST_P(SessionTest, TheClientsFailureTextReachesTheCallerUnchanged)
{
    CatalogueSession session;
    session.DB_Audio().SetDatabaseName(DatabaseName("missing.fdb"));
    try {
        session.RunSongQuery("", kDefaultSortColumn);
        FAIL() << "connected to a missing database";
    } catch (const CatalogueError& error) {
        EXPECT_EQ(std::string(error.what()), "I/O error during \"open\" operation for file \"" +
                                                 (folder_ / "missing.fdb").string() +
                                                 "\"\n-Error while trying to open file\n-No such file or directory");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, SessionTest, ::testing::Values(Backend::Embedded, Backend::Server), BackendName);

class ServerSessionTest : public CatalogueTest {};

TEST_P(ServerSessionTest, WrongPasswordIsAConnectionFailure)
{
    const std::string name = Build(SmallCatalogue());
    CatalogueSession session(Credentials{"SYSDBA", "not-the-password"});
    WriteFile(folder_ / "RevoZadoz.ini", "[BANCO]\ncaminho=" + name + "\n");
    EXPECT_EQ(session.Start(folder_ / "fonarel").state, StartupState::ConnectionFailed);
    try {
        session.RunSongQuery("", kDefaultSortColumn);
        FAIL() << "connected with a wrong password";
    } catch (const CatalogueError& error) {
        EXPECT_EQ(std::string(error.what()), "Your user name and password are not defined. Ask your database "
                                             "administrator to set up a Firebird login.");
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerSessionTest, ::testing::Values(Backend::Server), BackendName);

TEST(SessionStartup, MissingConfigurationTriesNothingAndLaterUsesTheDefaultDatabase)
{
    ScratchFolder folder;
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome == nullptr ? "" : oldHome;
    setenv("HOME", folder.Path().c_str(), 1);
    CatalogueSession session;
    const StartupOutcome outcome = session.Start(folder / "bin" / "fonarel");
    EXPECT_EQ(outcome.state, StartupState::ConfigurationMissing);
    EXPECT_EQ(outcome.message, "O arquivo " + (folder / "bin" / "RevoZadoz.ini").string() + " n\xE3o foi encontrado.");
    EXPECT_FALSE(session.DB_Audio().Connected());
    EXPECT_EQ(session.DB_Audio().DatabaseName(), (folder / ".local/share/Fonarel2010/catalogue.fdb").string());
    try {
        session.RunSongQuery("A", kDefaultSortColumn);
        FAIL() << "connected to a default database that does not exist";
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr(session.DB_Audio().DatabaseName()));
    }
    EXPECT_EQ(session.State(), StartupState::ConfigurationMissing);
    if (oldHome != nullptr)
        setenv("HOME", savedHome.c_str(), 1);
}

TEST(SessionStartup, EmptyOrBlankDatabaseNameFailsTheConnection)
{
    ScratchFolder folder;
    for (const std::string_view ini : {"[BANCO]\ncaminho=  \t \n", "[BANCO]\n", "[OUTRO]\ncaminho=/x.fdb\n", ""}) {
        CatalogueSession session;
        WriteFile(folder / "RevoZadoz.ini", ini);
        const StartupOutcome outcome = session.Start(folder / "fonarel");
        EXPECT_EQ(outcome.state, StartupState::ConnectionFailed) << ini;
        EXPECT_EQ(outcome.message, "N\xE3o foi poss\xEDvel conectar com a Base de Dados 2010.");
        EXPECT_EQ(session.DB_Audio().DatabaseName(), "");
        EXPECT_FALSE(session.DB_Audio().Connected());
    }
}

TEST(SessionStartup, UnreadableConfigurationIsToldWithTheSystemsReason)
{
    // Root reads any regular file; a pipe cannot be read by anyone (the open refuses it at once).
    ScratchFolder folder;
    ASSERT_EQ(mkfifo((folder / "RevoZadoz.ini").c_str(), 0644), 0);
    CatalogueSession session;
    const StartupOutcome outcome = session.Start(folder / "fonarel");
    EXPECT_EQ(outcome.state, StartupState::ConnectionFailed);
    EXPECT_EQ(outcome.message, "N\xE3o foi poss\xEDvel conectar com a Base de Dados 2010.\n\nO arquivo " +
                                   (folder / "RevoZadoz.ini").string() + " n\xE3o p\xF4" "de ser lido: Invalid argument.");
    EXPECT_EQ(session.DB_Audio().DatabaseName(), "");
}

TEST(SessionStartup, UnreachableServerIsAConnectionFailure)
{
    ScratchFolder folder;
    WriteFile(folder / "RevoZadoz.ini", "[BANCO]\ncaminho=127.0.0.1/1:/nowhere/catalogue.fdb\n");
    CatalogueSession session;
    EXPECT_EQ(session.Start(folder / "fonarel").state, StartupState::ConnectionFailed);
    try {
        session.RunSongQuery("", kDefaultSortColumn);
        FAIL() << "reached a server on port 1";
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr("Unable to complete network request to host \"127.0.0.1\""));
    }
}

} // namespace
} // namespace catalogue::testing
