#include "app/RowSelection.h"

#include <gtest/gtest.h>

namespace app {
namespace {

using Rows = std::vector<std::size_t>;

TEST(RowSelection, HeldInListOrderWithoutDuplicates)
{
    RowSelection s;
    s.Toggle(5);
    s.Toggle(2);
    s.Toggle(9);
    EXPECT_EQ(s.Rows(), (Rows{2, 5, 9}));
    s.Toggle(5);
    EXPECT_EQ(s.Rows(), (Rows{2, 9}));
    s.SelectOnly(4);
    EXPECT_EQ(s.Rows(), Rows{4});
    EXPECT_EQ(s.At(0), 4u);
}

TEST(RowSelection, ShiftMovesGrowFromTheAnchorAndShrinkBackAcrossIt)
{
    RowSelection s;
    s.SelectOnly(3);
    s.ShiftMove(5, 6); // the anchor is where the Shift moves begin
    EXPECT_EQ(s.Rows(), (Rows{3, 5, 6}));
    s.ShiftMove(6, 7);
    s.ShiftMove(7, 6);
    EXPECT_EQ(s.Rows(), (Rows{3, 5, 6}));
    s.ShiftMove(6, 5);
    s.ShiftMove(5, 4);
    s.ShiftMove(4, 3);
    EXPECT_EQ(s.Rows(), (Rows{3, 4, 5}));
    s.ShiftMove(5, 5); // no move at the list's end
    EXPECT_EQ(s.Rows(), (Rows{3, 4, 5}));
}

TEST(RowSelection, ShiftMovesAfterAClickStartANewAnchor)
{
    RowSelection s;
    s.ShiftMove(2, 3);
    s.Toggle(8);
    s.ShiftMove(8, 7);
    s.ShiftMove(7, 8);
    EXPECT_EQ(s.Rows(), (Rows{2, 3, 8}));
}

} // namespace
} // namespace app
