#include "FakeCellGrid.h"

#include "grid/GridLayout.h"

#include <gtest/gtest.h>

namespace grid::test {
namespace {

TEST(GridLayout, ClearGridCellsEmptiesEveryCellFixedOnesIncluded)
{
    FakeCellGrid grid(3, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            grid.setCellText(c, r, u"t");
            grid.setCellObject(c, r, 5);
        }
    ClearGridCells(grid);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(grid.cellText(c, r), u"");
            EXPECT_EQ(grid.cellObject(c, r), 0);
        }
}

TEST(GridLayout, AutoFitColumnsFitsEveryColumnThatHoldsText)
{
    FakeCellGrid grid(4, 3);
    grid.setCellText(0, 1, u"1");
    grid.setCellText(1, 0, u"header");  // fixed cells count too
    grid.setCellText(1, 2, u"ab");
    grid.setCellText(2, 2, u"abcdefghij");
    AutoFitColumns(grid, 10);
    EXPECT_EQ(grid.widths, (std::vector<int>{17, 52, 80, 64})) << "an empty column keeps its width";
}

}  // namespace
}  // namespace grid::test
