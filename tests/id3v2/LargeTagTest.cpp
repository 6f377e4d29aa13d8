// Tags too large to hold in memory, whatever their header claims: they are read a frame at a
// time, give what the whole tag in memory gives, and cost a few MiB at most.
#include "id3v2/ID3v2.h"
#include "id3v2/TagParser.h"
#include "id3v2/TagReader.h"
#include "io/ByteSource.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "TagBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace id3v2 {
namespace {

using namespace std::string_literals;
using namespace tagbytes;

void ExpectSameParse(const std::string& file)
{
    const ParsedTag whole = ParseTag(AsBytes(file), static_cast<std::int64_t>(file.size()));
    io::MemoryBytes memory(AsBytes(file));
    const ParsedTag frames = ParseTagFrameByFrame(memory);
    EXPECT_EQ(frames.TagFound, whole.TagFound);
    EXPECT_EQ(frames.MajorVersion, whole.MajorVersion);
    EXPECT_EQ(frames.TagSize, whole.TagSize);
    EXPECT_EQ(frames.Values.Text, whole.Values.Text);
    EXPECT_EQ(frames.Values.Track, whole.Values.Track);
    EXPECT_EQ(frames.Values.Rating, whole.Values.Rating);
}

const std::string kPopm = "rater@example.org\0\x4D\0\0\0\x01"s; // rating 77

TEST(LargeTag, FrameByFrameGivesWhatTheWholeTagGives)
{
    const std::string picture = FrameV23("PRIV", std::string(3 << 20, '\x5A'));
    ExpectSameParse(Tag(3, FrameV23("TIT2", "\0Antes"s) + picture + FrameV23("TPE1", "\0Depois"s) + FrameV23("POPM", kPopm), 64) +
                    AudioBytes(600));
    ExpectSameParse(Tag(4, FrameV24("TIT2", "\x03Ol\xC3\xA1"s) + FrameV24("POPM", kPopm, 0x02), 0, 0x80) + AudioBytes(600));
    ExpectSameParse(Tag(2, FrameV22("TT2", "\0Abc"s) + FrameV22("POP", kPopm)) + AudioBytes(600));
    // A 2.3 tag unsynchronised as a whole, with an extended header.
    const std::string body = "\0\0\0\x06\0\0\0\0\0\0"s + FrameV23("TIT2", "\0\xFF\xE0"s) + FrameV23("POPM", kPopm);
    ExpectSameParse(Tag(3, Unsynchronised(body), 0, 0xC0) + AudioBytes(600));
    // Cut short, claiming more than the file holds, with no tag at all.
    ExpectSameParse(Tag(3, FrameV23("TIT2", "\0Abc"s)).substr(0, 15));
    ExpectSameParse("ID3\x03\0\0\x7F\x7F\x7F\x7F"s + FrameV23("TIT2", "\0Abc"s));
    ExpectSameParse(AudioBytes(2000));
}

// Runs the read in a child process and returns how much its resident memory grew (KiB), and
// the values it read through a pipe.
struct ChildRead {
    long grownKiB = -1;
    std::string title;
    int rating = -1;
    double seconds = 0;
};

ChildRead ReadInChild(const std::string& path)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        TID3v2 tag;
        const bool read = tag.ReadFromFile(path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        const std::string report = std::to_string(after.ru_maxrss - before.ru_maxrss) + "\n" +
                                   std::to_string(read ? tag.Rating() : -1) + "\n" + std::to_string(seconds) + "\n" +
                                   tag.Title();
        [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ChildRead result;
    std::size_t a = report.find('\n'), b = report.find('\n', a + 1), c = report.find('\n', b + 1);
    if (c == std::string::npos)
        return result;
    result.grownKiB = std::stol(report.substr(0, a));
    result.rating = std::stoi(report.substr(a + 1, b - a - 1));
    result.seconds = std::stod(report.substr(b + 1, c - b - 1));
    result.title = report.substr(c + 1);
    return result;
}

TEST(LargeTag, AHeaderClaimingA256MegabyteTagCostsAFewMegabytes)
{
    fixtures::ScratchDir dir("fonarel-large");
    const std::string path = dir.File("claims.mp3");
    // A 256 MiB tag by its header: a title, then zeros (a sparse file, so nothing is stored).
    const std::string start = Tag(3, FrameV23("TIT2", "\0Enorme"s)).substr(0, 6) + Syncsafe((256u << 20) - 10) +
                              FrameV23("TIT2", "\0Enorme"s);
    ASSERT_TRUE(fixtures::WriteFileBytes(path, start));
    ASSERT_EQ(::truncate(path.c_str(), (256 << 20) + 4096), 0);
    const ChildRead read = ReadInChild(path);
    EXPECT_EQ(read.title, "Enorme");
    EXPECT_EQ(read.rating, 0);
    EXPECT_GE(read.grownKiB, 0);
    EXPECT_LT(read.grownKiB, 4 * 1024) << "KiB";
    std::printf("256 MiB claim: resident +%ld KiB, read in %.4f s\n", read.grownKiB, read.seconds);
}

TEST(LargeTag, FramesAfterALargePictureAreStillRead)
{
    fixtures::ScratchDir dir("fonarel-large");
    const std::string path = dir.File("picture.mp3");
    const std::string picture = FrameV23("APIC", "\0image/jpeg\0\x03\0"s + std::string(24 << 20, '\x7F'));
    ASSERT_TRUE(fixtures::WriteFileBytes(path, Tag(3, picture + FrameV23("TIT2", "\0Depois da capa"s) + FrameV23("POPM", kPopm)) +
                                                   AudioBytes(600)));
    const ChildRead read = ReadInChild(path);
    EXPECT_EQ(read.title, "Depois da capa");
    EXPECT_EQ(read.rating, 77);
    EXPECT_LT(read.grownKiB, 4 * 1024) << "KiB";
    std::printf("24 MiB picture: resident +%ld KiB, read in %.4f s\n", read.grownKiB, read.seconds);
}

} // namespace
} // namespace id3v2
