// The merge-writer on real files: what the new tag holds, read back by TagLib, and that the
// audio after the tag is never touched; a song held for writing and one read first are saved alike.
#include "SongFiles.h"
#include "tagkit/U_Funcoes.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/popularimeterframe.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <filesystem>

namespace {

using namespace songfiles;

class MergeWriter : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_NUMERIC, "C"); }
    void TearDown() override { tagkit::FreeTagObjects(".mp3"); }

    // A file with a complete version 2.3 tag written by TagLib, values padded with blanks.
    std::string CompleteTagFile(const std::string& name)
    {
        const std::string path = CopyFile(PlainLameFile(), dir_.File(name));
        WriteTagLibTag(path, 3, [](TagLib::ID3v2::Tag& tag) {
            tag.setTitle("  Aquarela ");
            tag.setArtist("Toquinho");
            tag.setAlbum("Aquarela");
            tag.setTrack(5);
            tag.setYear(1983);
            tag.setGenre("MPB");
            tag.setComment("nota");
            AddTextFrame(tag, "TCOM", "Toquinho");
            AddTextFrame(tag, "TENC", "enc");
            AddTextFrame(tag, "TCOP", "copy");
            AddTextFrame(tag, "TRIT", "Balada");
            AddTextFrame(tag, "TSUC", "Sim");
            AddTextFrame(tag, "TIDM", "idm");
            AddTextFrame(tag, "TDRC", "1983-01-01");
            AddTextFrame(tag, "TOPE", "original");
            AddTextFrame(tag, "TIT1", "grupo");
            AddTextFrame(tag, "TOAL", "album original");
            auto* popm = new TagLib::ID3v2::PopularimeterFrame();
            popm->setRating(77);
            tag.addFrame(popm);
        });
        return path;
    }

    // Saves the song as the programs do, held for writing from before its inspection, and a copy
    // of it as the toolkit's procedures save it, read first: both save the same bytes.
    static bool InspectAndSave(const std::string& path, const tagkit::TagValues& values)
    {
        const bool exists = std::filesystem::exists(path);
        const std::string copy = path + ".read-first.mp3";
        if (exists)
            std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        tagkit::CreateTagObjects(".mp3");
        tagkit::LoadFileInfo(copy);
        const bool readFirst = exists && tagkit::SaveTagInfo(copy, values);

        tagkit::SongExamination inspection = tagkit::SongExamination::Of(path, tagkit::Access::HeldForWriting(std::chrono::seconds(5)));
        const bool held = inspection.Save(inspection.Plan(values)).Done();
        EXPECT_EQ(held, readFirst) << path;
        if (exists) {
            EXPECT_EQ(fixtures::ReadFileBytes(path), fixtures::ReadFileBytes(copy)) << path;
            std::filesystem::remove(copy);
        }
        return held;
    }

    fixtures::ScratchDir dir_{"fonarel-merge"};
};

TEST_F(MergeWriter, NoValuesGivenRewritesTheFilesOwnTagWithTheCatalogueMark)
{
    const std::string path = CompleteTagFile("complete.mp3");
    const std::uint64_t audio = AudioFingerprint(path);
    ASSERT_TRUE(InspectAndSave(path, {}));

    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_EQ(tag.majorVersion, 3);
    EXPECT_EQ(tag.One("TIT2"), "Aquarela");
    EXPECT_EQ(tag.One("TPE1"), "Toquinho");
    EXPECT_EQ(tag.One("TRCK"), "5");
    EXPECT_EQ(tag.One("TDRC"), "1983");
    EXPECT_EQ(tag.One("TCON"), "MPB");
    EXPECT_EQ(tag.One("COMM"), "nota");
    EXPECT_EQ(tag.One("TCOM"), "Toquinho");
    EXPECT_EQ(tag.One("TENC"), "enc");
    EXPECT_EQ(tag.One("TCOP"), "copy");
    EXPECT_EQ(tag.One("TRIT"), "Balada");
    EXPECT_EQ(tag.One("TIDM"), "idm");
    EXPECT_EQ(tag.One("TSUC"), "Sim");
    EXPECT_EQ(tag.One("TCAD"), "S");
    EXPECT_EQ(tag.One("POPM"), "77");
    const std::vector<std::string> ids = RawFrameIds(path);
    EXPECT_NE(std::find(ids.begin(), ids.end(), "TYER"), ids.end());
    for (const char* gone : {"TDRC", "TOPE", "TIT1", "TOAL"})
        EXPECT_EQ(std::find(ids.begin(), ids.end(), gone), ids.end()) << gone;
    EXPECT_EQ(AudioFingerprint(path), audio);
    // The record is emptied after the write.
    EXPECT_EQ(tagkit::TagRecord().Title, "");
}

TEST_F(MergeWriter, CatalogueValuesWinAndTheRestComesFromTheFile)
{
    const std::string path = CompleteTagFile("catalogue.mp3");
    const std::uint64_t audio = AudioFingerprint(path);
    tagkit::TagValues values;
    values.Title = "Aquarela do Brasil";
    values.Artist = "Ary Barroso";
    values.Year = "1939";
    values.Track = "2";
    values.Genre = "Samba";
    values.SubGenre = "Exaltação";
    values.RecordLabel = "Odeon";
    values.Vocal = "Solo";
    values.PeriodType = "D";
    values.PeriodStart = "1930";
    values.PeriodEnd = "1939";
    values.FileExtension = ".mp3";
    ASSERT_TRUE(InspectAndSave(path, values));

    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_EQ(tag.One("TIT2"), "Aquarela do Brasil");
    EXPECT_EQ(tag.One("TPE1"), "Ary Barroso");
    EXPECT_EQ(tag.One("TCOM"), "Toquinho");
    EXPECT_EQ(tag.One("TDRC"), "1939");
    EXPECT_EQ(tag.One("TRCK"), "2");
    EXPECT_EQ(tag.One("TCON"), "Samba");
    EXPECT_EQ(tag.One("TEST"), "Exalta\xC3\xA7\xC3\xA3o");   // Latin-1 bytes, read back as UTF-8
    EXPECT_EQ(tag.One("TGRA"), "Odeon");
    EXPECT_EQ(tag.One("TEXT"), ".mp3");
    EXPECT_EQ(tag.One("POPM"), "77");
    EXPECT_EQ(AudioFingerprint(path), audio);
}

TEST_F(MergeWriter, AnId3v1OnlyFileGetsItsValuesIntoTheNewTag)
{
    const std::string path = CopyFile(PlainLameFile(), dir_.File("v1.mp3"));
    Append(path, Id3v1Block("Velha", "Banda", "Disco", "1977", "obs", 9, 17));
    const std::uint64_t audio = AudioFingerprint(path);
    ASSERT_TRUE(InspectAndSave(path, {}));

    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_EQ(tag.One("TIT2"), "Velha");
    EXPECT_EQ(tag.One("TPE1"), "Banda");
    EXPECT_EQ(tag.One("TALB"), "Disco");
    EXPECT_EQ(tag.One("TDRC"), "1977");
    EXPECT_EQ(tag.One("TRCK"), "9");
    EXPECT_EQ(tag.One("TCON"), "Rock");
    EXPECT_EQ(tag.One("COMM"), "obs");
    EXPECT_EQ(tag.One("POPM"), "0");
    EXPECT_FALSE(tag.Has("TCOM"));
    EXPECT_FALSE(tag.Has("TENC"));
    // The ID3v1 tag at the end is audio as far as the writer goes: kept byte for byte.
    EXPECT_EQ(AudioFingerprint(path), audio);
}

TEST_F(MergeWriter, TrackNumbers)
{
    const std::string zero = CompleteTagFile("track0.mp3");
    tagkit::TagValues values;
    values.Track = "0";
    ASSERT_TRUE(InspectAndSave(zero, values));
    EXPECT_FALSE(ReadWithTagLib(zero).Has("TRCK"));

    // Numbers a tag cannot hold count as not given: the file keeps its own track, rather than
    // getting a wrapped-around one (-1 would be 65535, 70000 would be 4464).
    for (const char* outOfRange : {"-1", "70000"}) {
        const std::string path = CompleteTagFile(std::string("track") + outOfRange + ".mp3");
        values.Track = outOfRange;
        ASSERT_TRUE(InspectAndSave(path, values));
        EXPECT_EQ(ReadWithTagLib(path).One("TRCK"), "5") << outOfRange;
    }
}

TEST_F(MergeWriter, ATrackThatIsNoNumberIsAnErrorAndWritesNothing)
{
    const std::string path = CompleteTagFile("badtrack.mp3");
    const auto before = fixtures::ReadFileBytes(path);
    tagkit::TagValues values;
    values.Track = "7a";
    tagkit::CreateTagObjects(".mp3");
    tagkit::LoadFileInfo(path);
    EXPECT_THROW(tagkit::SaveTagInfo(path, values), tagkit::ConversionError);
    EXPECT_EQ(fixtures::ReadFileBytes(path), before);
    EXPECT_EQ(tagkit::TagRecord().AudioValid, "Sim");   // not emptied on the error
}

TEST_F(MergeWriter, Ratings)
{
    tagkit::TagValues values;
    values.Rating = "300";   // no byte: 0 rather than the wrapped 44
    const std::string high = CompleteTagFile("rating300.mp3");
    ASSERT_TRUE(InspectAndSave(high, values));
    EXPECT_EQ(ReadWithTagLib(high).One("POPM"), "0");

    values.Rating = "x";
    const std::string text = CompleteTagFile("ratingx.mp3");
    ASSERT_TRUE(InspectAndSave(text, values));
    EXPECT_EQ(ReadWithTagLib(text).One("POPM"), "0");

    values.Rating = " 255";
    const std::string top = CompleteTagFile("rating255.mp3");
    ASSERT_TRUE(InspectAndSave(top, values));
    EXPECT_EQ(ReadWithTagLib(top).One("POPM"), "255");
}

TEST_F(MergeWriter, ABlankOnlyValueRemovesTheFrame)
{
    const std::string path = CompleteTagFile("blank.mp3");
    tagkit::TagValues values;
    values.Title = "   ";
    ASSERT_TRUE(InspectAndSave(path, values));
    const ReadBack tag = ReadWithTagLib(path);
    EXPECT_FALSE(tag.Has("TIT2"));
    EXPECT_EQ(tag.One("TPE1"), "Toquinho");
}

TEST_F(MergeWriter, AMissingFileGivesFalseAndCreatesNothing)
{
    const std::string path = dir_.File("absent.mp3");
    tagkit::TagValues values;
    values.Title = "x";
    EXPECT_FALSE(InspectAndSave(path, values));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + "~"));
}

TEST_F(MergeWriter, NeverReplacesATagItCouldNotRead)
{
    // Audio the analyser does not accept: its tag is not read, so it is not replaced.
    const std::string noise = dir_.File("noise.mp3");
    fixtures::WriteFileBytes(noise, Id3v22Tag({{"TT2", "Guardado"}}) + std::string(20000, '\x55'));
    const auto noiseBefore = fixtures::ReadFileBytes(noise);
    tagkit::TagValues values;
    values.Title = "Novo";
    EXPECT_FALSE(InspectAndSave(noise, values));
    EXPECT_EQ(fixtures::ReadFileBytes(noise), noiseBefore);

    // A save without an inspection of the file before it has read nothing either.
    const std::string path = CompleteTagFile("uninspected.mp3");
    const auto before = fixtures::ReadFileBytes(path);
    tagkit::CreateTagObjects(".mp3");
    EXPECT_FALSE(tagkit::SaveTagInfo(path, values));
    EXPECT_EQ(fixtures::ReadFileBytes(path), before);
}

TEST_F(MergeWriter, AFileWithoutATagIsRebuiltWithTheAudioIntact)
{
    const std::string path = CopyFile(PlainLameFile(), dir_.File("untagged.mp3"));
    const std::uint64_t audio = AudioFingerprint(path);
    const auto sizeBefore = std::filesystem::file_size(path);
    tagkit::TagValues values;
    values.Title = "Primeiro";
    values.FileExtension = ".MP3";
    ASSERT_TRUE(InspectAndSave(path, values));
    EXPECT_EQ(std::filesystem::file_size(path), sizeBefore + 4096);
    EXPECT_EQ(AudioFingerprint(path), audio);
    EXPECT_EQ(ReadWithTagLib(path).One("TIT2"), "Primeiro");
    EXPECT_EQ(ReadWithTagLib(path).One("TCAD"), "S");

    // A second save fits the padded tag: in place, same length.
    values.Title = "Segundo";
    ASSERT_TRUE(InspectAndSave(path, values));
    EXPECT_EQ(std::filesystem::file_size(path), sizeBefore + 4096);
    EXPECT_EQ(ReadWithTagLib(path).One("TIT2"), "Segundo");
    EXPECT_EQ(AudioFingerprint(path), audio);
}

TEST_F(MergeWriter, ASongThroughALinkIsRebuiltWhereTheLinkLeadsAndTheLinkStays)
{
    const std::string real = CopyFile(PlainLameFile(), dir_.File("real.mp3"));
    const std::string link = dir_.File("link.mp3");
    std::filesystem::create_symlink(real, link);
    tagkit::TagValues values;
    values.Title = "Pelo atalho";
    ASSERT_TRUE(InspectAndSave(link, values)); // untagged: rebuilt
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadWithTagLib(real).One("TIT2"), "Pelo atalho");
    EXPECT_FALSE(std::filesystem::exists(real + "~"));
    EXPECT_FALSE(std::filesystem::exists(link + "~"));
}

// The plan of a write that would put back the very tag the file has is "unchanged", also for a
// tag whose frames need more than 4096 bytes (which a write rebuilds into the same bytes).
TEST_F(MergeWriter, APlanOfTheTagTheFileHasIsUnchangedWhateverItsSize)
{
    for (const std::size_t length : {std::size_t{20}, std::size_t{240}}) {
        const std::string path = CopyFile(PlainLameFile(), dir_.File("again.mp3"));
        tagkit::TagValues values;
        values.Title = values.Artist = values.Album = values.Composer = values.Genre = values.SubGenre =
            values.Rhythm = values.Language = values.RecordLabel = values.Vocal = values.PeriodType =
                values.PeriodStart = values.PeriodEnd = "\x93" + std::string(length, 'v') + "\x94";
        values.FileExtension = ".mp3";
        ASSERT_TRUE(InspectAndSave(path, values));
        const tagkit::PlannedTag plan = tagkit::SongExamination::Of(path, tagkit::Access::ReadOnly()).Plan(values);
        EXPECT_EQ(plan.Rebuild, length == 240);
        EXPECT_TRUE(plan.Unchanged) << length;
    }
}

} // namespace
