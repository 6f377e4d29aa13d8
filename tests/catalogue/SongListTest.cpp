// The song query and the song list against real catalogues, embedded and over the server.
#include "CatalogueTesting.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/SongQuery.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/catalogue/GeneratedCatalogue.h"

#include <gmock/gmock.h>

namespace catalogue::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SongListTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Connect(session_, Build(SmallCatalogue()));
    }

    std::vector<std::string> Codes(std::string_view search, std::string_view sort = kDefaultSortColumn)
    {
        session_.RunSongQuery(search, sort);
        return ColumnValues(session_.Q_Musicas(), SongColumn::MUS_CODIGO);
    }

    CatalogueSession session_;
};

TEST_P(SongListTest, EmptySearchListsNamedSongsOncePerDistinctLookupInCodeOrder)
{
    // Song 4 has no full name; song 5's two genre rows are equal, song 6's differ.
    EXPECT_THAT(Codes(""), ElementsAre("1", "2", "3", "5", "6", "6", "7", "8", "9"));
    session_.RunSongQuery("AXB", kDefaultSortColumn);
    EXPECT_THAT(ColumnValues(session_.Q_Musicas(), SongColumn::GEN_NOME), ::testing::UnorderedElementsAre("Blues", "Soul"));
}

TEST_P(SongListTest, FilterMatchesUpperCasedFullNamesWithWildcardsAndQuotes)
{
    EXPECT_THAT(Codes("ANGIE"), ElementsAre("1", "9"));
    EXPECT_THAT(Codes("O'HARA"), ElementsAre("2"));
    EXPECT_THAT(Codes("'"), ElementsAre("2"));
    EXPECT_THAT(Codes("A_B"), ElementsAre("5", "6", "6"));
    EXPECT_THAT(Codes("D%Y"), ElementsAre("2"));
    EXPECT_THAT(Codes("100%"), ElementsAre("3"));
    EXPECT_THAT(Codes("NO SUCH SONG"), ElementsAre());
}

TEST_P(SongListTest, SortsByTheGivenColumnAscending)
{
    session_.RunSongQuery("", "MUS_NOMECOMPLETO");
    EXPECT_THAT(ColumnValues(session_.Q_Musicas(), SongColumn::MUS_NOMECOMPLETO),
                ElementsAre("", "100% PURO", "AXB TEST", "AXB TEST", "A_B TEST", "O'HARA - DANNY BOY",
                            "ROLLING STONES - ANGIE", "ZEBRA", "angie acoustic"));
}

TEST_P(SongListTest, ReadsEveryColumnAsText)
{
    session_.RunSongQuery("ROLLING", kDefaultSortColumn);
    const SongList& songs = session_.Q_Musicas();
    const std::vector<std::pair<SongColumn, std::string>> expected = {
        {SongColumn::MUS_CODIGO, "1"}, {SongColumn::MUS_NOME, "Angie"}, {SongColumn::MUS_INTERPRETE, "Rolling Stones"},
        {SongColumn::MUS_TEMPO, "04:31"}, {SongColumn::MUS_TIPO, "N"}, {SongColumn::MUS_ALBUM, "Goats Head Soup"},
        {SongColumn::MUS_ANO, "1973"}, {SongColumn::MUS_FAIXA, "4"}, {SongColumn::MUS_SUCESSO, "S"},
        {SongColumn::MUS_NOMECOMPLETO, "ROLLING STONES - ANGIE"}, {SongColumn::GEN_CODIGO, "1"},
        {SongColumn::SUB_CODIGO, "1"}, {SongColumn::RIT_CODIGO, "1"}, {SongColumn::VOC_CODIGO, "1"},
        {SongColumn::GRA_CODIGO, "1"}, {SongColumn::IDI_CODIGO, "1"}, {SongColumn::PAS_CODIGO, "1"},
        {SongColumn::MUS_ARQUIVO, "angie.mp3"}, {SongColumn::MUS_COMPOSITOR, "Jagger/Richards"},
        {SongColumn::MUS_TIPOPERIODO, "A"}, {SongColumn::MUS_PERIODOINICIO, "1970"},
        {SongColumn::MUS_PERIODOFIM, "1979"}, {SongColumn::MUS_SEGUNDOS, "271"},
        {SongColumn::PAS_PATH, "/musica/rock/"}, {SongColumn::GEN_NOME, "Rock"}, {SongColumn::SUB_NOME, "Balada"},
        {SongColumn::RIT_NOME, "Lento"}, {SongColumn::IDI_NOME, "Ingl\xEAs"},
        {SongColumn::GRA_NOME, "Rolling Records"}, {SongColumn::VOC_NOME, "Masculino"},
    };
    ASSERT_EQ(expected.size(), kSongColumnCount);
    for (const auto& [column, value] : expected)
        EXPECT_EQ(songs.Text(column), value) << ColumnInfo(column).name;
}

TEST_P(SongListTest, NullsReadEmptyAndNegativeIntegersCarryAMinus)
{
    session_.RunSongQuery("100", kDefaultSortColumn); // genre 99 has no row, and there is no folder
    SongList& songs = session_.Q_Musicas();
    EXPECT_EQ(songs.Text(SongColumn::GEN_CODIGO), "99");
    EXPECT_EQ(songs.Text(SongColumn::GEN_NOME), "");
    EXPECT_TRUE(songs.Current().IsNull(SongColumn::GEN_NOME));
    EXPECT_EQ(songs.Text(SongColumn::PAS_PATH), "");
    EXPECT_EQ(songs.Text(SongColumn::MUS_ANO), "");

    session_.RunSongQuery("ZEBRA", kDefaultSortColumn);
    EXPECT_EQ(songs.Text(SongColumn::MUS_ANO), "-12");
    EXPECT_EQ(songs.Text(SongColumn::MUS_TIPO), "X");
    EXPECT_TRUE(songs.Current().IsNull(SongColumn::MUS_FAIXA));

    session_.RunSongQuery("", kDefaultSortColumn);
    ASSERT_TRUE(songs.FetchUntil(8));
    EXPECT_EQ(songs.Row(7).Text(SongColumn::MUS_CODIGO), "8");
    EXPECT_FALSE(songs.Row(7).IsNull(SongColumn::MUS_NOMECOMPLETO)); // empty, not NULL
}

TEST_P(SongListTest, EmptyAndClosedListsHaveNoCurrentRow)
{
    SongList& songs = session_.Q_Musicas();
    session_.RunSongQuery("NO SUCH SONG", kDefaultSortColumn);
    EXPECT_TRUE(songs.IsOpen());
    EXPECT_EQ(songs.RowCount(), 0u);
    EXPECT_TRUE(songs.Eof());
    EXPECT_FALSE(songs.HasCurrentRow());
    EXPECT_EQ(songs.Text(SongColumn::MUS_NOMECOMPLETO), "");
    songs.Next();
    EXPECT_TRUE(songs.Eof());
    EXPECT_THROW(songs.GoTo(0), CatalogueError);

    songs.Close();
    EXPECT_EQ(songs.RowCount(), 0u);
    songs.FetchAll(); // does nothing
    EXPECT_FALSE(songs.FetchUntil(1));
    EXPECT_THROW(songs.First(), CatalogueError);
    EXPECT_THROW(songs.Next(), CatalogueError);
    EXPECT_THROW(songs.Text(SongColumn::MUS_NOME), CatalogueError);
}

TEST_P(SongListTest, FailedRunLeavesTheListClosedAndTheConnectionUsable)
{
    EXPECT_THROW(session_.RunSongQuery("", "MUS_NO_SUCH_COLUMN"), CatalogueError);
    EXPECT_FALSE(session_.Q_Musicas().IsOpen());
    EXPECT_THROW(session_.RunSongQuery("", "Mus_Codigo; DELETE FROM Tb_Musicas"), CatalogueError);
    EXPECT_THAT(Codes("ZEBRA"), ElementsAre("7"));
}

INSTANTIATE_TEST_SUITE_P(Backends, SongListTest, ::testing::Values(Backend::Embedded, Backend::Server), BackendName);

// A 10,000-song result is fetched only as far as asked.
class SongListFetchTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const std::string name = DatabaseName("large.fdb");
        builder::CatalogueBuilder catalogueBuilder(name, builder::CatalogueSchema::Standard());
        builder::AddGeneratedSongs(catalogueBuilder, kSongs);
        catalogueBuilder.Finish();
        Connect(session_, name);
        session_.RunSongQuery("", kDefaultSortColumn);
    }

    static constexpr std::size_t kSongs = 10000;
    CatalogueSession session_;
};

TEST_P(SongListFetchTest, FetchesOnlyWhatIsAskedAndKeepsIt)
{
    SongList& songs = session_.Q_Musicas();
    EXPECT_EQ(songs.RowCount(), 1u);
    EXPECT_FALSE(songs.AllFetched());
    EXPECT_EQ(songs.Text(SongColumn::MUS_NOMECOMPLETO), builder::GeneratedFullName(1));
    EXPECT_FALSE(songs.Row(29).Valid());

    EXPECT_TRUE(songs.FetchUntil(30));
    EXPECT_EQ(songs.RowCount(), 30u);
    EXPECT_EQ(songs.Row(29).Text(SongColumn::MUS_NOMECOMPLETO), builder::GeneratedFullName(30));
    EXPECT_EQ(songs.CurrentRowId(), 0u);

    songs.GoTo(99);
    EXPECT_EQ(songs.RowCount(), 100u);
    songs.Next();
    EXPECT_EQ(songs.RowCount(), 101u);
    EXPECT_EQ(songs.Text(SongColumn::MUS_CODIGO), "101");
    songs.GoTo(5); // back to a kept row: nothing more is fetched
    EXPECT_EQ(songs.RowCount(), 101u);
    EXPECT_EQ(songs.Text(SongColumn::MUS_CODIGO), "6");
}

TEST_P(SongListFetchTest, FetchAllKeepsTheCursorAndIdentitiesStayStable)
{
    SongList& songs = session_.Q_Musicas();
    songs.GoTo(41);
    songs.FetchAll();
    EXPECT_TRUE(songs.AllFetched());
    EXPECT_EQ(songs.RowCount(), kSongs);
    EXPECT_EQ(songs.CurrentRowId(), 41u);
    EXPECT_EQ(songs.Text(SongColumn::MUS_CODIGO), "42");

    songs.GoTo(kSongs - 1);
    EXPECT_EQ(songs.Text(SongColumn::MUS_CODIGO), std::to_string(kSongs));
    EXPECT_FALSE(songs.Eof());
    songs.Next();
    EXPECT_TRUE(songs.Eof());
    EXPECT_EQ(songs.CurrentRowId(), kSongs - 1);
    EXPECT_THROW(songs.GoTo(kSongs), CatalogueError);
    EXPECT_EQ(songs.CurrentRowId(), kSongs - 1);

    songs.First();
    EXPECT_FALSE(songs.Eof());
    EXPECT_EQ(songs.Text(SongColumn::MUS_CODIGO), "1");
    EXPECT_EQ(ColumnValues(songs, SongColumn::MUS_CODIGO).size(), kSongs);
}

INSTANTIATE_TEST_SUITE_P(Backends, SongListFetchTest, ::testing::Values(Backend::Embedded, Backend::Server),
                         BackendName);

} // namespace
} // namespace catalogue::testing
