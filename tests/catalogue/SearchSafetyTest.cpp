// The search text is data: hostile texts run as a filter (or fail with a clear error) and leave
// every table of the catalogue unchanged.
#include "CatalogueTesting.h"

#include "catalogue/CatalogueError.h"
#include "catalogue/SongQuery.h"
#include "tools/catalogue/CatalogueFingerprint.h"

#include <gmock/gmock.h>

namespace catalogue::testing {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SearchSafetyTest : public CatalogueTest {
protected:
    void SetUp() override
    {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        name_ = Build(SmallCatalogue());
        before_ = builder::CatalogueFingerprint(name_);
        Connect(session_, name_);
    }

    void TearDown() override
    {
        if (name_.empty())
            return;
        session_.Shutdown();
        EXPECT_EQ(builder::CatalogueFingerprint(name_), before_);
    }

    std::vector<std::string> Codes(std::string_view search)
    {
        session_.RunSongQuery(search, kDefaultSortColumn);
        return ColumnValues(session_.Q_Musicas(), SongColumn::MUS_CODIGO);
    }

    std::string name_;
    std::string before_;
    CatalogueSession session_;
};

TEST_P(SearchSafetyTest, SqlInTheSearchTextIsMatchedAsText)
{
    EXPECT_THAT(Codes("'; DROP TABLE Tb_Musicas; --"), ElementsAre());
    EXPECT_THAT(Codes("%' OR '1'='1"), ElementsAre());
    EXPECT_THAT(Codes("' OR 1=1 --"), ElementsAre());
    EXPECT_THAT(Codes("'); DELETE FROM Tb_Genero; COMMIT; --"), ElementsAre());
    EXPECT_THAT(Codes("'"), ElementsAre("2"));
    EXPECT_THAT(Codes("''"), ElementsAre());
    EXPECT_THAT(Codes("O''HARA"), ElementsAre());
}

TEST_P(SearchSafetyTest, ControlAndHighBytesRunAsAFilter)
{
    EXPECT_THAT(Codes("\x01\x02\t\r\n\x1F\x7F"), ElementsAre());
    EXPECT_THAT(Codes("A\0B"s), ElementsAre());
    EXPECT_THAT(Codes("CAF?"), ElementsAre()); // what the window makes of characters outside the code page
    EXPECT_THAT(Codes("\x80\x81\x8D\x9D\xC9\xFF"), ElementsAre());
    EXPECT_THAT(Codes("\\"), ElementsAre());
}

TEST_P(SearchSafetyTest, TenThousandCharactersRunAsAFilter)
{
    EXPECT_THAT(Codes(std::string(10000, 'A')), ElementsAre());
    EXPECT_THAT(Codes(std::string(10000, '\'')), ElementsAre());
    EXPECT_THAT(Codes(std::string(10000, '%')), ElementsAre("1", "2", "3", "5", "6", "6", "7", "8", "9"));
}

TEST_P(SearchSafetyTest, ASearchBeyondTheServersLiteralLimitIsAClearErrorAndNothingElse)
{
    try {
        Codes(std::string(70000, 'A'));
        FAIL() << "a literal of 70,000 characters was accepted";
    } catch (const CatalogueError& error) {
        EXPECT_THAT(error.what(), HasSubstr("exceeds the maximum length"));
    }
    EXPECT_FALSE(session_.Q_Musicas().IsOpen());
    EXPECT_THAT(Codes("ZEBRA"), ElementsAre("7"));
}

INSTANTIATE_TEST_SUITE_P(Backends, SearchSafetyTest, ::testing::Values(Backend::Embedded, Backend::Server),
                         BackendName);

} // namespace
} // namespace catalogue::testing
