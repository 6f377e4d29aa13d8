// A catalogue filled on Windows: drive letters, a network share, backslashes and names in other
// letter cases, its folders given in RevoZadoz.ini's [PASTAS]. The window's "Gravar Todas" and
// fonarel-write find and write the same songs, and leave alone what they cannot tell apart,
// what no line maps and what lies outside its mapped folder.
#include "WindowTesting.h"
#include "tools/mp3fixtures/Command.h"
#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <QPushButton>

#include <map>
#include <set>

namespace apptest {
namespace {

namespace fs = std::filesystem;

class WindowsCatalogue : public WindowTest {
protected:
    void SetUp() override
    {
        const std::string master = (Folder() / "master.mp3").string();
        ASSERT_TRUE(fixtures::MakeMp3(master, fixtures::Encoder::Lame, {"-b", "128"}));
        // On this machine's disk: M:\ is songs/acervo/, \\SERVIDOR\Acervo\ is songs/servidor/.
        for (const char* file : {"acervo/Samba/Samba.mp3", "acervo/Forr\xC3\xB3/Can\xC3\xA7\xC3\xA3o.mp3",
                                 "acervo/Samba/none-other.mp3", "servidor/Rock/Rock.mp3", "servidor/Rock/dup.mp3",
                                 "servidor/Rock/DUP.mp3", "outside.mp3", "posix/p.mp3"}) {
            fs::create_directories((Songs() / file).parent_path());
            fs::copy_file(master, Songs() / file);
        }
        catalogue::builder::CatalogueDescription d;
        const std::vector<std::string> folders = {"M:\\SAMBA\\", "m:/forr\xD3/", "\\\\servidor\\ACERVO\\rock\\",
                                                  "N:\\ACERVO\\", "M:\\SAMBA\\..\\..\\", (Songs() / "posix").string() + "/"};
        for (std::size_t i = 0; i < folders.size(); ++i)
            d.Add("Tb_Pastas", {{"PAS_CODIGO", std::to_string(i + 1)}, {"PAS_PATH", folders[i]}});
        const std::vector<std::pair<int, std::string>> songs = {
            {1, "SAMBA.MP3"}, {2, "CAN\xC7\xC3O.mp3"}, {3, "rock.mp3"}, {3, "Dup.mp3"},
            {4, "a.mp3"},     {5, "outside.mp3"},      {1, "gone.mp3"}, {6, "p.mp3"}};
        for (std::size_t i = 0; i < songs.size(); ++i)
            d.Add("Tb_Musicas", {{"MUS_CODIGO", std::to_string(i + 1)}, {"PAS_CODIGO", std::to_string(songs[i].first)},
                                 {"MUS_ARQUIVO", songs[i].second}, {"MUS_NOME", "Nome " + std::to_string(i + 1)},
                                 {"MUS_NOMECOMPLETO", "SONG " + std::to_string(i + 1)}});
        database_ = MakeCatalogue(d);
        WriteIni("[BANCO]\r\ncaminho=" + database_ + "\r\n[PASTAS]\r\nM:\\=" + (Songs() / "acervo").string() +
                 "/\r\n\\\\SERVIDOR\\Acervo=" + (Songs() / "servidor").string() + "\r\n");
    }
    fs::path Songs() const { return Folder() / "songs"; }
    std::string database_;
};

TEST_F(WindowsCatalogue, TheWindowAndTheCommandWriteTheSameSongsFoundAsWindowsFindsThem)
{
    const Files before = ReadFiles(Songs());
    Open();
    Window().BTodas->click();
    ASSERT_FALSE(boxes_.shown.empty());
    Close();
    const Files byWindow = ReadFiles(Songs());
    std::set<std::string> written;
    for (const auto& [path, bytes] : byWindow)
        if (bytes != before.at(path))
            written.insert(fs::relative(path, Songs()).string());
    EXPECT_EQ(written, (std::set<std::string>{"acervo/Samba/Samba.mp3", "acervo/Forr\xC3\xB3/Can\xC3\xA7\xC3\xA3o.mp3",
                                              "servidor/Rock/Rock.mp3", "posix/p.mp3"}));

    PutBack(before, Songs());
    const std::string report = (Folder() / "report.tsv").string();
    const fixtures::CommandResult run = fixtures::RunCommand(
        {FONAREL_WRITE_TOOL, "--ini", (Folder() / "RevoZadoz.ini").string(), "--report", report, "--jobs", "4"}, true);
    EXPECT_TRUE(ReadFiles(Songs()) == byWindow) << "the command wrote other songs or bytes than the window";
    EXPECT_NE(run.output.find("[4] " + (Songs() / "servidor/Rock/Dup.mp3").string() +
                              ": not written: ambiguous: Rock/DUP.mp3, Rock/dup.mp3\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("not written: no folder of this machine is given for N:\\ ([PASTAS] in RevoZadoz.ini, "
                              "or --map-folder)"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("unmapped:                      1\n  N:\\                          1\n"), std::string::npos)
        << run.output;
    const std::vector<std::uint8_t> lines = fixtures::ReadFileBytes(report);
    const std::string text(lines.begin(), lines.end());
    for (const char* outcome : {"\tambiguous\t", "\tunmapped\t", "\toutside\t", "\tmissing\t"})
        EXPECT_NE(text.find(outcome), std::string::npos) << outcome << " in\n" << text;
    EXPECT_NE(text.find("6\tM:\\\\SAMBA\\\\..\\\\..\\\\outside.mp3\toutside"), std::string::npos) << text;
}

TEST_F(WindowsCatalogue, AFolderLineThatCannotBeTakenIsToldAtStartUp)
{
    WriteIni("[BANCO]\r\ncaminho=" + database_ + "\r\n[PASTAS]\r\nM=/mnt/x\r\nN:\\=relativa\r\n");
    Open();
    ASSERT_FALSE(boxes_.shown.empty());
    const QString text = boxes_.shown.front().text;
    EXPECT_TRUE(text.contains(QStringLiteral("linha 4: \"M\" não é uma unidade"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("linha 5: \"relativa\" não é uma pasta absoluta"))) << text.toStdString();
    // The start-up goes on: the list is there.
    EXPECT_EQ(ShownNames().size(), 8u);
    const fixtures::CommandResult command =
        fixtures::RunCommand({FONAREL_WRITE_TOOL, "--ini", (Folder() / "RevoZadoz.ini").string()}, true);
    EXPECT_EQ(command.exitCode, 2);
    EXPECT_NE(command.output.find("RevoZadoz.ini, line 4 ([PASTAS]): 'M' is no Windows drive"), std::string::npos)
        << command.output;
}

} // namespace
} // namespace apptest
