// Inspection opens a song once and shares its bytes between the three readers: the record and
// the readers' values must be those of three readers that each open and read the file alone.
#include "SongFiles.h"
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "io/SongBytes.h"
#include "tagkit/RecordValues.h"
#include "tagkit/U_Funcoes.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <set>
#include <vector>

namespace {

using namespace songfiles;

// The three readers, each on its own, with inspection's stop rules.
struct ReadAlone {
    audio::TMPEGaudio audio;
    id3v2::TID3v2 id3v2;
    audio::TID3v1 id3v1;
    tagkit::Tag record;

    explicit ReadAlone(const std::string& path)
    {
        if (!audio.ReadFromFile(path))
            return;
        if (!audio.Valid()) {
            record.AudioValid = tagkit::kNo;
            return;
        }
        tagkit::DescribeAudio(audio, record);
        if (!id3v2.ReadFromFile(path))
            return;
        if (id3v2.TagFound()) {
            tagkit::CopyId3v2Values(id3v2, record);
            return;
        }
        if (!id3v1.ReadFromFile(path)) {
            record.TagExists = tagkit::kNo;
            return;
        }
        if (id3v1.Exists())
            tagkit::CopyId3v1Values(id3v1, record);
    }
};

std::vector<std::string> Fields(const tagkit::Tag& t)
{
    return {t.AudioValid,  t.FileSize,    t.VersionLayer, t.BitRate,     t.SampleRate,  t.ChannelMode, t.Duration,
            t.FramePosition, t.CrcProtection, t.FrameCount, t.Copyrighted, t.OriginalMedia, t.Emphasis,
            t.AudioEncoder, t.TagExists, t.TagVersion,   t.TagSize,     t.Title,       t.Artist,      t.Album,
            t.Track,       t.Year,        t.Genre,        t.Comment,     t.Composer,    t.Encoder,     t.Copyright,
            t.Language,    t.RecordLabel, t.Vocal,        t.Rating,      t.PeriodType,  t.PeriodStart, t.PeriodEnd,
            t.Link,        t.Rhythm,      t.FrameTINT,    t.FileExtension, t.SubGenre,  t.FrameTIDM,   t.FrameTCAR,
            t.FrameTVIN,   t.FrameTMXI,   t.FrameTMXF,    t.FrameTRFI,   t.FrameTRFF,   t.FrameTPMI};
}

void ExpectSameAudio(const audio::TMPEGaudio& a, const audio::TMPEGaudio& b)
{
    EXPECT_EQ(a.FileLength(), b.FileLength());
    EXPECT_EQ(a.Frame().Found, b.Frame().Found);
    EXPECT_EQ(a.Frame().Position, b.Frame().Position);
    EXPECT_EQ(a.VBR().Found, b.VBR().Found);
    EXPECT_EQ(a.TailVendor(), b.TailVendor());
    EXPECT_EQ(a.TagV2Size(), b.TagV2Size());
    EXPECT_EQ(a.TagV1Exists(), b.TagV1Exists());
    EXPECT_EQ(a.BytesRead(), b.BytesRead());
}

void ExpectSameTags(const id3v2::TID3v2& a2, const id3v2::TID3v2& b2, const audio::TID3v1& a1, const audio::TID3v1& b1)
{
    EXPECT_EQ(a2.TagFound(), b2.TagFound());
    EXPECT_EQ(a2.MajorVersion(), b2.MajorVersion());
    EXPECT_EQ(a2.TagSize(), b2.TagSize());
    EXPECT_EQ(a2.Values().Text, b2.Values().Text);
    EXPECT_EQ(a2.Values().Track, b2.Values().Track);
    EXPECT_EQ(a2.Values().Rating, b2.Values().Rating);
    EXPECT_EQ(a1.Exists(), b1.Exists());
    EXPECT_EQ(a1.VersionID(), b1.VersionID());
    EXPECT_EQ(a1.Title(), b1.Title());
    EXPECT_EQ(a1.Comment(), b1.Comment());
    EXPECT_EQ(a1.Track(), b1.Track());
    EXPECT_EQ(a1.GenreID(), b1.GenreID());
}

class SharedRead : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_NUMERIC, "C"); }
    void TearDown() override { tagkit::FreeTagObjects(".mp3"); }

    // The files, made once for the suite.
    static const std::vector<std::string>& Files()
    {
        static const std::vector<std::string> files = MakeFiles();
        return files;
    }
    static std::string Path(const std::string& name) { return Dir().File(name); }

private:
    static std::vector<std::string> MakeFiles();
    static fixtures::ScratchDir& Dir()
    {
        static fixtures::ScratchDir dir("fonarel-shared-read");
        return dir;
    }
};

// A tag with a picture of the given size: tags larger than the head window.
void TagWithPicture(const std::string& path, int majorVersion, std::size_t pictureBytes)
{
    WriteTagLibTag(path, majorVersion, [&](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Com capa");
        tag.setArtist("Artista");
        tag.setTrack(9);
        AddTextFrame(tag, "TGRA", "Selo");
        auto* picture = new TagLib::ID3v2::AttachedPictureFrame();
        picture->setMimeType("image/jpeg");
        picture->setPicture(TagLib::ByteVector(static_cast<unsigned>(pictureBytes), '\x42'));
        tag.addFrame(picture);
        // A frame after the picture: the scan reads it only when the tag is read whole.
        AddTextFrame(tag, "TPMI", "depois da capa");
    });
}

std::vector<std::string> SharedRead::MakeFiles()
{
    std::vector<std::string> files;
    const auto copy = [&](const std::string& name, const std::string& source = PlainLameFile()) {
        files.push_back(CopyFile(source, Path(name)));
        return files.back();
    };
    copy("plain.mp3");
    copy("vbr.mp3", VbrLameFile());
    WriteTagLibTag(copy("v23.mp3"), 3, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Pequena");
        tag.setComment("um comentario");
        AddTextFrame(tag, "TRIT", "Samba");
    });
    WriteTagLibTag(copy("v24.mp3"), 4, [](TagLib::ID3v2::Tag& tag) { tag.setTitle("Quarta"); });
    TagWithPicture(copy("picture-6k.mp3"), 3, 6000);
    TagWithPicture(copy("picture-20k.mp3"), 3, 20000);
    TagWithPicture(copy("picture-300k.mp3"), 4, 300000);
    TagWithPicture(copy("picture-vbr.mp3", VbrLameFile()), 3, 15000);
    Append(copy("v1.mp3"), Id3v1Block("So v1", "Artista", "Album", "1999", "comentario", 3, 8));
    Append(copy("v1-vbr.mp3", VbrLameFile()), Id3v1Block("So v1 VBR", "A", "B", "2000", "c", 0, 12));
    const std::string both = copy("v1-v2.mp3");
    Append(both, Id3v1Block("Perdida", "A", "B", "2000", "c", 0, 12));
    WriteTagLibTag(both, 3, [](TagLib::ID3v2::Tag& tag) { tag.setTitle("Vence"); });
    Prepend(copy("v22.mp3"), Id3v22Tag({{"TT2", "Antiga"}, {"COM", std::string(7000, 'c')}, {"TRI", "Frevo"}}));

    const std::vector<std::uint8_t> audio = fixtures::ReadFileBytes(PlainLameFile());
    const auto write = [&](const std::string& name, const std::string& bytes) {
        files.push_back(Path(name));
        fixtures::WriteFileBytes(files.back(), bytes);
    };
    write("noise-tagged.mp3", Id3v22Tag({{"TT2", "Nada"}}) + std::string(20000, '\x55'));
    write("noise.mp3", std::string(50000, '\x33'));
    write("junk-first.mp3", std::string(9000, '\x11') + std::string(audio.begin(), audio.end()));
    write("short.mp3", std::string(audio.begin(), audio.begin() + 1000));
    write("block.mp3", std::string(audio.begin(), audio.begin() + 128));
    write("tiny.mp3", std::string(audio.begin(), audio.begin() + 100));
    write("empty.mp3", "");
    files.push_back(Path("folder.mp3"));
    std::filesystem::create_directory(files.back());
    files.push_back(Path("absent.mp3"));
    return files;
}

TEST_F(SharedRead, InspectionGivesWhatTheReadersGiveAlone)
{
    for (const std::string& path : Files()) {
        SCOPED_TRACE(path);
        const ReadAlone alone(path);
        tagkit::CreateTagObjects(".mp3");
        tagkit::LoadFileInfo(path);
        EXPECT_EQ(Fields(tagkit::TagRecord()), Fields(alone.record));
        ExpectSameAudio(*tagkit::AudioInfo(), alone.audio);
        ExpectSameTags(*tagkit::ID3v2Tag(), alone.id3v2, *tagkit::ID3v1Tag(), alone.id3v1);
        tagkit::FreeTagObjects(".mp3");
    }
}

TEST_F(SharedRead, TheFixturesCoverEveryOutcome)
{
    std::set<std::string> outcomes;
    for (const std::string& path : Files()) {
        const ReadAlone alone(path);
        outcomes.insert(alone.record.AudioValid + "/" + alone.record.TagVersion);
    }
    for (const char* outcome : {"/", "N\xE3o/", "Sim/", "Sim/2.2", "Sim/2.3", "Sim/2.4", "Sim/1.0", "Sim/1.1"})
        EXPECT_EQ(outcomes.count(outcome), 1u) << outcome;
}

// Inspection's reads over one open song: no byte is read from the file twice, and a song like
// the batch's usual one (a 4096-byte tag, no ID3v1 tag) costs two reads.
TEST_F(SharedRead, NoByteIsReadTwice)
{
    for (const std::string& path : Files()) {
        SCOPED_TRACE(path);
        io::SongBytes song;
        if (!song.Open(path))
            continue;
        audio::TMPEGaudio audio;
        id3v2::TID3v2 id3v2;
        audio::TID3v1 id3v1;
        audio.ReadFromSource(song);
        id3v2.ReadFromSource(song);
        id3v1.ReadFromSource(song);
        EXPECT_EQ(song.FileBytesRead(), song.KeptBytes());
        EXPECT_LE(song.FileBytesRead(), song.Length());
        const std::int64_t reads = song.FileReads();
        audio.ReadFromSource(song);
        id3v2.ReadFromSource(song);
        id3v1.ReadFromSource(song);
        EXPECT_EQ(song.FileReads(), reads);
    }

    const std::string path = CopyFile(PlainLameFile(), Path("usual.mp3"));
    Prepend(path, Id3v22Tag({{"TT2", "Usual"}, {"COM", std::string(4003, 'c')}}));
    io::SongBytes song;
    ASSERT_TRUE(song.Open(path));
    audio::TMPEGaudio audio;
    id3v2::TID3v2 id3v2;
    ASSERT_TRUE(audio.ReadFromSource(song) && audio.Valid());
    ASSERT_TRUE(id3v2.ReadFromSource(song) && id3v2.TagFound());
    EXPECT_EQ(id3v2.TagSize(), 4096);
    EXPECT_EQ(song.FileReads(), 2);
    EXPECT_EQ(song.FileBytesRead(), io::SongBytes::kHeadWindow + 3458 + 128);
}

} // namespace
