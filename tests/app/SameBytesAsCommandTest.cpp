// The window's "Gravar Todas" and fonarel-write over the same songs write the same bytes: the
// demo catalogue's mixed folder (tags of each version, ID3v1 only, none, invalid audio, a picture,
// missing files), embedded and through the loopback server.
#include "WindowTesting.h"

#include <QPushButton>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace apptest {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

Files ReadFiles(const fs::path& folder)
{
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().string()] = std::string(std::istreambuf_iterator<char>(in), {});
        }
    return files;
}

void PutBack(const Files& files, const fs::path& folder)
{
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !files.contains(entry.path().string()))
            fs::remove(entry.path());
    for (const auto& [path, bytes] : files)
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Quote(const std::string& text)
{
    return "'" + text + "'";
}

int RunShell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ServerHost()
{
    const char* host = std::getenv("FONAREL_FB_SERVER");
    return host == nullptr ? "" : host;
}

class SameBytesAsTheCommand : public WindowTest, public ::testing::WithParamInterface<bool> {
protected:
    bool Server() const { return GetParam(); }

    // The demo catalogue in the scratch folder; the database's name for the backend.
    std::string MakeDemo()
    {
        const fs::path root = Folder();
        EXPECT_EQ(RunShell("python3 " + Quote(FONAREL_SOURCE_DIR "/tools/demo/make-demo") + " --root " + Quote(root) +
                      " --catalogue-tool " + Quote(FONAREL_CATALOGUE_TOOL) + " >/dev/null"),
                  0);
        if (!Server())
            return (root / "demo" / "catalogue.fdb").string();
        // The server, which runs as its own user, makes its copy of the catalogue itself.
        fs::permissions(root, fs::perms::all);
        fs::permissions(root / "demo", fs::perms::all);
        const std::string database = ServerHost() + ":" + (root / "demo" / "server.fdb").string();
        EXPECT_EQ(RunShell(Quote(FONAREL_CATALOGUE_TOOL) + " " + Quote(database) + " " +
                      Quote((root / "demo" / "catalogue.tsv").string()) + " >/dev/null"),
                  0);
        return database;
    }
};

TEST_P(SameBytesAsTheCommand, GravarTodasAndTheCommandWriteTheSameFiles)
{
    if (Server() && ServerHost().empty()) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string_view(ci) == "true")
            FAIL() << "FONAREL_FB_SERVER is not set under CI: the loopback Firebird server did not start";
        GTEST_SKIP() << "no Firebird server (FONAREL_FB_SERVER is not set; scripts/test starts one)";
    }
    const std::string database = MakeDemo();
    const fs::path songs = Folder() / "demo" / "musicas";
    const Files before = ReadFiles(songs);
    ASSERT_GT(before.size(), 200u);

    WriteIni("[BANCO]\r\ncaminho=" + database + "\r\n");
    Open();
    Window().BTodas->click();
    ASSERT_EQ(boxes_.shown.size(), 1u);
    Close();
    const Files byWindow = ReadFiles(songs);

    PutBack(before, songs);
    ASSERT_EQ(ReadFiles(songs), before);
    ASSERT_EQ(RunShell(Quote(FONAREL_WRITE_TOOL) + " --quiet --database " + Quote(database)), 0);
    const Files byCommand = ReadFiles(songs);

    std::size_t changed = 0;
    for (const auto& [path, bytes] : byWindow) {
        EXPECT_EQ(byCommand.at(path) == bytes, true) << path;
        changed += before.at(path) != bytes;
    }
    EXPECT_EQ(byCommand.size(), byWindow.size());
    // Every MP3 the catalogue lists with readable audio and tag was written.
    EXPECT_EQ(changed, 242u);
}

INSTANTIATE_TEST_SUITE_P(Backends, SameBytesAsTheCommand, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Server" : "Embedded"; });

} // namespace
} // namespace apptest
