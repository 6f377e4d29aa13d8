// Two writers of one song: the writers' lock, held by another process, keeps a save out for a
// bounded wait and never keeps a reader out; a song replaced after its inspection is inspected
// again, and one replaced while a writer waits to hold it is held as its new file; a temporary
// file is only ever replaced under its song's lock.
#include "SongFiles.h"
#include "io/BinaryFile.h"
#include "io/SongFile.h"
#include "tagkit/SongExamination.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/id3v2tag.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace songfiles;
using namespace std::chrono_literals;

// Another process that holds the writers' lock on a song, and optionally writes the song's "~"
// file as a writer would, until it is released (or for `hold` at most).
class LockHolder {
public:
    LockHolder(const std::string& song, std::chrono::milliseconds hold, bool makeTemporary = false)
    {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            io::BinaryFile file;
            bool held = file.Open(song, io::BinaryFile::Mode::ReadWrite) &&
                        file.TryLockByte(io::kSongLockByte).Done();
            if (held && makeTemporary)
                held = fixtures::WriteFileBytes(song + "~", "half a song");
            const char answer = held ? 'y' : 'n';
            [[maybe_unused]] const auto sent = ::write(ready[1], &answer, 1);
            ::usleep(static_cast<useconds_t>(hold.count() * 1000));
            ::_exit(0);
        }
        ::close(ready[1]);
        char answer = 'n';
        held_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() { Release(); }
    bool Held() const { return held_; }
    void Release()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

class WriterLock : public ::testing::Test {
protected:
    std::string TaggedSong(const std::string& name, const std::string& album)
    {
        const std::string path = CopyFile(PlainLameFile(), dir_.File(name));
        WriteTagLibTag(path, 3, [&album](TagLib::ID3v2::Tag& tag) {
            tag.setTitle("Velho");
            tag.setAlbum(album);
        });
        return path;
    }
    using Kind = io::Outcome::Kind;

    static tagkit::SongExamination Inspect(const std::string& path, std::chrono::milliseconds wait = 1s)
    {
        return tagkit::SongExamination::Of(path, tagkit::Access::ReadOnly(wait));
    }
    static Kind Save(tagkit::SongExamination& inspection)
    {
        tagkit::TagValues values;
        values.Title = "Novo";
        values.FileExtension = ".mp3";
        return inspection.Save(inspection.Plan(values)).kind;
    }
    static Kind InspectAndSave(const std::string& path, std::chrono::milliseconds wait)
    {
        tagkit::SongExamination inspection = Inspect(path, wait);
        return Save(inspection);
    }
    // As the programs write: held for writing from before its inspection.
    static Kind HoldAndSave(const std::string& path, std::chrono::milliseconds wait)
    {
        tagkit::SongExamination inspection = tagkit::SongExamination::Of(path, tagkit::Access::HeldForWriting(wait));
        return inspection.Busy() ? Kind::Busy : Save(inspection);
    }
    static std::vector<std::uint8_t> Bytes(const std::string& path) { return fixtures::ReadFileBytes(path); }

    fixtures::ScratchDir dir_{"fonarel-writer-lock"};
};

TEST_F(WriterLock, ASongHeldForTheWholeWaitIsBusyAndLeftAsItWas)
{
    const std::string path = TaggedSong("held.mp3", "Lp");
    const auto before = Bytes(path);
    LockHolder other(path, 10s, /*makeTemporary=*/true);
    ASSERT_TRUE(other.Held());
    for (const auto save : {InspectAndSave, HoldAndSave}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(save(path, 300ms), Kind::Busy);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
        EXPECT_EQ(Bytes(path), before);
    }
    // The other writer's temporary file is its own: never replaced nor removed.
    const auto temporary = fixtures::ReadFileBytes(path + "~");
    EXPECT_EQ(std::string(temporary.begin(), temporary.end()), "half a song");
}

TEST_F(WriterLock, ASongReleasedWithinTheWaitIsWrittenAndAStaleTemporaryFileReplaced)
{
    // Untagged, so that the save rebuilds it through the "~" file the other writer left.
    const std::string path = CopyFile(PlainLameFile(), dir_.File("released.mp3"));
    const std::uint64_t audio = AudioFingerprint(path);
    LockHolder other(path, 200ms, /*makeTemporary=*/true);
    ASSERT_TRUE(other.Held());
    EXPECT_EQ(InspectAndSave(path, 5s), Kind::Done);
    EXPECT_EQ(ReadWithTagLib(path).One("TIT2"), "Novo");
    EXPECT_EQ(AudioFingerprint(path), audio);
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
}

TEST_F(WriterLock, AReaderIsNeverKeptOutByAWriter)
{
    const std::string path = TaggedSong("read.mp3", "Lp");
    const auto before = Bytes(path);
    LockHolder other(path, 10s);
    ASSERT_TRUE(other.Held());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Bytes(path), before);
    const tagkit::SongExamination inspection = Inspect(path);
    EXPECT_EQ(inspection.Readiness(), tagkit::Readiness::Ready);
    EXPECT_EQ(inspection.Record().Album, "Lp");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
}

TEST_F(WriterLock, ASongReplacedAfterItsInspectionIsInspectedAgainAndWrittenFromItsNewContent)
{
    const std::string path = TaggedSong("song.mp3", "Antigo");
    const std::string replacement = TaggedSong("replacement.mp3", "Novo disco");
    tagkit::SongExamination inspection = Inspect(path);
    // Another writer renames its rebuilt file over the song.
    ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
    EXPECT_EQ(Save(inspection), Kind::Done);
    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_EQ(tag.One("TIT2"), "Novo");
    EXPECT_EQ(tag.One("TALB"), "Novo disco");
}

TEST_F(WriterLock, ASongReplacedWhileAWriterWaitsToHoldItIsHeldAsItsNewFile)
{
    const std::string path = TaggedSong("song.mp3", "Antigo");
    const std::string replacement = TaggedSong("replacement.mp3", "Novo disco");
    LockHolder other(path, 10s);
    ASSERT_TRUE(other.Held());
    // The writer opens the old file and waits for it on a thread of its own (with a toolkit state
    // of its own); meanwhile the other writer renames its rebuilt file over the song and ends.
    Kind outcome = Kind::Failed;
    std::thread writer([&] {
        outcome = HoldAndSave(path, 5s);
    });
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
    other.Release();
    writer.join();
    EXPECT_EQ(outcome, Kind::Done);
    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_EQ(tag.One("TIT2"), "Novo");
    EXPECT_EQ(tag.One("TALB"), "Novo disco");
}

TEST_F(WriterLock, ASongRewrittenInPlaceAfterItsInspectionIsInspectedAgain)
{
    const std::string path = TaggedSong("song.mp3", "Antigo");
    tagkit::SongExamination inspection = Inspect(path);
    // Same file, same length: only its tag bytes tell.
    WriteTagLibTag(path, 3, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Velho");
        tag.setAlbum("Outro");
    });
    EXPECT_EQ(Save(inspection), Kind::Done);
    EXPECT_EQ(ReadWithTagLib(path).One("TALB"), "Outro");
}

} // namespace
