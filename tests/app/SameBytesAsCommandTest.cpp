// The window's "Gravar Todas" and fonarel-write over the same songs write the same bytes (also
// keeping the old tags' other frames, as RevoZadoz.ini and the command's option ask): the
// demo catalogue's mixed folder (tags of each version, ID3v1 only, none, invalid audio, a picture,
// missing files), embedded and through the loopback server.
#include "WindowTesting.h"
#include "tests/TestEnvironment.h"
#include "tools/mp3fixtures/Command.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <QPushButton>

#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace apptest {
namespace {

namespace fs = std::filesystem;

// The demo lists songs whose files are missing: fonarel-write over it ends with status 1.
constexpr int kDemoStatus = 1;

// Runs a program; a failure is recorded with its output. Whether it ended with the status.
bool Runs(const std::vector<std::string>& argv, int status = 0)
{
    const fixtures::CommandResult result = fixtures::RunCommand(argv, true);
    EXPECT_EQ(result.exitCode, status) << argv[0] << ": " << result.output;
    return result.exitCode == status;
}

class SameBytesAsTheCommand : public WindowTest, public ::testing::WithParamInterface<bool> {
protected:
    bool Server() const { return GetParam(); }

    // The demo catalogue in the scratch folder; the database's name for the backend.
    std::string MakeDemo()
    {
        const fs::path root = Folder();
        Runs({"python3", FONAREL_SOURCE_DIR "/tools/demo/make-demo", "--root", root.string(), "--catalogue-tool",
                    FONAREL_CATALOGUE_TOOL});
        if (!Server())
            return (root / "demo" / "catalogue.fdb").string();
        // The server, which runs as its own user, makes its copy of the catalogue itself.
        fs::permissions(root, fs::perms::all);
        fs::permissions(root / "demo", fs::perms::all);
        const std::string database = testenv::ServerHost() + ":" + (root / "demo" / "server.fdb").string();
        Runs({FONAREL_CATALOGUE_TOOL, database, (root / "demo" / "catalogue.tsv").string()});
        return database;
    }
};

TEST_P(SameBytesAsTheCommand, GravarTodasAndTheCommandWriteTheSameFiles)
{
    if (Server() && testenv::ServerHost().empty()) {
        if (testenv::UnderCI())
            FAIL() << "FONAREL_FB_SERVER is not set under CI: the loopback Firebird server did not start";
        GTEST_SKIP() << "no Firebird server (FONAREL_FB_SERVER is not set; scripts/test starts one)";
    }
    const std::string database = MakeDemo();
    const fs::path songs = Folder() / "demo" / "musicas";
    const Files before = ReadFiles(songs);
    ASSERT_GT(before.size(), 200u);

    // With the table's frames alone, then keeping the old tags' other frames; through the server,
    // also as a user that may only read the catalogue, which must write what the administrator does.
    enum class Pass { Plain, Keeping, Reader };
    std::vector<Pass> passes = {Pass::Plain, Pass::Keeping};
    if (Server()) {
        passes.push_back(Pass::Reader);
        ASSERT_TRUE(Runs({"sh", "-c", "echo leitura | ISC_USER=SYSDBA ISC_PASSWORD=quillmoss " FONAREL_SOURCE_DIR
                                      "/scripts/catalogue-reader " + database + " fonarel_janela"}));
    }
    Files plain;
    for (const Pass pass : passes) {
        SCOPED_TRACE(pass == Pass::Plain ? "the table's frames alone" : pass == Pass::Keeping ? "keeping the other frames" : "a reader");
        PutBack(before, songs);
        const std::string ini = "[BANCO]\r\ncaminho=" + database + "\r\n" +
                                (pass == Pass::Reader ? "usuario=fonarel_janela\r\nsenha=leitura\r\n" : "") +
                                (pass == Pass::Keeping ? "[GRAVACAO]\r\nmanter_quadros=1\r\n" : "");
        WriteIni(ini);
        const std::size_t shown = boxes_.shown.size();
        Open();
        Window().BTodas->click();
        ASSERT_EQ(boxes_.shown.size(), shown + 1);
        Close();
        const Files byWindow = ReadFiles(songs);

        PutBack(before, songs);
        ASSERT_EQ(ReadFiles(songs), before);
        std::vector<std::string> command = {FONAREL_WRITE_TOOL, "--quiet", "--ini", (Folder() / "RevoZadoz.ini").string()};
        if (pass == Pass::Keeping)
            command.push_back("--keep-other-frames");
        ASSERT_TRUE(Runs(command, kDemoStatus));
        const Files byCommand = ReadFiles(songs);

        std::size_t changed = 0;
        for (const auto& [path, bytes] : byWindow) {
            EXPECT_EQ(byCommand.at(path) == bytes, true) << path;
            changed += before.at(path) != bytes;
        }
        EXPECT_EQ(byCommand.size(), byWindow.size());
        // Every MP3 the catalogue lists with readable audio and tag was written.
        EXPECT_EQ(changed, 242u);
        if (pass == Pass::Plain)
            plain = byWindow;
        if (pass == Pass::Reader) {
            EXPECT_TRUE(byWindow == plain) << "the reader's run wrote other bytes than the administrator's";
        }
    }
}

// The window and the command at once over the same songs, each through its own copy of the
// catalogue (the command's embedded, or through the server): whoever writes a song last, it ends
// as either alone writes it, and no temporary file is left.
TEST_P(SameBytesAsTheCommand, GravarTodasWhileTheCommandWritesTheSameSongs)
{
    if (Server() && testenv::ServerHost().empty())
        GTEST_SKIP() << "no Firebird server (FONAREL_FB_SERVER is not set; scripts/test starts one)";
    std::string commandDatabase = MakeDemo();
    const fs::path demo = Folder() / "demo";
    if (!Server()) {
        commandDatabase = (demo / "command.fdb").string();
        fs::copy_file(demo / "catalogue.fdb", commandDatabase);
    }
    const fs::path songs = demo / "musicas";
    const Files before = ReadFiles(songs);
    ASSERT_TRUE(Runs({FONAREL_WRITE_TOOL, "--quiet", "--database", commandDatabase}, kDemoStatus));
    const Files alone = ReadFiles(songs);
    PutBack(before, songs);

    WriteIni("[BANCO]\r\ncaminho=" + (demo / "catalogue.fdb").string() + "\r\n");
    Open();
    const pid_t command = ::fork();
    if (command == 0) {
        ::execl(FONAREL_WRITE_TOOL, FONAREL_WRITE_TOOL, "--quiet", "--database", commandDatabase.c_str(), nullptr);
        ::_exit(127);
    }
    ASSERT_GT(command, 0);
    Window().BTodas->click();
    int status = -1;
    ASSERT_EQ(::waitpid(command, &status, 0), command);
    Close();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kDemoStatus) << "fonarel-write ended with " << status;
    const Files after = ReadFiles(songs);
    EXPECT_EQ(after.size(), alone.size());
    for (const auto& [path, bytes] : alone)
        EXPECT_TRUE(after.contains(path) && after.at(path) == bytes) << path;
}

INSTANTIATE_TEST_SUITE_P(Backends, SameBytesAsTheCommand, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Server" : "Embedded"; });

} // namespace
} // namespace apptest
