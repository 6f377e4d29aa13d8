#include "songs/SongTagMapping.h"
#include "songs/SongFinder.h"
#include "songs/SongWriting.h"
#include "catalogue/RowStore.h"
#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace songs {
namespace {

using catalogue::SongColumn;

// One song row as the song list keeps it; columns not given are NULL.
class Song {
public:
    explicit Song(std::map<SongColumn, std::string> values)
        : values_(std::move(values))
    {
        std::array<catalogue::FieldValue, catalogue::kSongColumnCount> fields{};
        for (const auto& [column, value] : values_)
            fields[catalogue::ColumnIndex(column)] = {false, value};
        store_.Append(fields);
    }
    catalogue::SongRecord Record() const { return store_.Row(0); }

private:
    std::map<SongColumn, std::string> values_;
    catalogue::RowStore store_;
};

TEST(MapSongToTag, CatalogueColumnsLandInTheirValuesAndTheRestStaysEmpty)
{
    const Song song({{SongColumn::PAS_PATH, "/m\xFAsica/"}, {SongColumn::MUS_ARQUIVO, "can\xE7\xE3o.Mp3"},
                     {SongColumn::MUS_NOME, "Can\xE7\xE3o"}, {SongColumn::MUS_INTERPRETE, "Ana"},
                     {SongColumn::MUS_COMPOSITOR, "Beto"}, {SongColumn::MUS_ALBUM, "Disco"},
                     {SongColumn::MUS_ANO, "0"}, {SongColumn::MUS_FAIXA, "-3"}, {SongColumn::GEN_NOME, "MPB"},
                     {SongColumn::SUB_NOME, "Samba"}, {SongColumn::RIT_NOME, "Lento"},
                     {SongColumn::IDI_NOME, "Portugu\xEAs"}, {SongColumn::GRA_NOME, "Selo"},
                     {SongColumn::VOC_NOME, "Dueto"}, {SongColumn::MUS_TIPOPERIODO, "D"},
                     {SongColumn::MUS_PERIODOINICIO, "1970"}, {SongColumn::MUS_PERIODOFIM, "1979"},
                     {SongColumn::MUS_NOMECOMPLETO, "CAN\xC7\xC3O - ANA"}, {SongColumn::MUS_CODIGO, "7"},
                     {SongColumn::MUS_TEMPO, "03:10"}, {SongColumn::MUS_SEGUNDOS, "190"}});
    const SongTag tag = MapSongToTag(song.Record());
    EXPECT_EQ(tag.fileName, "/m\xFAsica/can\xE7\xE3o.Mp3");
    EXPECT_EQ(tag.extension, ".Mp3");
    const tagkit::TagValues& v = tag.values;
    EXPECT_EQ(v.Title, "Can\xE7\xE3o");
    EXPECT_EQ(v.Artist, "Ana");
    EXPECT_EQ(v.Composer, "Beto");
    EXPECT_EQ(v.Album, "Disco");
    EXPECT_EQ(v.Year, "0");
    EXPECT_EQ(v.Track, "-3");
    EXPECT_EQ(v.Genre, "MPB");
    EXPECT_EQ(v.SubGenre, "Samba");
    EXPECT_EQ(v.Rhythm, "Lento");
    EXPECT_EQ(v.Language, "Portugu\xEAs");
    EXPECT_EQ(v.RecordLabel, "Selo");
    EXPECT_EQ(v.Vocal, "Dueto");
    EXPECT_EQ(v.PeriodType, "D");
    EXPECT_EQ(v.PeriodStart, "1970");
    EXPECT_EQ(v.PeriodEnd, "1979");
    EXPECT_EQ(v.FileExtension, ".Mp3");
    for (const std::string* kept : {&v.FrameTIDM, &v.Rating, &v.Comment, &v.FrameTINT, &v.FrameTCAR, &v.FrameTVIN,
                                    &v.FrameTMXI, &v.FrameTMXF, &v.FrameTRFI, &v.FrameTRFF, &v.FrameTPMI})
        EXPECT_EQ(*kept, "");
}

TEST(MapSongToTag, NullsAreEmptyAndBlanksAreValues)
{
    const Song song({{SongColumn::MUS_ARQUIVO, "solo.mp3"}, {SongColumn::MUS_NOME, "   "}});
    const SongTag tag = MapSongToTag(song.Record());
    EXPECT_EQ(tag.fileName, "solo.mp3"); // no folder row: the file name alone
    EXPECT_EQ(tag.values.Title, "   ");
    EXPECT_EQ(tag.values.Track, "");
    EXPECT_EQ(tag.values.Year, "");
    EXPECT_EQ(tag.values.Genre, "");
}

TEST(MapSongToTag, FolderAndFileNameAreJoinedWithNothingBetween)
{
    EXPECT_EQ(MapSongToTag(Song({{SongColumn::PAS_PATH, "/musica"}, {SongColumn::MUS_ARQUIVO, "a.mp3"}}).Record()).fileName,
              "/musicaa.mp3");
}

TEST(MapSongToTag, TheExtensionEndsAtNoPathSeparator)
{
    const std::map<std::string, std::string> cases = {
        {"a.mp3", ".mp3"}, {"a.b.MP3", ".MP3"}, {"sem_extensao", ""}, {"pasta.x/arquivo", ""},
        {"pasta.x\\arquivo", ""}, {"c.x:arquivo", ""}, {"fim.", "."}};
    for (const auto& [file, extension] : cases)
        EXPECT_EQ(MapSongToTag(Song({{SongColumn::MUS_ARQUIVO, file}}).Record()).extension, extension) << file;
}

TEST(FileSystemPath, UsesTheUtf8NameAndTheRawBytesOnlyWhenOnlyTheyNameAFile)
{
    const fixtures::ScratchDir scratch("fonarel-paths");
    const std::string folder = scratch.Path() + "/";
    EXPECT_EQ(FileSystemPath(folder + "plain.mp3"), folder + "plain.mp3");
    // Neither exists: the UTF-8 form, which is the name a new file would get.
    EXPECT_EQ(FileSystemPath(folder + "can\xE7\xE3o.mp3"), folder + "can\xC3\xA7\xC3\xA3o.mp3");
    std::ofstream(folder + "can\xE7\xE3o.mp3") << "raw";
    EXPECT_EQ(FileSystemPath(folder + "can\xE7\xE3o.mp3"), folder + "can\xE7\xE3o.mp3");
    std::ofstream(folder + "can\xC3\xA7\xC3\xA3o.mp3") << "utf-8";
    EXPECT_EQ(FileSystemPath(folder + "can\xE7\xE3o.mp3"), folder + "can\xC3\xA7\xC3\xA3o.mp3");
}

TEST(WriteCatalogueSong, AnOldTagTooLargeToKeepIsRefusedAndTheSongLeftAsItWas)
{
    const fixtures::ScratchDir dir;
    const std::string path = dir.File("large.mp3");
    ASSERT_TRUE(fixtures::MakeMp3(path, fixtures::Encoder::Lame, {"-b", "128"}));
    // A tag of 17 MiB (mostly padding) before the audio.
    const std::uint32_t body = 17u << 20;
    std::string song = std::string("ID3\x03\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        song += static_cast<char>((body >> shift) & 0x7F);
    const std::string title = std::string("TIT2\0\0\0\x04\0\0\0old", 14);
    song += title + std::string(body - title.size(), '\0');
    const std::vector<std::uint8_t> audio = fixtures::ReadFileBytes(path);
    song.append(audio.begin(), audio.end());
    ASSERT_TRUE(fixtures::WriteFileBytes(path, song));

    SongTag tag;
    tag.fileName = path;
    tag.extension = ".mp3";
    tag.values.Title = "New";
    tag.values.FileExtension = ".mp3";
    SongWriteOptions options;
    options.keep.OtherFrames = true;
    io::WrittenFileSystems written;
    const SongWriteResult result = WriteCatalogueSong(tag, options, written);
    EXPECT_EQ(result.outcome, SongOutcome::Failed);
    EXPECT_EQ(ReasonOf(result), "the old tag is too large to keep its frames");
    const std::vector<std::uint8_t> after = fixtures::ReadFileBytes(path);
    EXPECT_TRUE(after == std::vector<std::uint8_t>(song.begin(), song.end()));
}

} // namespace
} // namespace songs
