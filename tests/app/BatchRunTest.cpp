// "Gravar Todas" and "Gravar Selecionadas" end to end: a real catalogue, real lame files, and
// TagLib as the independent reader of what was written.
#include "WindowTesting.h"

#include "SongFiles.h"
#include "app/SongGrid.h"
#include "app/WindowText.h"
#include "songs/StopSignals.h"
#include "tagkit/U_Funcoes.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <QGroupBox>
#include <QLabel>
#include "app/WindowLabel.h"
#include <QLineEdit>
#include "app/ContinuousProgressBar.h"
#include <QPushButton>

#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace apptest {
namespace {

using Rows = std::vector<std::size_t>;

// What a run showed while each song was being written.
struct SongSeen {
    std::string counter;
    int position;
    int maximum;
    bool panelShown;
    bool controlsEnabled;
    int listCurrentRow;
};

class BatchRun : public WindowTest {
protected:
    void SetUp() override
    {
        music_ = Folder() / "musica";
        std::filesystem::create_directories(music_ / "sub");
        const std::string plain = songfiles::PlainLameFile();
        // SONG 1: a version 2.4 tag of another program, with frames the new tag drops.
        songfiles::CopyFile(plain, File("alfa.mp3"));
        songfiles::WriteTagLibTag(File("alfa.mp3"), 4, [](TagLib::ID3v2::Tag& tag) {
            tag.setTitle("old title");
            tag.setArtist("old artist");
            tag.setAlbum("old album");
            tag.setTrack(5);
            tag.setYear(1999);
            tag.setComment("a comment");
            songfiles::AddTextFrame(tag, "TOPE", "original artist");
            songfiles::AddTextFrame(tag, "TIT1", "grouping");
            songfiles::AddTextFrame(tag, "TRIT", "old rhythm");
        });
        // SONG 2: no tag at all, an upper-case extension.
        songfiles::CopyFile(plain, File("beta.MP3"));
        // SONG 3: an ID3v1 tag only.
        songfiles::CopyFile(plain, File("gama.mp3"));
        songfiles::Append(File("gama.mp3"), songfiles::Id3v1Block("v1 title", "v1 artist", "v1 album", "1980", "v1 comment", 7, 17));
        // SONG 6: the file lies in sub/, but the folder row lacks its final separator.
        songfiles::CopyFile(plain, (music_ / "sub" / "eta.mp3").string());
        // Not an MP3 by its name, and an MP3 not listed by the search.
        std::ofstream(File("capa.jpg")) << "not audio";
        songfiles::CopyFile(plain, File("teta.mp3"));

        catalogue::builder::CatalogueDescription d;
        d.Add("Tb_Pastas", {{"PAS_CODIGO", "1"}, {"PAS_PATH", music_.string() + "/"}});
        d.Add("Tb_Pastas", {{"PAS_CODIGO", "2"}, {"PAS_PATH", (music_ / "sub").string()}});
        d.Add("Tb_Genero", {{"GEN_CODIGO", "1"}, {"GEN_NOME", "Rock"}});
        d.Add("Tb_Ritmo", {{"RIT_CODIGO", "1"}, {"RIT_NOME", "R\xE1pido"}});
        const auto song = [&d](std::string code, std::string full, std::string file, std::string folder,
                               catalogue::builder::RowValues extra) {
            catalogue::builder::RowValues row = {{"MUS_CODIGO", code}, {"MUS_NOMECOMPLETO", full}, {"MUS_ARQUIVO", file}};
            if (!folder.empty())
                row.emplace_back("PAS_CODIGO", folder);
            row.insert(row.end(), extra.begin(), extra.end());
            d.Add("Tb_Musicas", row);
        };
        song("1", "SONG ALFA", "alfa.mp3", "1",
             {{"MUS_NOME", "Alfa"}, {"MUS_INTERPRETE", "Banda"}, {"MUS_ANO", "0"}, {"GEN_CODIGO", "1"}, {"RIT_CODIGO", "1"}});
        song("2", "SONG BETA", "beta.MP3", "1", {{"MUS_NOME", "Beta"}, {"MUS_FAIXA", "0"}, {"MUS_ALBUM", "  "}});
        song("3", "SONG GAMA", "gama.mp3", "1", {{"MUS_NOME", "Gama"}, {"MUS_FAIXA", "3"}});
        song("4", "SONG DELTA (SEM ARQUIVO)", "delta.mp3", "1", {});
        song("5", "SONG CAPA", "capa.jpg", "1", {{"MUS_NOME", "Capa"}});
        song("6", "SONG ETA", "eta.mp3", "2", {{"MUS_NOME", "Eta"}});
        song("7", "SONG ZETA (SEM PASTA)", "zeta.mp3", "", {{"MUS_NOME", "Zeta"}});
        song("8", "OUTRA TETA", "teta.mp3", "1", {{"MUS_NOME", "Teta"}});
        MakeCatalogue(d);

        for (const char* name : {"alfa.mp3", "beta.MP3", "gama.mp3", "capa.jpg", "teta.mp3"})
            before_[name] = fixtures::ReadFileBytes(File(name));
        for (const char* name : {"alfa.mp3", "beta.MP3", "gama.mp3"})
            audioBefore_[name] = songfiles::AudioFingerprint(File(name));
        before_["sub/eta.mp3"] = fixtures::ReadFileBytes((music_ / "sub" / "eta.mp3").string());
        Open();
        Window().SetBeforeSongHook([this] {
            app::TFrmPrincipal& w = Window();
            seen_.push_back({app::ToCp1252(w.lblContador->text()), w.ProgressBar1->value(), w.ProgressBar1->maximum(),
                             w.pnlAguarde->isVisible(),
                             std::ranges::any_of(RunControls(), [](QWidget* control) { return control->isEnabled(); }),
                             w.DBMusicas->CurrentRow()});
        });
    }

    std::string File(const std::string& name) const { return (music_ / name).string(); }
    // The controls a run disables until it ends.
    std::vector<QWidget*> RunControls()
    {
        app::TFrmPrincipal& w = Window();
        return {w.GBLocalizarMusicas, w.GBRelacaoMusicas, w.BTodas, w.BSelecionadas, w.BFechar};
    }
    bool Unchanged(const std::string& name) const
    {
        return fixtures::ReadFileBytes((music_ / name).string()) == before_.at(name);
    }
    std::vector<std::string> Counters() const
    {
        std::vector<std::string> counters;
        for (const SongSeen& s : seen_)
            counters.push_back(s.counter);
        return counters;
    }
    // Closing messages shown: the plain one of a run that wrote every song, or one that says
    // which were not written.
    int ClosingMessages() const
    {
        int count = 0;
        for (const app::MessageRequest& box : boxes_.shown)
            count += box.text.startsWith(QStringLiteral("Gravação do TAG finalizada!")) && box.caption == "Fonarel 2010";
        return count;
    }
    static bool IsPlainClosingMessage(const app::MessageRequest& box)
    {
        return box.text == QStringLiteral("Gravação do TAG finalizada!") && box.icon == app::MessageIcon::None &&
               box.details.isEmpty();
    }
    void ExpectIdleAfterTheRun()
    {
        app::TFrmPrincipal& w = Window();
        EXPECT_FALSE(w.pnlAguarde->isVisible());
        for (QWidget* control : RunControls())
            EXPECT_TRUE(control->isEnabled());
        EXPECT_FALSE(w.Running());
    }

    std::filesystem::path music_;
    std::map<std::string, std::vector<std::uint8_t>> before_;
    std::map<std::string, std::uint64_t> audioBefore_;
    std::vector<SongSeen> seen_;
};

TEST_F(BatchRun, GravarTodasWritesExactlyTheListedSongsInListOrder)
{
    Type("song");
    ASSERT_EQ(ShownNames().size(), 7u);
    ClickRow(2); // the list's current row before the run
    Window().BTodas->click();

    EXPECT_EQ(Counters(), (std::vector<std::string>{
                              "Gravando aquivo 1 de 7 (SONG ALFA)", "Gravando aquivo 2 de 7 (SONG BETA)",
                              "Gravando aquivo 3 de 7 (SONG GAMA)", "Gravando aquivo 4 de 7 (SONG DELTA (SEM ARQUIVO))",
                              "Gravando aquivo 5 de 7 (SONG CAPA)", "Gravando aquivo 6 de 7 (SONG ETA)",
                              "Gravando aquivo 7 de 7 (SONG ZETA (SEM PASTA))"}));
    for (std::size_t i = 0; i < seen_.size(); ++i) {
        EXPECT_EQ(seen_[i].position, static_cast<int>(i + 1));
        EXPECT_EQ(seen_[i].maximum, 7);
        EXPECT_TRUE(seen_[i].panelShown);
        EXPECT_FALSE(seen_[i].controlsEnabled);
        EXPECT_EQ(seen_[i].listCurrentRow, 2) << "the list follows the run's cursor";
    }
    EXPECT_EQ(ClosingMessages(), 1);
    ASSERT_EQ(boxes_.shown.size(), 1u);
    // The songs it could not write are told, each with its reason, then the songs not MP3.
    const app::MessageRequest& closing = boxes_.shown.front();
    EXPECT_EQ(closing.icon, app::MessageIcon::Warning);
    EXPECT_EQ(closing.text, QStringLiteral("Gravação do TAG finalizada!\n3 de 7 músicas não foram gravadas."));
    const QStringList details = closing.details.split('\n');
    ASSERT_EQ(details.size(), 4) << closing.details.toStdString();
    EXPECT_TRUE(details[0].startsWith("[4] ") && details[0].endsWith(": open: No such file or directory"))
        << details[0].toStdString();
    EXPECT_TRUE(details[3].startsWith("[5] ") && details[3].endsWith("capa.jpg: not MP3")) << details[3].toStdString();
    ExpectIdleAfterTheRun();
    EXPECT_EQ(CurrentRow(), 6);
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "SONG");

    // Catalogue values win, the file's own fill in, the dropped frames are gone.
    const songfiles::ReadBack alfa = songfiles::ReadWithTagLib(File("alfa.mp3"));
    EXPECT_EQ(alfa.majorVersion, 3);
    EXPECT_EQ(alfa.One("TIT2"), "Alfa");
    EXPECT_EQ(alfa.One("TPE1"), "Banda");
    EXPECT_EQ(alfa.One("TALB"), "old album");
    EXPECT_EQ(alfa.One("TRCK"), "5");
    EXPECT_EQ(alfa.One("TDRC"), "0"); // TYER "0", which TagLib reads as TDRC
    EXPECT_EQ(alfa.One("TCON"), "Rock");
    EXPECT_EQ(alfa.One("TRIT"), "R\xE1pido");
    EXPECT_EQ(alfa.One("COMM"), "a comment");
    EXPECT_EQ(alfa.One("TEXT"), ".mp3");
    EXPECT_EQ(alfa.One("TCAD"), "S");
    const std::vector<std::string> ids = songfiles::RawFrameIds(File("alfa.mp3"));
    for (const char* dropped : {"TDRC", "TOPE", "TIT1", "TOAL"})
        EXPECT_EQ(std::count(ids.begin(), ids.end(), dropped), 0) << dropped;
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "TYER"), 1);

    const songfiles::ReadBack beta = songfiles::ReadWithTagLib(File("beta.MP3"));
    EXPECT_EQ(beta.One("TIT2"), "Beta");
    EXPECT_FALSE(beta.Has("TRCK")) << "track 0 writes no TRCK";
    EXPECT_EQ(beta.One("TEXT"), ".MP3");
    EXPECT_EQ(beta.One("TALB"), "") << "a blank-only value clears the frame";

    const songfiles::ReadBack gama = songfiles::ReadWithTagLib(File("gama.mp3"));
    EXPECT_EQ(gama.One("TIT2"), "Gama");
    EXPECT_EQ(gama.One("TPE1"), "v1 artist");
    EXPECT_EQ(gama.One("TALB"), "v1 album");
    EXPECT_EQ(gama.One("TRCK"), "3");
    EXPECT_EQ(gama.One("COMM"), "v1 comment");

    // The audio after each tag is the encoder's, untouched.
    for (const char* written : {"alfa.mp3", "beta.MP3", "gama.mp3"})
        EXPECT_EQ(songfiles::AudioFingerprint(File(written)), audioBefore_.at(written)) << written;
    for (const char* untouched : {"capa.jpg", "sub/eta.mp3", "teta.mp3"})
        EXPECT_TRUE(Unchanged(untouched)) << untouched;
    EXPECT_FALSE(std::filesystem::exists(File("delta.mp3")));
    EXPECT_FALSE(std::filesystem::exists(music_ / "subeta.mp3"));
    EXPECT_EQ(tagkit::ID3v2Tag(), nullptr) << "the reader set outlived its song";
}

TEST_F(BatchRun, GravarSelecionadasWritesTheSelectionInListOrder)
{
    Type("song");
    // The seventh, second and fifth rows, in that order; the current row (the first) is not
    // selected and so is not written.
    ClickRow(6, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier);
    ClickRow(4, Qt::ControlModifier);
    ASSERT_EQ(Selected(), (Rows{1, 4, 6}));
    Window().BSelecionadas->click();

    EXPECT_EQ(Counters(), (std::vector<std::string>{"Gravando aquivo 1 de 3 (SONG BETA)",
                                                    "Gravando aquivo 2 de 3 (SONG CAPA)",
                                                    "Gravando aquivo 3 de 3 (SONG ZETA (SEM PASTA))"}));
    EXPECT_EQ(seen_.back().position, 3);
    EXPECT_EQ(seen_.back().maximum, 3);
    EXPECT_EQ(ClosingMessages(), 1);
    ExpectIdleAfterTheRun();
    EXPECT_EQ(Selected(), (Rows{1, 4, 6})) << "the selection stays";
    EXPECT_EQ(CurrentRow(), 6);
    EXPECT_FALSE(Unchanged("beta.MP3"));
    for (const char* untouched : {"alfa.mp3", "gama.mp3", "capa.jpg"})
        EXPECT_TRUE(Unchanged(untouched)) << untouched;
    EXPECT_EQ(boxes_.shown.back().text, QStringLiteral("Gravação do TAG finalizada!\n1 de 3 música não foi gravada."));

    // Without the song that has no folder: a run whose only other song is no MP3 is a plain success.
    ClickRow(6, Qt::ControlModifier);
    ASSERT_EQ(Selected(), (Rows{1, 4}));
    Window().BSelecionadas->click();
    EXPECT_TRUE(IsPlainClosingMessage(boxes_.shown.back())) << boxes_.shown.back().text.toStdString();
}

TEST_F(BatchRun, EmptyRunsShowThePanelAndTheMessageOrNothingAtAll)
{
    // Rows but none selected: the panel comes and goes, the message is shown, nothing changes.
    Type("song");
    Window().BSelecionadas->click();
    EXPECT_TRUE(seen_.empty());
    EXPECT_EQ(ClosingMessages(), 1);
    EXPECT_EQ(Window().ProgressBar1->maximum(), 0);

    // A search that matches nothing: "Gravar Todas" still ends with its message...
    Type("xyz");
    ASSERT_TRUE(ShownNames().empty());
    Window().BTodas->click();
    EXPECT_EQ(ClosingMessages(), 2);
    // ...and "Gravar Selecionadas" does nothing at all.
    Window().BSelecionadas->click();
    EXPECT_EQ(ClosingMessages(), 2);
    EXPECT_TRUE(seen_.empty());
    ExpectIdleAfterTheRun();
    for (const auto& [name, bytes] : before_)
        EXPECT_TRUE(Unchanged(name)) << name;
}

TEST_F(BatchRun, ACloseRequestDuringARunLetsItFinishAndThenEndsTheProgram)
{
    Type("song");
    bool asked = false;
    Window().SetBeforeSongHook([&] {
        if (!asked) {
            asked = true;
            Window().close(); // the close box, or Alt+F4
            EXPECT_TRUE(Window().isVisible());
        }
        seen_.push_back({});
    });
    Window().BTodas->click();
    EXPECT_EQ(seen_.size(), 7u);
    EXPECT_FALSE(Unchanged("alfa.mp3"));
    EXPECT_FALSE(Unchanged("gama.mp3"));
    EXPECT_EQ(ClosingMessages(), 0) << "the pending end of the program closes the message at once";
    EXPECT_FALSE(Window().isVisible());
}

// SIGTERM (a desktop logging out), SIGINT (Ctrl+C in the terminal) and SIGHUP close the window as
// "&Fechar" does; during a run, after the song at hand and without the closing message.
TEST_F(BatchRun, AStopSignalClosesTheWindowAfterTheSongAtHand)
{
    for (const int stop : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(stop);
        Open();
        ::kill(::getpid(), stop);
        Settle();
        EXPECT_FALSE(Window().isVisible());
        songs::StopSignals::Forget();
    }
    Open();
    Type("song");
    Window().SetBeforeSongHook([&] {
        seen_.push_back({});
        if (seen_.size() == 2)
            ::kill(::getpid(), SIGTERM);
    });
    Window().BTodas->click();
    songs::StopSignals::Forget();
    EXPECT_EQ(seen_.size(), 2u);
    EXPECT_FALSE(Unchanged("alfa.mp3"));
    EXPECT_EQ(std::ranges::count_if(before_, [this](const auto& song) { return !Unchanged(song.first); }), 2);
    ExpectIdleAfterTheRun();
    EXPECT_EQ(ClosingMessages(), 0);
    EXPECT_FALSE(Window().isVisible());
}

TEST_F(BatchRun, AFailureWhileWalkingReachesTheErrorReportWithThePanelHiddenAndNoClosingMessage)
{
    Type("song");
    // The song list closes under the run (as a lost connection would leave it): the next move fails.
    Window().SetBeforeSongHook([this] {
        seen_.push_back({});
        if (seen_.size() == 2)
            Window().Catalogue().Q_Musicas().Close();
    });
    Window().BTodas->click();
    EXPECT_EQ(seen_.size(), 2u);
    ASSERT_EQ(boxes_.shown.size(), 1u);
    EXPECT_EQ(boxes_.shown[0].icon, app::MessageIcon::Stop);
    EXPECT_EQ(ClosingMessages(), 0);
    ExpectIdleAfterTheRun();
    EXPECT_FALSE(Unchanged("alfa.mp3"));
    EXPECT_TRUE(Unchanged("gama.mp3"));
}

class BatchRunAfterAFailedStartup : public WindowTest {};

TEST_F(BatchRunAfterAFailedStartup, GravarTodasReportsTheClosedListAndSelecionadasDoesNothing)
{
    WriteIni("[BANCO]\r\ncaminho=" + (Folder() / "missing.fdb").string() + "\r\n");
    Open();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    Window().BSelecionadas->click();
    EXPECT_EQ(boxes_.shown.size(), 1u);
    Window().BTodas->click();
    ASSERT_EQ(boxes_.shown.size(), 2u);
    EXPECT_EQ(boxes_.shown[1].icon, app::MessageIcon::Stop);
    EXPECT_NE(boxes_.shown[1].text, QStringLiteral("Gravação do TAG finalizada!"));
    EXPECT_FALSE(Window().pnlAguarde->isVisible());
    EXPECT_TRUE(Window().BTodas->isEnabled());
}

} // namespace
} // namespace apptest
