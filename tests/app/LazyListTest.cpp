// The list fetches only the rows it shows.
#include "WindowTesting.h"

#include "app/SongGrid.h"
#include "app/SongTableModel.h"
#include "tools/catalogue/CatalogueBuilder.h"
#include "tools/catalogue/GeneratedCatalogue.h"

#include <QScrollBar>

namespace apptest {
namespace {

class LazyList : public WindowTest {};

TEST_F(LazyList, ShowingTheWindowAndScrollingAPageFetchesAboutWhatIsShown)
{
    const std::string database = (Folder() / "big.fdb").string();
    {
        catalogue::builder::CatalogueBuilder builder(database, catalogue::builder::CatalogueSchema::Standard());
        catalogue::builder::AddGeneratedSongs(builder, 10000);
        builder.Finish();
    }
    WriteIni("[BANCO]\r\ncaminho=" + database + "\r\n");
    Open();
    const catalogue::SongList& songs = Window().Catalogue().Q_Musicas();
    app::SongGrid& grid = *Window().DBMusicas;
    const int perPage = grid.viewport()->height() / grid.RowHeight();
    ASSERT_GT(perPage, 10);
    EXPECT_GE(songs.RowCount(), static_cast<std::size_t>(perPage));
    EXPECT_LE(songs.RowCount(), static_cast<std::size_t>(perPage) + 2 * app::SongTableModel::kFetchBatch);

    KeyInList(Qt::Key_PageDown);
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->value() + perPage);
    Settle();
    EXPECT_GE(songs.RowCount(), static_cast<std::size_t>(2 * perPage));
    EXPECT_LE(songs.RowCount(), static_cast<std::size_t>(3 * perPage) + 2 * app::SongTableModel::kFetchBatch);
    EXPECT_FALSE(songs.AllFetched());
}

} // namespace
} // namespace apptest
