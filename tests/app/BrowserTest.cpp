// Search, sort and the corner rule, through the controls as a user works them.
#include "WindowTesting.h"

#include "app/SongGrid.h"
#include "app/WindowText.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace apptest {
namespace {

catalogue::builder::CatalogueDescription Songs()
{
    catalogue::builder::CatalogueDescription d;
    const std::vector<std::pair<std::string, std::string>> songs = {
        {"1", "ZUMBI - JORGE"},      {"2", "AQUARELA - TOQUINHO"}, {"3", "CAN\xC7\xC3O - MARIA"},
        {"4", "BALAN\xC7O - ZECA"},  {"5", "O'NEIL - ANA"},         {"6", "M\xDASICA 100%"},
        {"7", "BEBE A_B - JOAO"},
    };
    for (const auto& [code, name] : songs)
        d.Add("Tb_Musicas", {{"MUS_CODIGO", code}, {"MUS_NOMECOMPLETO", name}});
    d.Add("Tb_Musicas", {{"MUS_CODIGO", "8"}, {"MUS_NOME", "no full name"}});
    return d;
}

class Browser : public WindowTest {
protected:
    void SetUp() override
    {
        MakeCatalogue(Songs());
        Open();
        ASSERT_TRUE(boxes_.shown.empty());
    }

    std::string Line(int number)
    {
        const std::string text = StatementText();
        std::size_t start = 0;
        for (int i = 1; i < number; ++i)
            start = text.find("\r\n", start) + 2;
        return text.substr(start, text.find("\r\n", start) - start);
    }
};

TEST_F(Browser, TypingFiltersLetterByLetterAndDeletingListsAllAgain)
{
    Type("a");
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "A");
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%A%'");
    EXPECT_EQ(Line(11), "ORDER BY Mus_Codigo");
    EXPECT_EQ(ShownNames().size(), 7u - 1u); // all but "MÚSICA 100%"

    Type("q");
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%AQ%'");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"AQUARELA - TOQUINHO"}));

    QTest::keyClick(Window().MEBuscarMusicas, Qt::Key_Backspace);
    QTest::keyClick(Window().MEBuscarMusicas, Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%%'");
    EXPECT_EQ(ShownNames().size(), 7u);
    EXPECT_EQ(ShownNames().front(), "ZUMBI - JORGE");
}

TEST_F(Browser, PastedTextIsSearchedInCapitalsWithItsQuotesDoubled)
{
    QApplication::clipboard()->setText("o'n");
    Window().MEBuscarMusicas->setFocus();
    QTest::keyClick(Window().MEBuscarMusicas, Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "O'N");
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%O''N%'");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"O'NEIL - ANA"}));
}

TEST_F(Browser, AccentedLettersAreCapitalsAndReachTheQueryInTheCodePage)
{
    Type(QStringLiteral("canç"));
    EXPECT_EQ(Window().MEBuscarMusicas->text(), QStringLiteral("CANÇ"));
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%CAN\xC7%'");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"CAN\xC7\xC3O - MARIA"}));
    // A character the code page lacks is searched as "?" and finds nothing here.
    Type(QStringLiteral("ł"));
    EXPECT_EQ(Window().MEBuscarMusicas->text(), QStringLiteral("CANÇł"));
    EXPECT_EQ(Line(10), "WHERE UPPER(Mus.Mus_NomeCompleto) LIKE '%CAN\xC7?%'");
    EXPECT_TRUE(ShownNames().empty());
}

TEST_F(Browser, WildcardsTypedActAsThePatternsWildcards)
{
    Type("a_b");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"BEBE A_B - JOAO"}));
    Window().MEBuscarMusicas->clear();
    Type("0%");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"M\xDASICA 100%"}));
}

TEST_F(Browser, TitleClickSortsByFullNameAndTheSortStaysWhileTyping)
{
    ClickListAt(TitleCentre(), Qt::LeftButton);
    EXPECT_EQ(Window().SortField(), "MUS_NOMECOMPLETO");
    EXPECT_EQ(Line(11), "ORDER BY MUS_NOMECOMPLETO");
    EXPECT_EQ(ShownNames().front(), "AQUARELA - TOQUINHO");
    EXPECT_EQ(ShownNames().back(), "ZUMBI - JORGE");

    Type("o");
    EXPECT_EQ(Line(11), "ORDER BY MUS_NOMECOMPLETO");
    EXPECT_EQ(ShownNames().front(), "AQUARELA - TOQUINHO");
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "O");
}

TEST_F(Browser, RightClickOnTheTitleDoesNothing)
{
    ClickListAt(TitleCentre(), Qt::RightButton);
    EXPECT_EQ(Window().SortField(), "Mus_Codigo");
    EXPECT_EQ(ShownNames().front(), "ZUMBI - JORGE");
}

TEST_F(Browser, DraggingTheTitlesBorderResizesTheColumnWithoutSorting)
{
    app::SongGrid& grid = *Window().DBMusicas;
    QWidget* title = grid.horizontalHeader()->viewport();
    const int border = grid.horizontalHeader()->sectionViewportPosition(0) + grid.columnWidth(0) - 1;
    const int y = title->height() / 2;
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(border, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(border - 100, y), title->mapToGlobal(QPointF(border - 100, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(title, &move);
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(border - 100, y));
    Settle();
    EXPECT_EQ(grid.columnWidth(0), 570);
    EXPECT_EQ(Window().SortField(), "Mus_Codigo");
}

TEST_F(Browser, CornerSortsByCodeForAnyButtonInsideNineByFourteen)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        ClickListAt(TitleCentre(), Qt::LeftButton);
        ASSERT_EQ(Window().SortField(), "MUS_NOMECOMPLETO");
        ClickListAt({10, 5}, button);
        ClickListAt({5, 15}, button);
        EXPECT_EQ(Window().SortField(), "MUS_NOMECOMPLETO") << "outside the corner rule";
        ClickRow(2);
        ClickListAt({9, 14}, button);
        EXPECT_EQ(Window().SortField(), "Mus_Codigo");
        EXPECT_EQ(Line(11), "ORDER BY Mus_Codigo");
        EXPECT_EQ(ShownNames().front(), "ZUMBI - JORGE");
        // The corner selects nothing and the run emptied the selection.
        EXPECT_TRUE(Selected().empty());
        EXPECT_EQ(CurrentRow(), 0);
    }
}

} // namespace
} // namespace apptest
