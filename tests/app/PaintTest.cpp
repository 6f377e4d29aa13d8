// The window as it is painted: a few pixels against the layout, so that a broken paint shows.
#include "WindowTesting.h"

#include "app/SongGrid.h"
#include "app/WindowLook.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

namespace apptest {
namespace {

class Paint : public WindowTest {
protected:
    void SetUp() override
    {
        MakeCatalogue(NumberedSongs(20));
        Open();
        image_ = Window().grab().toImage();
    }

    QRgb At(QPoint p) const { return image_.pixel(p); }
    // Where a point of the list's client area lies in the window.
    QPoint InWindow(QPoint client)
    {
        app::SongGrid& grid = *Window().DBMusicas;
        return grid.mapTo(&Window(), client + grid.contentsRect().topLeft());
    }
    QRect CellInWindow(int row)
    {
        app::SongGrid& grid = *Window().DBMusicas;
        const QRect cell = grid.visualRect(grid.model()->index(row, 0));
        return QRect(grid.viewport()->mapTo(&Window(), cell.topLeft()), cell.size());
    }
    // The pixels in the data text's navy among the first 80 columns of a cell, inside its edges.
    int NavyPixels(const QRect& cell) const
    {
        int navy = 0;
        for (int x = cell.left() + 2; x < cell.left() + 80; ++x)
            for (int y = cell.top() + 2; y < cell.bottom(); ++y)
                navy += At({x, y}) == app::DataTextColour().rgb();
        return navy;
    }

    QImage image_;
};

TEST_F(Paint, TheControlsStandWhereTheLayoutPutsThem)
{
    app::TFrmPrincipal& w = Window();
    EXPECT_EQ(w.size(), QSize(740, 400));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.GBLocalizarMusicas->geometry(), QRect(6, 4, 728, 47));
    EXPECT_EQ(w.MEBuscarMusicas->geometry(), QRect(8, 16, 708, 24));
    EXPECT_EQ(w.GBRelacaoMusicas->geometry(), QRect(6, 56, 728, 299));
    EXPECT_EQ(w.DBMusicas->geometry(), QRect(8, 15, 707, 274));
    EXPECT_EQ(w.pnlAguarde->geometry(), QRect(86, 108, 557, 81));
    EXPECT_EQ(w.BTodas->geometry(), QRect(138, 362, 150, 28));
    EXPECT_EQ(w.BSelecionadas->geometry(), QRect(296, 362, 150, 28));
    EXPECT_EQ(w.BFechar->geometry(), QRect(454, 362, 150, 28));
    EXPECT_EQ(w.DBMusicas->columnWidth(0), 670);
    EXPECT_EQ(w.GBLocalizarMusicas->title(), "Localizar Música: ");
    EXPECT_EQ(w.GBRelacaoMusicas->title(), "Relação das Músicas");
    EXPECT_EQ(w.BFechar->text(), "&Fechar");
    EXPECT_FALSE(w.pnlAguarde->isVisible());
}

TEST_F(Paint, BackgroundIsButtonFaceAndDataTextIsNavyOnRaisedCells)
{
    const QPalette& palette = Window().palette();
    EXPECT_EQ(At({2, 380}), palette.color(QPalette::Button).rgb());

    // Row 1 is neither current nor selected: button face, with the raised edges.
    const QRect cell = CellInWindow(1);
    EXPECT_EQ(At(cell.topLeft()), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(At({cell.left(), cell.bottom() - 1}), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(At(cell.bottomRight()), palette.color(QPalette::Dark).rgb());
    EXPECT_EQ(At({cell.right(), cell.top() + 2}), palette.color(QPalette::Dark).rgb());
    EXPECT_EQ(At({cell.right() - 3, cell.center().y()}), palette.color(QPalette::Button).rgb());

    EXPECT_GT(NavyPixels(cell), 10) << "no navy text in the row";

    // Row 0 is current: the highlight colour, still with navy text.
    const QRect current = CellInWindow(0);
    EXPECT_EQ(At({current.right() - 3, current.center().y()}), palette.color(QPalette::Highlight).rgb());
    EXPECT_GT(NavyPixels(current), 10);
}

TEST_F(Paint, TitleAndIndicatorHaveAThreePixelBevel)
{
    const QPalette& palette = Window().palette();
    app::SongGrid& grid = *Window().DBMusicas;
    const QHeaderView& title = *grid.horizontalHeader();
    const QPoint titleTopLeft = title.viewport()->mapTo(&Window(), QPoint(title.sectionViewportPosition(0), 0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(At(titleTopLeft + QPoint(20, i)), palette.color(QPalette::Light).rgb()) << i;
        EXPECT_EQ(At(titleTopLeft + QPoint(20, title.height() - 1 - i)), palette.color(QPalette::Dark).rgb()) << i;
    }
    EXPECT_EQ(At(titleTopLeft + QPoint(20, 3)), palette.color(QPalette::Button).rgb());

    // The indicator cell of row 1 has no mark: bevel and face only.
    const QRect cell = CellInWindow(1);
    const QPoint indicator(InWindow({0, 0}).x(), cell.top());
    EXPECT_EQ(At(indicator + QPoint(1, 5)), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(At(indicator + QPoint(app::SongGrid::kIndicatorWidth - 2, 5)), palette.color(QPalette::Dark).rgb());
}

// The ink of text in a rectangle of the window: the bounding box, in the grabbed image's device
// pixels, of the pixels of one colour.
QSize InkSize(const QImage& image, const QRect& area, QRgb ink)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device(area.topLeft() * ratio, area.size() * ratio);
    QRect box;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            if (image.pixel(x, y) == ink)
                box |= QRect(x, y, 1, 1);
    return box.size();
}

// On a scaled screen (QT_SCALE_FACTOR, as CTest runs this test again at 2) the title's and a
// row's text are as many times their size at 1 as the screen's scale, not the 1x strike spread.
TEST_F(Paint, TextGrowsWithTheScreensScale)
{
    const qreal ratio = image_.devicePixelRatio();
    app::SongGrid& grid = *Window().DBMusicas;
    const QHeaderView& title = *grid.horizontalHeader();
    const QRect titleArea(title.viewport()->mapTo(&Window(), QPoint(title.sectionViewportPosition(0), 3)),
                          QSize(title.sectionSize(0), title.height() - 6));
    const QSize titleInk = InkSize(image_, titleArea, QColor(Qt::black).rgb());
    const QSize rowInk = InkSize(image_, CellInWindow(1).adjusted(2, 2, -2, -2), app::DataTextColour().rgb());
    // At 1: "Música" 39 x 9, "SONG 02" 52 x 9 (the overstruck strike's ink).
    const auto about = [ratio](int size1x, int size) { return std::abs(size - size1x * ratio) <= size1x * ratio * 0.25; };
    EXPECT_TRUE(about(39, titleInk.width()) && about(9, titleInk.height())) << titleInk.width() << "x" << titleInk.height();
    EXPECT_TRUE(about(52, rowInk.width()) && about(9, rowInk.height())) << rowInk.width() << "x" << rowInk.height();
    // Every face's line holds its accented capitals in the strike's 13 pixels: rows keep their
    // height.
    EXPECT_EQ(app::WindowTextLine(app::WindowFont(11, true)).Height(), 13);
    EXPECT_EQ(CellInWindow(1).height(), 16);
}

} // namespace
} // namespace apptest
