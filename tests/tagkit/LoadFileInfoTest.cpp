// Inspection of real files into the tag data record.
#include "SongFiles.h"
#include "tagkit/U_Funcoes.h"
#include "audio/MPEGaudio.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/id3v2tag.h>
#include <taglib/popularimeterframe.h>

#include <gtest/gtest.h>

#include <clocale>

namespace {

using namespace songfiles;
using tagkit::TagRecord;

class Inspection : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_NUMERIC, "C"); }
    void TearDown() override { tagkit::FreeTagObjects(".mp3"); }

    std::string Copy(const std::string& name, const std::string& source = PlainLameFile())
    {
        return CopyFile(source, dir_.File(name));
    }
    static void Inspect(const std::string& path)
    {
        tagkit::CreateTagObjects(".MP3");
        tagkit::LoadFileInfo(path);
    }

    fixtures::ScratchDir dir_{"fonarel-inspection"};
};

TEST_F(Inspection, DescribesTheAudioStreamOfARealCbrFile)
{
    const std::string path = Copy("cbr.mp3");
    Inspect(path);
    const tagkit::Tag& r = TagRecord();
    EXPECT_EQ(r.AudioValid, "Sim");
    EXPECT_EQ(r.FileSize, std::to_string(fixtures::ReadFileBytes(path).size()) + " bytes");
    EXPECT_EQ(r.VersionLayer, "MPEG 1 Layer III");
    EXPECT_EQ(r.BitRate, "CBR 128 kbit/s");
    EXPECT_EQ(r.SampleRate, "44100 hz");
    EXPECT_EQ(r.ChannelMode, "Joint Stereo");
    EXPECT_TRUE(r.Duration == "2.0 seg." || r.Duration == "2.1 seg.") << r.Duration;
    EXPECT_EQ(r.FramePosition, "0 bytes");
    EXPECT_EQ(r.CrcProtection, "N\xE3o");
    // Two seconds at 44.1 kHz are 76.6 frames of 1152 samples, give or take the encoder's padding.
    EXPECT_GE(r.FrameCount, "75");
    EXPECT_LE(r.FrameCount, "79");
    EXPECT_EQ(r.FrameCount.size(), 2u);
    EXPECT_EQ(r.Copyrighted, "N\xE3o");
    EXPECT_EQ(r.OriginalMedia, "Sim");
    EXPECT_EQ(r.Emphasis, "None");
    EXPECT_FALSE(r.AudioEncoder.empty());
    // No tag of either kind: nothing says so, and no value is set.
    EXPECT_EQ(r.TagExists, "");
    EXPECT_EQ(r.TagVersion, "");
    EXPECT_EQ(r.Rating, "");
    EXPECT_EQ(r.Title, "");
}

TEST_F(Inspection, VbrFilesAreMarkedAndTheDurationFollowsTheLocaleSeparator)
{
    const std::string path = Copy("vbr.mp3", VbrLameFile());
    Inspect(path);
    EXPECT_EQ(TagRecord().BitRate.substr(0, 4), "VBR ");
    EXPECT_EQ(TagRecord().BitRate.substr(TagRecord().BitRate.size() - 7), " kbit/s");
    EXPECT_NE(TagRecord().Duration.find('.'), std::string::npos);
}

TEST_F(Inspection, CopiesEveryValueOfAVersion3Tag)
{
    const std::string path = Copy("v23.mp3");
    WriteTagLibTag(path, 3, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Garota de Ipanema");
        tag.setArtist("Tom");
        tag.setAlbum("Getz");
        tag.setYear(1964);
        tag.setGenre("Bossa Nova");
        tag.setComment("classic");
        AddTextFrame(tag, "TCOM", "Jobim");
        AddTextFrame(tag, "TENC", "lame");
        AddTextFrame(tag, "TCOP", "(c) 1964");
        AddTextFrame(tag, "TLAN", "por");
        AddTextFrame(tag, "TRIT", "Bossa");
        AddTextFrame(tag, "TGRA", "Verve");
        AddTextFrame(tag, "TVOC", "Dueto");
        AddTextFrame(tag, "TTPE", "D");
        AddTextFrame(tag, "TPIN", "1960");
        AddTextFrame(tag, "TPFI", "1969");
        AddTextFrame(tag, "TEST", "MPB");
        AddTextFrame(tag, "TMXI", "mxi");
        AddTextFrame(tag, "TPMI", "pmi");
        auto* popm = new TagLib::ID3v2::PopularimeterFrame();
        popm->setRating(200);
        tag.addFrame(popm);
    });
    Inspect(path);
    const tagkit::Tag& r = TagRecord();
    EXPECT_EQ(r.TagExists, "Sim");
    EXPECT_EQ(r.TagVersion, "2.3");
    EXPECT_EQ(r.TagSize.substr(r.TagSize.size() - 6), " bytes");
    EXPECT_EQ(r.Title, "Garota de Ipanema");
    EXPECT_EQ(r.Artist, "Tom");
    EXPECT_EQ(r.Album, "Getz");
    EXPECT_EQ(r.Year, "1964");
    EXPECT_EQ(r.Genre, "Bossa Nova");
    EXPECT_EQ(r.Comment, "classic");
    EXPECT_EQ(r.Composer, "Jobim");
    EXPECT_EQ(r.Encoder, "lame");
    EXPECT_EQ(r.Copyright, "(c) 1964");
    EXPECT_EQ(r.Language, "por");
    EXPECT_EQ(r.Rhythm, "Bossa");
    EXPECT_EQ(r.RecordLabel, "Verve");
    EXPECT_EQ(r.Vocal, "Dueto");
    EXPECT_EQ(r.PeriodType, "D");
    EXPECT_EQ(r.PeriodStart, "1960");
    EXPECT_EQ(r.PeriodEnd, "1969");
    EXPECT_EQ(r.SubGenre, "MPB");
    EXPECT_EQ(r.FrameTMXI, "mxi");
    EXPECT_EQ(r.FrameTPMI, "pmi");
    EXPECT_EQ(r.Rating, "200");
    // A tag without a track number leaves the field empty.
    EXPECT_EQ(r.Track, "");
}

TEST_F(Inspection, Version4TagsAndTheirTrackNumbers)
{
    const std::string path = Copy("v24.mp3");
    WriteTagLibTag(path, 4, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Quarta");
        tag.setTrack(12);
    });
    Inspect(path);
    EXPECT_EQ(TagRecord().TagVersion, "2.4");
    EXPECT_EQ(TagRecord().Title, "Quarta");
    EXPECT_EQ(TagRecord().Track, "12");
    EXPECT_EQ(TagRecord().Rating, "0");
}

TEST_F(Inspection, Version2TagsAreRead)
{
    const std::string path = Copy("v22.mp3");
    Prepend(path, Id3v22Tag({{"TT2", "Antiga"}, {"TRK", "3/10"}, {"TRI", "Samba"}}));
    Inspect(path);
    EXPECT_EQ(TagRecord().TagVersion, "2.2");
    EXPECT_EQ(TagRecord().Title, "Antiga");
    EXPECT_EQ(TagRecord().Track, "3");
    EXPECT_EQ(TagRecord().Rhythm, "Samba");
    EXPECT_EQ(TagRecord().FrameTRFI, "Samba");
}

TEST_F(Inspection, AnUnknownTagVersionIsReportedWithNoValuesButTheRating)
{
    const std::string path = Copy("v25.mp3");
    std::string tag = Id3v22Tag({{"TT2", "Ignorado"}});
    tag[3] = 5;
    Prepend(path, tag);
    Inspect(path);
    EXPECT_EQ(TagRecord().TagExists, "Sim");
    EXPECT_EQ(TagRecord().TagVersion, "2.5");
    EXPECT_EQ(TagRecord().Title, "");
    EXPECT_EQ(TagRecord().Rating, "0");
}

TEST_F(Inspection, Id3v1TagsWhenThereIsNoId3v2Tag)
{
    const std::string v10 = Copy("v10.mp3");
    Append(v10, Id3v1Block("Titulo", "Artista", "Album", "1999", "comentario", 0, 92));
    Inspect(v10);
    EXPECT_EQ(TagRecord().TagExists, "Sim");
    EXPECT_EQ(TagRecord().TagVersion, "1.0");
    EXPECT_EQ(TagRecord().Track, "0");
    EXPECT_EQ(TagRecord().TagSize, "");
    EXPECT_EQ(TagRecord().Title, "Titulo");
    EXPECT_EQ(TagRecord().Year, "1999");
    EXPECT_EQ(TagRecord().Comment, "comentario");
    EXPECT_EQ(TagRecord().Genre, "Progessive Rock");
    EXPECT_EQ(TagRecord().Composer, "");
    EXPECT_EQ(TagRecord().Rating, "");

    const std::string v11 = Copy("v11.mp3");
    Append(v11, Id3v1Block("Outro", "B", "C", "2001", "d", 7, 255));
    Inspect(v11);
    EXPECT_EQ(TagRecord().TagVersion, "1.1");
    EXPECT_EQ(TagRecord().Track, "7");
    EXPECT_EQ(TagRecord().Genre, "");
}

TEST_F(Inspection, InvalidAudioSetsOnlyTheVerdictWhateverTagsTheFileHas)
{
    const std::string path = dir_.File("noise.mp3");
    std::string bytes(20000, '\x55');
    fixtures::WriteFileBytes(path, Id3v22Tag({{"TT2", "Nada"}}) + bytes);
    Inspect(path);
    tagkit::Tag expected;
    expected.AudioValid = "N\xE3o";
    EXPECT_EQ(TagRecord().AudioValid, expected.AudioValid);
    EXPECT_EQ(TagRecord().Title, "");
    EXPECT_EQ(TagRecord().TagExists, "");
    EXPECT_EQ(TagRecord().FileSize, "");
}

TEST_F(Inspection, AMissingFileOrAnEmptyNameLeavesTheRecordEmpty)
{
    Inspect(dir_.File("absent.mp3"));
    EXPECT_EQ(TagRecord().AudioValid, "");
    Inspect("");
    EXPECT_EQ(TagRecord().AudioValid, "");
}

TEST_F(Inspection, ASecondFileShowsNothingOfTheFirst)
{
    const std::string first = Copy("first.mp3");
    WriteTagLibTag(first, 3, [](TagLib::ID3v2::Tag& tag) {
        tag.setTitle("Primeira");
        tag.setTrack(4);
        AddTextFrame(tag, "TGRA", "Selo");
    });
    const std::string second = Copy("second.mp3");
    Inspect(first);
    EXPECT_EQ(TagRecord().Title, "Primeira");
    tagkit::FreeTagObjects(".mp3");
    Inspect(second);
    EXPECT_EQ(TagRecord().AudioValid, "Sim");
    EXPECT_EQ(TagRecord().Title, "");
    EXPECT_EQ(TagRecord().Track, "");
    EXPECT_EQ(TagRecord().RecordLabel, "");
    EXPECT_EQ(TagRecord().TagExists, "");
}

TEST_F(Inspection, ReaderSetFollowsTheExtensionInAnyLetterCase)
{
    tagkit::CreateTagObjects(".mP3");
    EXPECT_NE(tagkit::AudioInfo(), nullptr);
    EXPECT_NE(tagkit::ID3v1Tag(), nullptr);
    EXPECT_NE(tagkit::ID3v2Tag(), nullptr);
    tagkit::FreeTagObjects(".mP3");
    EXPECT_EQ(tagkit::AudioInfo(), nullptr);
    EXPECT_EQ(tagkit::ID3v2Tag(), nullptr);

    // Without a reader set, inspection makes one from the file name's own extension.
    const std::string path = Copy("Lower.mp3");
    tagkit::LoadFileInfo(path);
    EXPECT_NE(tagkit::AudioInfo(), nullptr);
    EXPECT_EQ(TagRecord().AudioValid, "Sim");
}

} // namespace
