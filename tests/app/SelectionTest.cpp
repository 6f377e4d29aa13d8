// The list's selection rules, worked with the mouse and the keyboard.
#include "WindowTesting.h"

#include "app/SongGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace apptest {
namespace {

using Rows = std::vector<std::size_t>;

class Selection : public WindowTest {
protected:
    void SetUp() override
    {
        MakeCatalogue(NumberedSongs(30));
        Open();
    }
};

TEST_F(Selection, ClickSelectsTheRowAloneAndMakesItCurrent)
{
    ClickRow(3);
    EXPECT_EQ(Selected(), Rows{3});
    ClickRow(6);
    EXPECT_EQ(Selected(), Rows{6});
    EXPECT_EQ(CurrentRow(), 6);
    EXPECT_EQ(Window().Catalogue().Q_Musicas().CurrentRowId(), 6u);
}

TEST_F(Selection, CtrlClicksAreHeldInListOrderAndToggle)
{
    ClickRow(5, Qt::ControlModifier);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(9, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Rows{2, 5, 9}));
    EXPECT_EQ(CurrentRow(), 9);
    ClickRow(5, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Rows{2, 9}));
    EXPECT_EQ(CurrentRow(), 5);
}

TEST_F(Selection, ShiftDownExtendsFromTheAnchorAndShiftUpShrinksBack)
{
    ClickRow(4);
    KeyInList(Qt::Key_Down, Qt::ShiftModifier);
    KeyInList(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{4, 5, 6}));
    KeyInList(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{4, 5}));
    KeyInList(Qt::Key_Up, Qt::ShiftModifier);
    KeyInList(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{3, 4}));
    EXPECT_EQ(CurrentRow(), 3);
}

TEST_F(Selection, EveryOtherKeyboardMoveAndEscClearIt)
{
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageDown, Qt::Key_PageUp,
                        Qt::Key_Home, Qt::Key_End, Qt::Key_Escape}) {
        for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
            ClickRow(CurrentRow() < 3 ? 4 : CurrentRow() > 20 ? 20 : CurrentRow());
            ClickRow(CurrentRow() + 1, Qt::ControlModifier);
            ASSERT_EQ(Selected().size(), 2u);
            KeyInList(key, modifiers);
            EXPECT_TRUE(Selected().empty()) << "key " << key << " modifiers " << modifiers;
        }
    }
}

TEST_F(Selection, KeyboardMovesTheCurrentRowThroughTheWholeResult)
{
    ClickRow(1);
    KeyInList(Qt::Key_Right);
    EXPECT_EQ(CurrentRow(), 2);
    KeyInList(Qt::Key_Left);
    KeyInList(Qt::Key_Left);
    KeyInList(Qt::Key_Left);
    EXPECT_EQ(CurrentRow(), 0);
    KeyInList(Qt::Key_End);
    EXPECT_EQ(CurrentRow(), 29);
    EXPECT_EQ(Window().Catalogue().Q_Musicas().CurrentRowId(), 29u);
    KeyInList(Qt::Key_Down);
    EXPECT_EQ(CurrentRow(), 29);
    KeyInList(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(Selection, EveryQueryRunEmptiesItAndTheCurrentRowIsNotSelectedByItself)
{
    EXPECT_EQ(CurrentRow(), 0);
    EXPECT_TRUE(Selected().empty());
    ClickRow(2);
    ClickRow(7, Qt::ControlModifier);
    Type("1");
    EXPECT_TRUE(Selected().empty());
    // The focus is in the search box; the current row is highlighted, not selected.
    EXPECT_TRUE(Window().MEBuscarMusicas->hasFocus());
    EXPECT_TRUE(Window().DBMusicas->IsHighlighted(0));
    EXPECT_FALSE(Window().DBMusicas->SelectedRows().IsSelected(0));
}

TEST_F(Selection, AClickOnTheIndicatorCellIsAClickOnItsRow)
{
    app::SongGrid& grid = *Window().DBMusicas;
    const QRect cell = grid.visualRect(grid.model()->index(3, 0));
    QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      QPoint(5, cell.center().y()));
    Settle();
    EXPECT_EQ(Selected(), Rows{3});
    EXPECT_EQ(CurrentRow(), 3);
}

} // namespace
} // namespace apptest
