// The song query's text and the connection's fixed parameter blocks.
#include "catalogue/CatalogueError.h"
#include "catalogue/ConnectionSettings.h"
#include "catalogue/SongQuery.h"

#include <gmock/gmock.h>

namespace catalogue {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::vector<std::string> Lines(const std::string& statement)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = statement.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(statement.substr(start, end - start));
    lines.push_back(statement.substr(start));
    return lines;
}

TEST(SongQueryText, ElevenLinesWithTheFilterAndTheSortColumn)
{
    EXPECT_THAT(Lines(SongQueryText("", "Mus_Codigo")),
                ElementsAre("SELECT DISTINCT Mus.*, Pas.Pas_Path, Gen.Gen_Nome, Sub.Sub_Nome, Rit.Rit_Nome, "
                            "Idi.Idi_Nome, Gra.Gra_Nome, Voc.Voc_Nome",
                            "FROM Tb_Musicas Mus", "LEFT JOIN Tb_Pastas Pas ON Mus.Pas_Codigo = Pas.Pas_Codigo",
                            "LEFT JOIN Tb_Genero Gen ON Gen.Gen_Codigo = Mus.Gen_Codigo",
                            "LEFT JOIN Tb_SubGenero Sub ON Sub.Sub_Codigo = Mus.Sub_Codigo",
                            "LEFT JOIN Tb_Ritmo Rit ON Rit.Rit_Codigo = Mus.Rit_Codigo",
                            "LEFT JOIN Tb_Idioma Idi ON Idi.Idi_Codigo = Mus.Idi_Codigo",
                            "LEFT JOIN Tb_Gravadora Gra ON Gra.Gra_Codigo = Mus.Gra_Codigo",
                            "LEFT JOIN Tb_Vocal Voc ON Voc.Voc_Codigo = Mus.Voc_Codigo",
                            "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%%'", "ORDER BY Mus_Codigo"));
    EXPECT_EQ(Lines(SongQueryText("X", "MUS_NOMECOMPLETO"))[10], "ORDER BY MUS_NOMECOMPLETO");
}

TEST(SongQueryText, QuotesAreDoubledAndWildcardsLeftAlone)
{
    auto filter = [](std::string_view search) { return Lines(SongQueryText(search, "Mus_Codigo"))[9]; };
    EXPECT_EQ(filter("D'ANGELO"), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%D''ANGELO%'");
    EXPECT_EQ(filter("''"), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%''''%'");
    EXPECT_EQ(filter("50% A_B"), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%50% A_B%'");
    EXPECT_EQ(filter("\"\\"), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%\"\\%'");
}

TEST(SongQueryText, SortColumnMustBeAPlainColumnName)
{
    for (const std::string_view good : {"Mus_Codigo", "MUS_NOMECOMPLETO", "Mus.Mus_Codigo", "A$1"})
        EXPECT_TRUE(IsSortColumnName(good)) << good;
    for (const std::string_view bad : {"", "1", "Mus_Codigo DESC", "Mus_Codigo; DROP TABLE Tb_Musicas", "a.b.c",
                                       "\"Mus\"", "Mus.", ".Mus", "x--"})
        EXPECT_FALSE(IsSortColumnName(bad)) << bad;
    EXPECT_THROW(SongQueryText("", "Mus_Codigo, 1"), CatalogueError);
}

TEST(ConnectionSettings, ParameterBlocksHoldExactlyTheFixedItems)
{
    const std::uint8_t dpb[] = {1, 28, 6, 'S', 'Y', 'S', 'D', 'B', 'A', 29, 9, 'q', 'u', 'i', 'l', 'l', 'm', 'o', 's', 's'};
    EXPECT_THAT(DatabaseParameterBlock(Credentials{}), ElementsAreArray(dpb));
    EXPECT_THAT(TransactionParameterBlock(), ElementsAre(3, 15, 17, 7));
    EXPECT_EQ(kSqlDialect, 1u);
}

} // namespace
} // namespace catalogue
