// Writing when the file system says no: read-only files and folders, a full disk, stale
// temporary files, missing, short and oversized files. In every failure the song stays as it
// was and no temporary file is left.
//
// Tests run as root, whom permission bits do not stop; the cases that need a refusal run the
// write in a child process that has dropped its privileges to the user "nobody".
#include "id3v2/ID3v2.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/wait.h>
#include <unistd.h>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

struct ChildLimits {
    bool dropToNobody = false;
    std::optional<rlim_t> fileSizeLimit; // RLIMIT_FSIZE: writes beyond it fail as on a full disk
};

ChildLimits AsNobody()
{
    ChildLimits limits;
    limits.dropToNobody = true;
    return limits;
}

ChildLimits WithFileSizeLimit(rlim_t bytes)
{
    ChildLimits limits;
    limits.fileSizeLimit = bytes;
    return limits;
}

// Runs `work` in a child process under the given limits; its boolean result, or nullopt when
// the limits could not be set up.
std::optional<bool> RunInChild(const ChildLimits& limits, const std::function<bool()>& work)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (limits.fileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*limits.fileSizeLimit, *limits.fileSizeLimit};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(3);
        }
        if (limits.dropToNobody && (::setgroups(0, nullptr) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0))
            ::_exit(3);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 3)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class WriteFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "handing files to the user 'nobody' needs root (CI runs the tests as root)";
        // Let "nobody" reach the scratch folder.
        ASSERT_EQ(::chmod(dir_.Path().c_str(), 0755), 0);
        tagged_ = Tag(3, FrameV23("TIT2", Latin1("Old")), 500) + AudioBytes(3000);
        untagged_ = AudioBytes(3000);
        tag_.SetTitle("New title");
        tag_.SetRating(9);
    }

    std::string Write(const std::string& name, const std::string& bytes, mode_t mode = 0644)
    {
        const std::string path = dir_.File(name);
        EXPECT_TRUE(fixtures::WriteFileBytes(path, bytes));
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }
    static std::string Bytes(const std::string& path)
    {
        const auto bytes = fixtures::ReadFileBytes(path);
        return {bytes.begin(), bytes.end()};
    }
    static void GiveToNobody(const std::string& path) { ASSERT_EQ(::chown(path.c_str(), kNobody, kNogroup), 0); }
    std::string TitleIn(const std::string& path)
    {
        TID3v2 reader;
        return reader.ReadFromFile(path) ? reader.Title() : "<unreadable>";
    }

    fixtures::ScratchDir dir_;
    std::string tagged_;
    std::string untagged_;
    TID3v2 tag_;
};

TEST_F(WriteFaults, ReadOnlyFileIsWrittenAndNoLongerReadOnly)
{
    for (const std::string* content : {&tagged_, &untagged_}) { // in place, then rebuilt
        const std::string path = Write("ro.mp3", *content, 0444);
        ASSERT_TRUE(tag_.SaveToFile(path));
        EXPECT_EQ(TitleIn(path), "New title");
        EXPECT_EQ(ModeOf(path), 0644u);
    }
}

TEST_F(WriteFaults, ReadOnlyFileOfAnUnprivilegedOwnerIsWrittenByThatOwner)
{
    for (const std::string* content : {&tagged_, &untagged_}) {
        const std::string path = Write("ro.mp3", *content, 0440);
        GiveToNobody(path);
        ASSERT_EQ(::chmod(dir_.Path().c_str(), 0777), 0); // the rebuild creates its file here
        const auto saved = RunInChild(AsNobody(), [&] { return tag_.SaveToFile(path); });
        ASSERT_TRUE(saved.has_value()) << "cannot drop privileges";
        EXPECT_TRUE(*saved);
        EXPECT_EQ(TitleIn(path), "New title");
        EXPECT_EQ(ModeOf(path), 0640u);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, kNobody);
    }
}

TEST_F(WriteFaults, FileOfAnotherOwnerCannotLoseItsReadOnlyMark)
{
    const std::string path = Write("root.mp3", tagged_, 0444);
    const auto saved = RunInChild(AsNobody(), [&] { return tag_.SaveToFile(path); });
    ASSERT_TRUE(saved.has_value()) << "cannot drop privileges";
    EXPECT_FALSE(*saved);
    EXPECT_EQ(Bytes(path), tagged_);
    EXPECT_EQ(ModeOf(path), 0444u);
}

TEST_F(WriteFaults, ReadOnlyFolderPreventsARebuild)
{
    const std::string folder = dir_.File("ro-folder");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    const std::string path = folder + "/song.mp3";
    ASSERT_TRUE(fixtures::WriteFileBytes(path, untagged_));
    GiveToNobody(path);
    GiveToNobody(folder);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

    const auto saved = RunInChild(AsNobody(), [&] { return tag_.SaveToFile(path); });
    ASSERT_TRUE(saved.has_value()) << "cannot drop privileges";
    EXPECT_FALSE(*saved);
    EXPECT_EQ(Bytes(path), untagged_);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));

    // The same folder still takes a tag written in place.
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    ASSERT_TRUE(fixtures::WriteFileBytes(path, tagged_));
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const auto inPlace = RunInChild(AsNobody(), [&] { return tag_.SaveToFile(path); });
    ASSERT_TRUE(inPlace.has_value());
    EXPECT_TRUE(*inPlace);
    EXPECT_EQ(TitleIn(path), "New title");
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
}

TEST_F(WriteFaults, DiskFullDuringARebuildLeavesTheSongIntact)
{
    const std::string path = Write("full.mp3", untagged_);
    // Room for the new tag but not for the audio behind it.
    const auto saved = RunInChild(WithFileSizeLimit(5000), [&] { return tag_.SaveToFile(path); });
    ASSERT_TRUE(saved.has_value()) << "cannot limit the file size";
    EXPECT_FALSE(*saved);
    EXPECT_EQ(Bytes(path), untagged_);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));

    // No room even for the tag.
    const auto tiny = RunInChild(WithFileSizeLimit(100), [&] { return tag_.SaveToFile(path); });
    ASSERT_TRUE(tiny.has_value());
    EXPECT_FALSE(*tiny);
    EXPECT_EQ(Bytes(path), untagged_);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
}

TEST_F(WriteFaults, StaleTemporaryFileIsReplaced)
{
    const std::string path = Write("song.mp3", untagged_);
    Write("song.mp3~", std::string(100000, 's'), 0444);
    ASSERT_TRUE(tag_.SaveToFile(path));
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
    EXPECT_EQ(Bytes(path).substr(4096), untagged_);
    EXPECT_EQ(TitleIn(path), "New title");
}

TEST_F(WriteFaults, StaleTemporarySymbolicLinkIsNotFollowed)
{
    const std::string path = Write("song.mp3", untagged_);
    const std::string victim = Write("victim.txt", "keep me");
    std::filesystem::create_symlink(victim, path + "~");
    ASSERT_TRUE(tag_.SaveToFile(path));
    EXPECT_EQ(Bytes(victim), "keep me");
    EXPECT_EQ(TitleIn(path), "New title");
}

TEST_F(WriteFaults, MissingShortAndFolderPathsGiveFalseAndCreateNothing)
{
    const std::string missing = dir_.File("missing.mp3");
    EXPECT_FALSE(tag_.SaveToFile(missing));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(std::filesystem::exists(missing + "~"));

    const std::string nine = Write("nine.mp3", "ID3\x03\0\0\0\0\0"s, 0444);
    EXPECT_FALSE(tag_.SaveToFile(nine));
    EXPECT_EQ(Bytes(nine), "ID3\x03\0\0\0\0\0"s);
    EXPECT_EQ(ModeOf(nine), 0444u);
    EXPECT_FALSE(std::filesystem::exists(nine + "~"));

    EXPECT_FALSE(tag_.SaveToFile(dir_.Path()));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "~"));
}

TEST_F(WriteFaults, FilesOfTwoGibibytesOrMoreAreRefused)
{
    const std::string path = Write("huge.mp3", tagged_, 0444);
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{1} << 31), 0); // sparse: no disk space used
    EXPECT_FALSE(tag_.SaveToFile(path));
    EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t{1} << 31);
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
    // Reading its tag works all the same.
    EXPECT_EQ(TitleIn(path), "Old");

    ASSERT_EQ(::truncate(path.c_str(), (std::int64_t{1} << 31) - 1), 0);
    EXPECT_TRUE(tag_.SaveToFile(path));
    EXPECT_EQ(TitleIn(path), "New title");
}

// The POSIX ACL "user::rw-, user:1234:rw-, group::r--, mask::rw-, other::---" as the system
// keeps it in its extended attribute.
std::string AccessControlList()
{
    const auto entry = [](std::uint16_t tag, std::uint16_t permissions, std::uint32_t id) {
        std::string bytes;
        for (const std::uint32_t value : {std::uint32_t{tag} | std::uint32_t{permissions} << 16, id})
            for (int shift = 0; shift < 32; shift += 8)
                bytes += static_cast<char>(value >> shift & 0xFF);
        return bytes;
    };
    constexpr std::uint32_t kNoId = 0xFFFFFFFF;
    return "\x02\0\0\0"s + entry(0x01, 6, kNoId) + entry(0x02, 6, 1234) + entry(0x04, 4, kNoId) +
           entry(0x10, 6, kNoId) + entry(0x20, 0, kNoId);
}

std::string Attribute(const std::string& path, const char* name)
{
    std::string value(256, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    return size < 0 ? std::string("(none)") : value.substr(0, static_cast<std::size_t>(size));
}

TEST_F(WriteFaults, RebuildRenamesTheFlushedCopyOverTheSongKeepingItsPermissions)
{
    const std::string path = Write("song.mp3", untagged_, 0640);
    // Who may open it, as a file server keeps it beside the mode: an ACL and an attribute.
    const std::string acl = AccessControlList();
    ASSERT_EQ(::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0), 0);
    ASSERT_EQ(::setxattr(path.c_str(), "user.dosattrib", "\x01\x02", 2, 0), 0);
    GiveToNobody(path);
    // A second name for the old file shows that the song was replaced in one step by a new
    // file rather than truncated and rewritten.
    const std::string oldName = dir_.File("old-link.mp3");
    std::filesystem::create_hard_link(path, oldName);
    ASSERT_TRUE(tag_.SaveToFile(path));
    EXPECT_EQ(Bytes(oldName), untagged_);
    EXPECT_EQ(Bytes(path).substr(4096), untagged_);
    EXPECT_EQ(ModeOf(path), 0660u); // the group bits are the ACL's mask
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNogroup);
    EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
    EXPECT_EQ(Attribute(path, "user.dosattrib"), "\x01\x02");
}

} // namespace
} // namespace id3v2
