// Catalogues whose tables differ from what the song record needs.
#include "CatalogueTesting.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/Messages.h"
#include "catalogue/SongQuery.h"

#include <gmock/gmock.h>

#include <algorithm>

namespace catalogue::testing {
namespace {

using ::testing::HasSubstr;

class SongRecordSchemaTest : public CatalogueTest {
protected:
    // The error text of the first song query on a catalogue of that schema, or "" when it opened.
    // The rows keep only the values of columns that the schema has with their standard type.
    std::string FirstQueryError(const builder::CatalogueSchema& schema)
    {
        builder::CatalogueSchema standard = builder::CatalogueSchema::Standard();
        builder::CatalogueDescription description = SmallCatalogue();
        description.schema = schema;
        std::erase_if(description.rows,
                      [&](const builder::TableRow& row) { return description.schema.FindTable(row.table) == nullptr; });
        for (builder::TableRow& row : description.rows) {
            builder::TableDefinition& table = *description.schema.FindTable(row.table);
            builder::TableDefinition& original = *standard.FindTable(row.table);
            std::erase_if(row.values, [&](const auto& value) {
                const builder::ColumnDefinition* column = table.FindColumn(value.first);
                return column == nullptr || column->type != original.FindColumn(value.first)->type;
            });
        }
        CatalogueSession session;
        Connect(session, Build(description, "catalogue" + std::to_string(++builds_) + ".fdb"));
        try {
            session.RunSongQuery("", kDefaultSortColumn);
        } catch (const CatalogueError& error) {
            EXPECT_FALSE(session.Q_Musicas().IsOpen());
            return error.what();
        }
        return "";
    }

    static builder::CatalogueSchema WithType(std::string_view table, std::string_view column, std::string type)
    {
        builder::CatalogueSchema schema = builder::CatalogueSchema::Standard();
        schema.FindTable(table)->FindColumn(column)->type = std::move(type);
        return schema;
    }

    int builds_ = 0;
};

TEST_P(SongRecordSchemaTest, MissingTableFailsWithTheClientsText)
{
    builder::CatalogueSchema schema = builder::CatalogueSchema::Standard();
    schema.DropTable("Tb_Vocal");
    const std::string error = FirstQueryError(schema);
    EXPECT_THAT(error, HasSubstr("Table unknown"));
    EXPECT_THAT(error, HasSubstr("TB_VOCAL"));
}

TEST_P(SongRecordSchemaTest, MissingColumnFailsNamingIt)
{
    builder::CatalogueSchema schema = builder::CatalogueSchema::Standard();
    schema.FindTable("Tb_Musicas")->DropColumn("MUS_SEGUNDOS"); // not in the statement, only in Mus.*
    EXPECT_EQ(FirstQueryError(schema),
              SystemText("Coluna MUS_SEGUNDOS não encontrada no resultado da consulta de músicas"));

    schema = builder::CatalogueSchema::Standard();
    schema.FindTable("Tb_Genero")->DropColumn("GEN_NOME"); // named by the statement: the server says so
    EXPECT_THAT(FirstQueryError(schema), HasSubstr("GEN_NOME"));
}

TEST_P(SongRecordSchemaTest, ColumnOfTheWrongKindFailsNamingIt)
{
    EXPECT_THAT(FirstQueryError(WithType("Tb_Musicas", "MUS_ANO", "VARCHAR(4)")), HasSubstr("Coluna MUS_ANO "));
    EXPECT_THAT(FirstQueryError(WithType("Tb_Musicas", "MUS_ALBUM", "INTEGER")), HasSubstr("Coluna MUS_ALBUM "));
    EXPECT_THAT(FirstQueryError(WithType("Tb_Musicas", "MUS_FAIXA", "DOUBLE PRECISION")),
                HasSubstr("Coluna MUS_FAIXA "));
    EXPECT_THAT(FirstQueryError(WithType("Tb_Musicas", "MUS_SEGUNDOS", "NUMERIC(9,2)")),
                HasSubstr("Coluna MUS_SEGUNDOS "));
    EXPECT_THAT(FirstQueryError(WithType("Tb_Vocal", "VOC_NOME", "BLOB SUB_TYPE TEXT")),
                HasSubstr("Coluna VOC_NOME "));
}

TEST_P(SongRecordSchemaTest, ColumnsAreFoundInAnyOrderBesideExtraOnes)
{
    builder::CatalogueSchema schema = builder::CatalogueSchema::Standard();
    builder::TableDefinition& songs = *schema.FindTable("Tb_Musicas");
    std::reverse(songs.columns.begin(), songs.columns.end());
    songs.columns.insert(songs.columns.begin() + 3, {"MUS_OBSERVACAO", "BLOB SUB_TYPE TEXT"});
    songs.columns.push_back({"MUS_NOTA", "DOUBLE PRECISION"});
    songs.FindColumn("MUS_FAIXA")->type = "SMALLINT";
    songs.FindColumn("MUS_NOME")->type = "CHAR(45)";

    builder::CatalogueDescription description = SmallCatalogue();
    description.schema = schema;
    CatalogueSession session;
    Connect(session, Build(description, "reordered.fdb"));
    session.RunSongQuery("ROLLING", kDefaultSortColumn);
    const SongList& list = session.Q_Musicas();
    EXPECT_EQ(list.Text(SongColumn::MUS_FAIXA), "4");
    EXPECT_EQ(list.Text(SongColumn::MUS_ANO), "1973");
    EXPECT_EQ(list.Text(SongColumn::MUS_NOME), "Angie" + std::string(40, ' ')); // CHAR keeps its padding
    EXPECT_EQ(list.Text(SongColumn::VOC_NOME), "Masculino");
}

INSTANTIATE_TEST_SUITE_P(Backends, SongRecordSchemaTest, ::testing::Values(Backend::Embedded, Backend::Server),
                         BackendName);

} // namespace
} // namespace catalogue::testing
