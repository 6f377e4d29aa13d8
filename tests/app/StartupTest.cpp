// Start-up in each of its states, and connecting later on demand.
#include "WindowTesting.h"
#include "tests/TestEnvironment.h"

#include "app/SongTableModel.h"
#include "app/WindowText.h"
#include "catalogue/CatalogueSession.h"
#include "tools/catalogue/CatalogueBuilder.h"

#include <QLineEdit>

#include <cstdlib>

namespace apptest {
namespace {

using catalogue::StartupState;

class Startup : public WindowTest {};

TEST_F(Startup, ReadyListsEverySongByCodeWithoutAMessage)
{
    MakeCatalogue(NumberedSongs(3));
    Open();
    EXPECT_TRUE(boxes_.shown.empty());
    EXPECT_EQ(Window().Catalogue().State(), StartupState::Ready);
    EXPECT_EQ(Window().SortField(), "Mus_Codigo");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"SONG 01", "SONG 02", "SONG 03"}));
    EXPECT_EQ(CurrentRow(), 0);
    EXPECT_EQ(Window().windowTitle(), "Fonarel 2010");
}

TEST_F(Startup, MissingConfigurationSaysWhereItLookedAndTypingTriesTheDefaultDatabase)
{
    // The default database lies under HOME; this one has none.
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", Folder().c_str(), 1);
    Open();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    const app::MessageRequest& box = boxes_.shown[0];
    EXPECT_EQ(box.text, "O arquivo " + QString::fromStdString((Folder() / "RevoZadoz.ini").string()) +
                            " não foi encontrado.");
    EXPECT_EQ(box.caption, "Fonarel 2010");
    EXPECT_EQ(box.icon, app::MessageIcon::Information);
    EXPECT_EQ(box.placement, app::MessagePlacement::ScreenCentre);
    EXPECT_EQ(Window().Catalogue().State(), StartupState::ConfigurationMissing);
    EXPECT_TRUE(ShownNames().empty());
    EXPECT_TRUE(Window().SortField().empty());

    Type("a");
    ASSERT_EQ(boxes_.shown.size(), 2u);
    EXPECT_EQ(boxes_.shown[1].icon, app::MessageIcon::Stop);
    EXPECT_EQ(boxes_.shown[1].caption, "Fonarel 2010");
    EXPECT_TRUE(boxes_.shown[1].text.contains("catalogue.fdb")) << boxes_.shown[1].text.toStdString();
    EXPECT_TRUE(ShownNames().empty());
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "A");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(Startup, BlankDatabaseNameIsAFailedConnection)
{
    for (const std::string ini : {"[BANCO]\r\ncaminho=  \t \r\n", "[OUTRO]\r\ncaminho=x\r\n", "[banco]\r\n"}) {
        boxes_.shown.clear();
        WriteIni(ini);
        Open();
        ASSERT_EQ(boxes_.shown.size(), 1u) << ini;
        EXPECT_EQ(boxes_.shown[0].text, "Não foi possível conectar com a Base de Dados 2010.");
        EXPECT_EQ(boxes_.shown[0].icon, app::MessageIcon::Information);
        EXPECT_EQ(Window().Catalogue().State(), StartupState::ConnectionFailed);
        EXPECT_TRUE(ShownNames().empty());
    }
}

// A user of the configuration file that the server refuses is named, and its password never shown.
TEST_F(Startup, ARefusedUserIsNamedAndItsPasswordNeverShown)
{
    if (testenv::ServerHost().empty()) {
        if (testenv::UnderCI())
            FAIL() << "FONAREL_FB_SERVER is not set under CI: the loopback Firebird server did not start";
        GTEST_SKIP() << "no Firebird server (FONAREL_FB_SERVER is not set; scripts/test starts one)";
    }
    WriteIni("[BANCO]\r\ncaminho=" + testenv::ServerHost() + ":" + (Folder() / "nenhum.fdb").string() +
             "\r\nusuario= NINGUEM_AQUI \r\nsenha=s3nh4-errada\r\n");
    Open();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    const std::string text = boxes_.shown[0].text.toUtf8().toStdString();
    EXPECT_NE(text.find("Não foi possível conectar com a Base de Dados 2010."), std::string::npos) << text;
    EXPECT_NE(text.find("NINGUEM_AQUI"), std::string::npos) << text;
    EXPECT_EQ(text.find("s3nh4"), std::string::npos) << text;
    EXPECT_EQ(Window().Catalogue().State(), StartupState::ConnectionFailed);
}

TEST_F(Startup, UnreachableDatabaseFillsTheListOnceItIsThereWithoutARestart)
{
    const std::string database = (Folder() / "later.fdb").string();
    WriteIni("[BANCO]\r\ncaminho=  " + database + "\t\r\n");
    Open();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].text, "Não foi possível conectar com a Base de Dados 2010.");
    EXPECT_TRUE(ShownNames().empty());

    catalogue::builder::BuildCatalogue(database, NumberedSongs(12));
    Type("1");
    EXPECT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(Window().Catalogue().State(), StartupState::Ready);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"SONG 01", "SONG 10", "SONG 11", "SONG 12"}));
}

TEST_F(Startup, FormDestroyDetachesAndTheCloseButtonClosesWithoutAsking)
{
    MakeCatalogue(NumberedSongs(2));
    Open();
    ASSERT_TRUE(Window().Catalogue().DB_Audio().Connected());
    Window().BFecharClick();
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(boxes_.shown.empty());
    Window().FormDestroy();
    EXPECT_FALSE(Window().Catalogue().DB_Audio().Connected());
    EXPECT_FALSE(Window().Catalogue().Transaction_Audio().Active());
    EXPECT_TRUE(ShownNames().empty());
    // A second shut-down, as the window's destruction makes, finds nothing open.
    Window().FormDestroy();
    EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(Startup, AFirstQueryThatFailsReachesTheErrorReportAndTheWindowOpensEmpty)
{
    catalogue::builder::CatalogueDescription description = NumberedSongs(2);
    description.schema.FindTable("Tb_Musicas")->DropColumn("MUS_SEGUNDOS");
    MakeCatalogue(description);
    Open();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    const app::MessageRequest& report = boxes_.shown[0];
    EXPECT_EQ(report.icon, app::MessageIcon::Stop);
    EXPECT_EQ(report.caption, "Fonarel 2010");
    EXPECT_TRUE(report.text.contains("MUS_SEGUNDOS")) << report.text.toStdString();
    EXPECT_TRUE(report.text.endsWith('.') || report.text.endsWith('!')) << report.text.toStdString();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(ShownNames().empty());
    EXPECT_FALSE(Window().Catalogue().Q_Musicas().IsOpen());

    // Every later run fails the same way and says so again; the box keeps its text.
    Type("s");
    EXPECT_EQ(boxes_.shown.size(), 2u);
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "S");
    EXPECT_TRUE(ShownNames().empty());
}

} // namespace
} // namespace apptest
