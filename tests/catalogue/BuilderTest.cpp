// The catalogue builder: its description text and the fingerprint the safety tests rely on.
#include "CatalogueTesting.h"

#include "catalogue/CatalogueError.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/catalogue/CatalogueFingerprint.h"

#include <gmock/gmock.h>

namespace catalogue::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Pair;

TEST(CatalogueDescriptionText, RowsWithEscapesCommentsAndLineEnds)
{
    builder::CatalogueDescription description;
    std::string error;
    ASSERT_TRUE(builder::ParseCatalogueDescription("# songs\r\n\nTb_Pastas\tPAS_CODIGO=1\tPAS_PATH=/m/\r\n"
                                                   "Tb_Musicas\tMUS_NOME=a\\tb\\\\c\\x41\\xe9\tMUS_TIPO=\tX=y=z",
                                                   description, error))
        << error;
    ASSERT_EQ(description.rows.size(), 2u);
    EXPECT_EQ(description.rows[0].table, "Tb_Pastas");
    EXPECT_THAT(description.rows[0].values, ::testing::ElementsAre(Pair("PAS_CODIGO", "1"), Pair("PAS_PATH", "/m/")));
    EXPECT_THAT(description.rows[1].values,
                ::testing::ElementsAre(Pair("MUS_NOME", "a\tb\\cA\xE9"), Pair("MUS_TIPO", ""), Pair("X", "y=z")));
}

TEST(CatalogueDescriptionText, MalformedLinesAreNamed)
{
    for (const std::string_view text : {"T\tno-equals", "\tA=1", "T\t=1", "T\tA=\\q", "T\tA=\\x4", "T\tA=\\"}) {
        builder::CatalogueDescription description;
        std::string error;
        EXPECT_FALSE(builder::ParseCatalogueDescription("# ok\n" + std::string(text), description, error)) << text;
        EXPECT_THAT(error, HasSubstr("line 2")) << text;
    }
}

class FingerprintTest : public CatalogueTest {};

TEST_P(FingerprintTest, ChangesWithAnyRowOrTable)
{
    const std::string original = builder::CatalogueFingerprint(Build(SmallCatalogue(), "a.fdb"));
    EXPECT_EQ(builder::CatalogueFingerprint(Build(SmallCatalogue(), "same.fdb")), original);

    builder::CatalogueDescription changed = SmallCatalogue();
    changed.rows.back().values.back().second = "ANGIE ACOUSTIC";
    EXPECT_NE(builder::CatalogueFingerprint(Build(changed, "b.fdb")), original);

    builder::CatalogueDescription fewer = SmallCatalogue();
    fewer.rows.pop_back();
    EXPECT_NE(builder::CatalogueFingerprint(Build(fewer, "c.fdb")), original);

    builder::CatalogueDescription dropped = SmallCatalogue();
    dropped.schema.FindTable("Tb_Musicas")->DropColumn("MUS_SEGUNDOS");
    for (builder::TableRow& row : dropped.rows)
        std::erase_if(row.values, [](const auto& value) { return value.first == "MUS_SEGUNDOS"; });
    EXPECT_NE(builder::CatalogueFingerprint(Build(dropped, "d.fdb")), original);
}

TEST_P(FingerprintTest, BuilderFailuresCarryTheClientsText)
{
    Build(SmallCatalogue(), "exists.fdb");
    EXPECT_THROW(Build(SmallCatalogue(), "exists.fdb"), CatalogueError);
    builder::CatalogueDescription wrong = SmallCatalogue();
    wrong.Add("Tb_Nada", {{"X", "1"}});
    try {
        Build(wrong, "wrong.fdb");
        FAIL() << "inserted into a missing table";
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr("TB_NADA"));
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, FingerprintTest, ::testing::Values(Backend::Embedded, Backend::Server), BackendName);

} // namespace
} // namespace catalogue::testing
